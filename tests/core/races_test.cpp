#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <tuple>

#include "core/race/raceentry.h"
#include "testfolder.h"

namespace plumet {
namespace {

const std::string kGolden = TestData("race/races.dat");

const Race kSpring = LineToRace(kGolden.substr(5, 289)).value_or(Race{});

// The golden file test writes every column back; here that each is read from its own place.
TEST(Races, LineCodecKeepsEveryColumnAndFitsWhatIsTooLong) {
    EXPECT_EQ(kSpring.name + kSpring.releaseLatitude + kSpring.releaseLongitude + kSpring.meanDistance,
              PadRight("Spring 1", 30) + "N50293000E005520000" + "0250");
    EXPECT_EQ(RaceDateText(kSpring), "15.05.2024");
    EXPECT_EQ(std::tuple(kSpring.releaseHour, kSpring.releaseMinute, kSpring.clubNumber, kSpring.releasePointNumber,
                         kSpring.flightWeek),
              std::tuple(7, 30, 7, 5, 20));
    const auto second = LineToRace(kGolden.substr(5 + 291, 289));
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->distanceUnit == kRaceInMiles && second->overNight);
    EXPECT_EQ(std::tuple(second->closedFromMinute, second->pigeonsEntered, second->flightWeek),
              std::tuple(30, 123, 27));

    Race race = kSpring;
    race.name = "Short";
    race.meanDistance = "25";
    race.pigeonsEntered = 20000; // more than four digits hold
    race.releaseLatitude = "";
    const auto back = LineToRace(RaceToLine(race));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name, PadRight("Short", 30));
    EXPECT_EQ(back->meanDistance, "0025");
    EXPECT_EQ(back->pigeonsEntered, 9999);
    EXPECT_EQ(back->releaseLatitude + back->releaseLongitude, std::string(9, ' ') + "E005520000");

    std::string odd = RaceToLine(kSpring);
    odd.replace(117, 2, "07"); // overNight is any value but 0
    odd.replace(287, 2, " 3"); // numbers may carry leading blanks
    EXPECT_TRUE(LineToRace(odd)->overNight);
    EXPECT_EQ(LineToRace(odd)->flightWeek, 3);
    EXPECT_FALSE(LineToRace(odd.substr(0, 288)));
    EXPECT_FALSE(LineToRace(odd.replace(30, 2, "x1")));
    EXPECT_FALSE(LineToRace(odd.replace(30, 2, "-5"))); // would be written back as day 00
}

TEST(Races, RaceAndDefaultFilesReadAndWriteBackByteForByte) {
    TestFolder folder;
    EXPECT_EQ(LoadRaces(folder.path()).outcome, LoadOutcome::Missing);
    ASSERT_TRUE(SaveRaces(RaceList{}, folder.path())); // the racecalc folder is made
    EXPECT_EQ(folder.Read("racecalc/races.dat"), " 0 \r\n");
    folder.Write("racecalc/races.dat", kGolden);
    RaceList list = LoadRaces(folder.path());
    ASSERT_EQ(list.Count(), 2U);
    EXPECT_EQ(list.races[0], kSpring);
    ASSERT_TRUE(SaveRaces(list, folder.path()));
    EXPECT_EQ(folder.Read("racecalc/races.dat"), kGolden);

    const std::string golden = TestData("race/RaceCalcDef.dat");
    TestFolder other;
    EXPECT_FALSE(LoadDefaultRace(other.path()));
    ASSERT_TRUE(SaveDefaultRace(other.path(), list.races[1]));
    EXPECT_EQ(other.Read("racecalc/RaceCalcDef.dat"), golden);
    EXPECT_EQ(LoadDefaultRace(other.path()), list.races[1]);
}

TEST(Races, StoreRefusesUsedEmptyAndFiftyFirstNamesAltersInPlaceAndNeverSavesOverABrokenFile) {
    TestFolder folder;
    folder.Write("racecalc/races.dat", kGolden);
    RaceList list = LoadRaces(folder.path());
    Race race = kSpring;
    race.name = "Spring 1  ";
    const ActionResult used = StoreRace(list, folder.path(), race, std::nullopt);
    EXPECT_EQ(used.message, kRaceNameUsed);
    EXPECT_EQ(used.focusField, "Text1");
    race.name = std::string(30, ' ');
    EXPECT_EQ(StoreRace(list, folder.path(), race, std::nullopt).message, kRaceNameMissing);
    EXPECT_EQ(StoreRace(list, folder.path(), list.races[0], 2).message, kRaceNameUsed); // renamed to the other's

    Race altered = list.races[1]; // under its own name no duplicate; its counters stay
    altered.releaseHour = 8;
    altered.pigeonsEntered = 0;
    ASSERT_TRUE(StoreRace(list, folder.path(), altered, 2).Done());
    const RaceList reloaded = LoadRaces(folder.path());
    EXPECT_EQ(reloaded.races.at(1).releaseHour, 8);
    EXPECT_EQ(reloaded.races.at(1).pigeonsEntered, 123);

    while (!list.Full()) list.races.push_back(list.races[0]);
    race.name = "Race 51";
    EXPECT_FALSE(StoreRace(list, folder.path(), race, std::nullopt).saved.ok);
    const std::string broken = " 3 " + kGolden.substr(3); // claims a third race
    folder.Write("racecalc/races.dat", broken);
    list = LoadRaces(folder.path());
    EXPECT_EQ(list.outcome, LoadOutcome::Unreadable);
    EXPECT_FALSE(StoreRace(list, folder.path(), race, std::nullopt).saved.ok);
    EXPECT_EQ(list.Count(), 2U);
    EXPECT_EQ(folder.Read("racecalc/races.dat"), broken);
}

