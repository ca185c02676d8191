#include <gtest/gtest.h>

#include <fstream>

#include "race/races.h"
#include "testfolder.h"

namespace plumet {
namespace {

std::string Golden(const std::string& name) {
    std::ifstream in(std::string(PLUMET_TEST_DATA) + "/race/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Race Spring() {
    Race race;
    race.name = PadRight("Spring 1", 30);
    race.day = 15;
    race.month = 5;
    race.year = 2024;
    race.clubName = PadRight("Brieftaubenverein Nord", 30);
    race.releasePointName = PadRight("SPA          Spa, Belgien", 43);
    race.releaseHour = 7;
    race.releaseMinute = 30;
    race.closedFromHour = 20;
    race.closedToHour = 6;
    race.headerComment = PadRight("Season opener", 60);
    race.footerComment = std::string(60, ' ');
    race.clubNumber = 7;
    race.releasePointNumber = 5;
    race.releaseLatitude = "N50293000";
    race.releaseLongitude = "E005520000";
    race.meanDistance = "0250";
    race.flightWeek = 20;
    return race;
}

TEST(Races, LineCodecKeepsEveryColumn) {
    const std::string golden = Golden("races.dat");
    const Race spring = Spring();
    const std::string line = RaceToLine(spring);
    ASSERT_EQ(line.size(), kRaceLineLength);
    EXPECT_EQ(line, golden.substr(5, 289));
    EXPECT_EQ(LineToRace(line), spring);

    const auto second = LineToRace(golden.substr(5 + 291, 289));
    ASSERT_TRUE(second);
    EXPECT_EQ(TrimmedRaceName(*second), "Long_Distance 2");
    EXPECT_EQ(second->distanceUnit, kRaceInMiles);
    EXPECT_TRUE(second->overNight);
    EXPECT_EQ(second->closedFromHour, 21);
    EXPECT_EQ(second->closedFromMinute, 30);
    EXPECT_EQ(second->closedToHour, 5);
    EXPECT_EQ(second->closedToMinute, 45);
    EXPECT_EQ(second->pigeonsEntered, 123);
    EXPECT_EQ(second->pigeonsClassified, 98);
    EXPECT_EQ(second->fanciersEntered, 12);
    EXPECT_EQ(second->nights, 1);
    EXPECT_EQ(second->flightWeek, 27);
    EXPECT_EQ(second->releasePointNumber, 98);
    EXPECT_EQ(RaceToLine(*second), golden.substr(5 + 291, 289));
}

TEST(Races, LineCodecFitsEveryFieldToItsColumns) {
    Race race = Spring();
    race.name = "Short";                 // not padded in memory
    race.meanDistance = "25";
    race.pigeonsEntered = 20000;         // more than four digits hold
    race.nights = 12;
    race.releaseLatitude = "";
    const std::string line = RaceToLine(race);
    ASSERT_EQ(line.size(), kRaceLineLength);
    const auto back = LineToRace(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name, PadRight("Short", 30));
    EXPECT_EQ(back->meanDistance, "0025");
    EXPECT_EQ(back->pigeonsEntered, 9999);
    EXPECT_EQ(back->nights, 9);
    EXPECT_EQ(back->releaseLatitude, std::string(9, ' '));
    EXPECT_EQ(back->releaseLongitude, "E005520000");

    // overNight is true for any value but 0; numbers may carry leading blanks.
    std::string odd = RaceToLine(Spring());
    odd.replace(117, 2, "07");
    odd.replace(287, 2, " 3");
    EXPECT_TRUE(LineToRace(odd)->overNight);
    EXPECT_EQ(LineToRace(odd)->flightWeek, 3);
    EXPECT_FALSE(LineToRace(odd.substr(0, 288)));
    odd.replace(30, 2, "x1");
    EXPECT_FALSE(LineToRace(odd));
}

TEST(Races, RaceFileReadsAndWritesBackByteForByte) {
    TestFolder folder;
    EXPECT_EQ(LoadRaces(folder.path()).Count(), 0U);
    EXPECT_EQ(LoadRaces(folder.path()).outcome, LoadOutcome::Missing);

    folder.Write("racecalc/races.dat", Golden("races.dat"));
    RaceList list = LoadRaces(folder.path());
    ASSERT_EQ(list.Count(), 2U);
    EXPECT_EQ(list.races[0], Spring());
    ASSERT_TRUE(SaveRaces(list, folder.path()));
    EXPECT_EQ(folder.Read("racecalc/races.dat"), Golden("races.dat"));

    // The racecalc folder is made when it is missing; the count line is " 0 " for no races.
    TestFolder fresh;
    ASSERT_TRUE(SaveRaces(RaceList{}, fresh.path()));
    EXPECT_EQ(fresh.Read("racecalc/races.dat"), " 0 \r\n");
}

TEST(Races, ABrokenRaceFileKeepsWhatWasReadAndIsNotSavedOver) {
    TestFolder folder;
    const std::string golden = Golden("races.dat");
    const std::string broken = " 3 " + golden.substr(3); // claims a third race
    folder.Write("racecalc/races.dat", broken);
    RaceList list = LoadRaces(folder.path());
    EXPECT_EQ(list.Count(), 2U);
    EXPECT_EQ(list.outcome, LoadOutcome::Unreadable);
    Race added = Spring();
    added.name = "Autumn";
    const ActionResult stored = StoreRace(list, folder.path(), added, std::nullopt);
    EXPECT_EQ(stored.message, 0);
    EXPECT_FALSE(stored.saved.ok);
    EXPECT_EQ(list.Count(), 2U);
    EXPECT_EQ(folder.Read("racecalc/races.dat"), broken);
}

TEST(Races, DefaultRaceHoldsOneRace) {
    TestFolder folder;
    EXPECT_FALSE(LoadDefaultRace(folder.path()));
    folder.Write("racecalc/RaceCalcDef.dat", Golden("RaceCalcDef.dat"));
    const auto loaded = LoadDefaultRace(folder.path());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(TrimmedRaceName(*loaded), "Long_Distance 2");

    TestFolder other;
    ASSERT_TRUE(SaveDefaultRace(other.path(), *loaded));
    EXPECT_EQ(other.Read("racecalc/RaceCalcDef.dat"), Golden("RaceCalcDef.dat"));
    EXPECT_FALSE(other.Exists("racecalc/races.dat"));
}

TEST(Races, StoreRefusesUsedAndEmptyNamesAndAltersInPlace) {
    TestFolder folder;
    folder.Write("racecalc/races.dat", Golden("races.dat"));
    RaceList list = LoadRaces(folder.path());

    Race again = Spring();
    again.name = "Spring 1  ";
    ActionResult result = StoreRace(list, folder.path(), again, std::nullopt);
    EXPECT_EQ(result.message, kRaceNameUsed);
    EXPECT_EQ(result.focusField, "Text1");
    again.name = std::string(30, ' ');
    EXPECT_EQ(StoreRace(list, folder.path(), again, std::nullopt).message, kRaceNameMissing);
    EXPECT_EQ(folder.Read("racecalc/races.dat"), Golden("races.dat"));

    // Altering a race under its own name is no duplicate; its counters stay.
    Race altered = list.races[1];
    altered.releaseHour = 8;
    altered.pigeonsEntered = 0;
    result = StoreRace(list, folder.path(), altered, 2);
    ASSERT_TRUE(result.Done());
    EXPECT_EQ(list.races[1].releaseHour, 8);
    EXPECT_EQ(list.races[1].pigeonsEntered, 123);
    // Renaming it to the other race's name is one.
    altered.name = PadRight("Spring 1", 30);
    EXPECT_EQ(StoreRace(list, folder.path(), altered, 2).message, kRaceNameUsed);

    Race added = Spring();
    added.name = PadRight("Autumn", 30);
    ASSERT_TRUE(StoreRace(list, folder.path(), added, std::nullopt).Done());
    const RaceList reloaded = LoadRaces(folder.path());
    ASSERT_EQ(reloaded.Count(), 3U);
    EXPECT_EQ(TrimmedRaceName(reloaded.races[2]), "Autumn");
    EXPECT_EQ(reloaded.races[1].releaseHour, 8);
}

TEST(Races, AFullListTakesNoFiftyFirstRace) {
    TestFolder folder;
    RaceList list;
    for (int i = 1; i <= 50; ++i) {
        Race race = Spring();
        race.name = PadRight("Race " + std::to_string(i), 30);
        list.races.push_back(race);
    }
    ASSERT_TRUE(SaveRaces(list, folder.path()));
    Race extra = Spring();
    extra.name = PadRight("Race 51", 30);
    const ActionResult result = StoreRace(list, folder.path(), extra, std::nullopt);
    EXPECT_EQ(result.message, 0);
    EXPECT_FALSE(result.saved.ok);
    EXPECT_EQ(LoadRaces(folder.path()).Count(), 50U);
}

TEST(Races, DeleteRemovesTheRaceItsResultAndItsManualFiles) {
    TestFolder folder;
    folder.Write("racecalc/races.dat", Golden("races.dat"));
    folder.Write("racecalc/Spring 1.flt", " 0 \r\n");
    folder.Write("racecalc/Spring 1_wf012.man", "x");
    folder.Write("racecalc/spring 1_WF003.MAN", "x");
    folder.Write("racecalc/Spring 12_wf012.man", "x"); // another race's file
    folder.Write("racecalc/Long_Distance 2.flt", " 0 \r\n");
    RaceList list = LoadRaces(folder.path());
    ASSERT_TRUE(DeleteRace(list, folder.path(), 1));
    ASSERT_EQ(list.Count(), 1U);
    EXPECT_EQ(TrimmedRaceName(list.races[0]), "Long_Distance 2");
    EXPECT_FALSE(folder.Exists("racecalc/Spring 1.flt"));
    EXPECT_FALSE(folder.Exists("racecalc/Spring 1_wf012.man"));
    EXPECT_FALSE(folder.Exists("racecalc/spring 1_WF003.MAN"));
    EXPECT_TRUE(folder.Exists("racecalc/Spring 12_wf012.man"));
    EXPECT_TRUE(folder.Exists("racecalc/Long_Distance 2.flt"));
    EXPECT_EQ(LoadRaces(folder.path()).Count(), 1U);

    // Deleting the last race leaves the count 0.
    ASSERT_TRUE(DeleteRace(list, folder.path(), 1));
    EXPECT_EQ(folder.Read("racecalc/races.dat"), " 0 \r\n");
    EXPECT_FALSE(DeleteRace(list, folder.path(), 1).ok);
}

TEST(Races, NothingIsDeletedWhenTheRaceFileCannotBeWritten) {
    TestFolder folder;
    folder.Write("racecalc/races.dat", Golden("races.dat"));
    folder.Write("racecalc/Spring 1.flt", " 0 \r\n");
    RaceList list = LoadRaces(folder.path());
    SetSaveFaultForTests([](const Path&) { return true; });
    const SaveResult saved = DeleteRace(list, folder.path(), 1);
    SetSaveFaultForTests(nullptr);
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(list.Count(), 2U);
    EXPECT_TRUE(folder.Exists("racecalc/Spring 1.flt"));
}

} // namespace
} // namespace plumet