TEST(Races, ClosedPeriodsRunOverMidnight) {
    const struct { int nights, from, to; bool acceptable; } cases[] = {
        {1, 2000, 600, true}, {2, 30, 0, true}, {1, 600, 2000, false}, {1, 2000, 2000, false}, {0, 600, 2000, true},
    };
    for (const auto& c : cases) {
        Race race = kSpring;
        race.nights = c.nights;
        race.closedFromHour = c.from / 100, race.closedFromMinute = c.from % 100;
        race.closedToHour = c.to / 100, race.closedToMinute = c.to % 100;
        EXPECT_EQ(ClosedPeriodAcceptable(race), c.acceptable) << c.from << "-" << c.to;
    }
}

TEST(Races, NamesAreOneWhateverTheirCaseAndARenameTakesTheRaceFilesAlong) {
    TestFolder folder;
    folder.Write("racecalc/races.dat", kGolden);
    for (const char* file : {"Spring 1.flt", "Spring 1_wf012.man", "spring 1_WF003.MAN", "Autumn_wf007.man"})
        folder.Write(std::string("racecalc/") + file, file);
    const auto files = [&] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "racecalc"))
            names.insert(entry.path().filename().string() + "=" + folder.Read("racecalc/" + entry.path().filename().string()));
        return names;
    };
    const std::set<std::string> before = files();
    RaceList list = LoadRaces(folder.path());
    Race race = list.races[0];
    race.name = "SPRING 1";
    EXPECT_EQ(StoreRace(list, folder.path(), race, std::nullopt).message, kRaceNameUsed);
    EXPECT_EQ(StoreRace(list, folder.path(), race, 2).message, kRaceNameUsed);
    race.name = "autumn"; // its files would join the race
    EXPECT_EQ(StoreRace(list, folder.path(), race, 1).message, kRaceNameInFiles);
    race.name = "Summer";
    EXPECT_FALSE(WithFailingSaves([&] { return StoreRace(list, folder.path(), race, 1); }, SavesOf("races.dat")).saved);
    EXPECT_EQ(files(), before);

    ASSERT_TRUE(StoreRace(list, folder.path(), race, 1).Done());
    race.name = "SUMMER"; // letter case only: the files are spelled anew
    ASSERT_TRUE(StoreRace(list, folder.path(), race, 1).Done());
    const std::set<std::string> renamed = {"Autumn_wf007.man=Autumn_wf007.man", "SUMMER.flt=Spring 1.flt",
                                           "SUMMER_WF003.MAN=spring 1_WF003.MAN", "SUMMER_wf012.man=Spring 1_wf012.man",
                                           "races.dat=" + folder.Read("racecalc/races.dat")};
    // A file system that ignores case may keep the old spelling when a file is replaced (Wine does).
    const auto lowered = [](const std::set<std::string>& names) {
        std::set<std::string> lower;
        for (std::string name : names) {
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            lower.insert(std::move(name));
        }
        return lower;
    };
    EXPECT_EQ(lowered(files()), lowered(renamed));
    if (!folder.IgnoresLetterCase()) {
        EXPECT_EQ(files(), renamed);
    }
    EXPECT_EQ(TrimmedRaceName(LoadRaces(folder.path()).races[0]), "SUMMER");
}

TEST(Races, DeleteRemovesTheRaceItsResultAndManualFilesOnlyOnceTheListIsWritten) {
    TestFolder folder;
    folder.Write("racecalc/races.dat", kGolden);
    for (const char* file : {"Spring 1.flt", "Spring 1_wf012.man", "spring 1_WF003.MAN", "Spring 12_wf012.man"})
        folder.Write(std::string("racecalc/") + file, "x");
    RaceList list = LoadRaces(folder.path());
    EXPECT_FALSE(WithFailingSaves([&] { return DeleteRace(list, folder.path(), 1); }).ok);
    EXPECT_EQ(list.Count(), 2U);
    EXPECT_TRUE(folder.Exists("racecalc/Spring 1.flt"));

    ASSERT_TRUE(DeleteRace(list, folder.path(), 1));
    EXPECT_EQ(TrimmedRaceName(list.races.at(0)), "Long_Distance 2");
    EXPECT_FALSE(folder.Exists("racecalc/Spring 1.flt") || folder.Exists("racecalc/Spring 1_wf012.man") ||
                 folder.Exists("racecalc/spring 1_WF003.MAN"));
    EXPECT_TRUE(folder.Exists("racecalc/Spring 12_wf012.man")); // another race's file
    ASSERT_TRUE(DeleteRace(list, folder.path(), 1));
    EXPECT_EQ(folder.Read("racecalc/races.dat"), " 0 \r\n");
    EXPECT_FALSE(DeleteRace(list, folder.path(), 1).ok);
}

} // namespace
} // namespace plumet
