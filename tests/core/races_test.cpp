#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <tuple>

#include "core/app/fieldrules.h"
#include "core/race/distances.h"
#include "core/race/geodesic.h"
#include "core/race/manualtimes.h"
#include "core/race/raceentry.h"
#include "core/race/racefields.h"
#include "core/race/racelists.h"
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
    EXPECT_EQ(RaceToLine(race) + "\r\n", TestData("race/fitted.dat"));

    std::string odd = RaceToLine(kSpring);
    odd.replace(117, 2, "07"); // overNight is any value but 0
    odd.replace(287, 2, " 3"); // numbers may carry leading blanks
    EXPECT_EQ(std::pair(LineToRace(odd)->overNight, LineToRace(odd)->flightWeek), std::pair(true, 3));
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

// The golden race list in a program folder, loaded.
struct RaceFile : ::testing::Test {
    TestFolder folder;
    RaceList list = (folder.Write("racecalc/races.dat", kGolden), LoadRaces(folder.path()));
};

TEST_F(RaceFile, StoreRefusesUsedEmptyAndFiftyFirstNamesAltersInPlaceAndNeverSavesOverABrokenFile) {
    Race race = kSpring;
    race.name = "Spring 1  ";
    const ActionResult used = StoreRace(list, folder.path(), race, std::nullopt);
    EXPECT_EQ(std::pair(used.message, used.focusField), std::pair(kRaceNameUsed, std::string("Text1")));
    race.name = std::string(30, ' ');
    EXPECT_EQ(StoreRace(list, folder.path(), race, std::nullopt).message, kRaceNameMissing);
    EXPECT_EQ(StoreRace(list, folder.path(), list.races[0], 2).message, kRaceNameUsed); // renamed to the other's

    Race altered = list.races[1]; // under its own name no duplicate; its counters stay
    altered.releaseHour = 8;
    altered.pigeonsEntered = 0;
    ASSERT_TRUE(StoreRace(list, folder.path(), altered, 2).Done());
    const RaceList reloaded = LoadRaces(folder.path());
    EXPECT_EQ(std::pair(reloaded.races.at(1).releaseHour, reloaded.races.at(1).pigeonsEntered), std::pair(8, 123));

    while (!list.Full()) list.races.push_back(list.races[0]);
    ASSERT_TRUE(SaveRaces(list, folder.path()));
    race.name = "Race 1000";
    EXPECT_FALSE(StoreRace(list, folder.path(), race, std::nullopt).saved.ok);
    const std::string broken = " 3 " + kGolden.substr(3); // claims a third race
    folder.Write("racecalc/races.dat", broken);
    list = LoadRaces(folder.path());
    EXPECT_EQ(list.outcome, LoadOutcome::Unreadable);
    EXPECT_FALSE(StoreRace(list, folder.path(), race, std::nullopt).saved.ok);
    EXPECT_EQ(list.Count(), 2U);
    EXPECT_EQ(folder.Read("racecalc/races.dat"), broken);
}

// Each row: closed nights | closed from | closed to (hhmm) | whether the race may be stored so.
TEST(Races, ClosedPeriodsRunOverMidnight) {
    for (const auto& c : TableCells("race/closedperiods.txt")) {
        Race race = kSpring;
        race.nights = std::stoi(c[0]);
        race.closedFromHour = std::stoi(c[1]) / 100, race.closedFromMinute = std::stoi(c[1]) % 100;
        race.closedToHour = std::stoi(c[2]) / 100, race.closedToMinute = std::stoi(c[2]) % 100;
        EXPECT_EQ(ClosedPeriodAcceptable(race), c[3] == "acceptable") << c[1] << "-" << c[2];
    }
}

TEST_F(RaceFile, NamesAreOneWhateverTheirCaseAndARenameTakesTheRaceFilesAlong) {
    for (const char* file : {"Spring 1.flt", "Spring 1_wf012.man", "spring 1_WF003.MAN", "Autumn_wf007.man"})
        folder.Write(std::string("racecalc/") + file, file);
    const auto files = [&] { // each file with what it holds, in order
        std::string all;
        for (const auto& [name, bytes] : folder.Files()) all += name.substr(std::string("racecalc/").size()) + "=" + bytes + "\n";
        return all;
    };
    const std::string before = files();
    Race race = list.races[0];
    race.name = "SPRING 1";
    EXPECT_EQ(StoreRace(list, folder.path(), race, std::nullopt).message, kRaceNameUsed);
    EXPECT_EQ(StoreRace(list, folder.path(), race, 2).message, kRaceNameUsed);
    race.name = "autumn"; // its files would join the race, renamed or new
    EXPECT_NE(StoreRace(list, folder.path(), race, 1).saved.error.find("Autumn_wf007.man"), std::string::npos);
    EXPECT_NE(StoreRace(list, folder.path(), race, std::nullopt).saved.error.find("Autumn_wf007.man"), std::string::npos);
    race.name = "Summer";
    EXPECT_FALSE(WithFailingSaves([&] { return StoreRace(list, folder.path(), race, 1); }, SavesOf("races.dat")).saved);
    EXPECT_EQ(files(), before);

    ASSERT_TRUE(StoreRace(list, folder.path(), race, 1).Done());
    race.name = "SUMMER"; // letter case only: the files are spelled anew
    ASSERT_TRUE(StoreRace(list, folder.path(), race, 1).Done());
    // A file system that ignores case may keep the old spelling when a file is replaced (Wine does).
    const auto lower = [](std::string text) {
        std::ranges::transform(text, text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    };
    EXPECT_EQ(lower(files()), lower(TestData("race/renamed.txt")));
    if (!folder.IgnoresLetterCase()) {
        EXPECT_EQ(files(), TestData("race/renamed.txt"));
    }
    EXPECT_EQ(TrimmedRaceName(LoadRaces(folder.path()).races[0]), "SUMMER");
}

TEST_F(RaceFile, DeleteRemovesTheRaceItsResultAndManualFilesOnlyOnceTheListIsWritten) {
    for (const char* file : {"Spring 1.flt", "Spring 1_wf012.man", "spring 1_WF003.MAN", "Spring 12_wf012.man"})
        folder.Write(std::string("racecalc/") + file, "x");
    const auto files = folder.Files();
    EXPECT_FALSE(WithFailingSaves([&] { return DeleteRace(list, folder.path(), 1); }).ok);
    { // a file that cannot be removed keeps every file of the race, and says why
        const SaveFault fault(SavesOf("spring 1_WF003.MAN"), SaveStage::Replace, FileReason::NoPermission);
        EXPECT_NE(DeleteRace(list, folder.path(), 1).error.find("spring 1_WF003.MAN"), std::string::npos);
    }
    EXPECT_EQ(list.Count(), 2U);
    EXPECT_EQ(folder.Files(), files);

    ASSERT_TRUE(DeleteRace(list, folder.path(), 1));
    EXPECT_EQ(TrimmedRaceName(list.races.at(0)), "Long_Distance 2");
    EXPECT_FALSE(folder.Exists("racecalc/Spring 1.flt") || folder.Exists("racecalc/Spring 1_wf012.man") ||
                 folder.Exists("racecalc/spring 1_WF003.MAN"));
    EXPECT_TRUE(folder.Exists("racecalc/Spring 12_wf012.man")); // another race's file
    ASSERT_TRUE(DeleteRace(list, folder.path(), 1));
    EXPECT_EQ(folder.Read("racecalc/races.dat"), " 0 \r\n");
    EXPECT_FALSE(DeleteRace(list, folder.path(), 1).ok);
}


TEST(RaceEntry, ANewRaceTakesTheDefaultsButTodaysDateAndWeek) {
    const Race plain = NewRaceValues(std::nullopt, MakeDateTime(2024, 5, 15, 9, 30));
    EXPECT_EQ(RaceDateText(plain), "15.05.2024");
    EXPECT_EQ(plain.flightWeek, 20);

    // Not carried over: the date, the week, the numbers, the coordinates and the counters.
    const std::vector<std::string> races = SplitLines(TestData("race/newrace.dat")); // the defaults, then the new race
    EXPECT_EQ(RaceToLine(NewRaceValues(LineToRace(races[0]), MakeDateTime(2024, 12, 31))), races[1]);
}

TEST(RaceEntry, TheEditorBoxesGiveBackTheRaceWithTheReleasePointCoordinatesOfItsSlot) {
    RacePointTable points; // slots 1 to 5 only
    ASSERT_TRUE(PutRacePoint(points, "05SPA          Spa, Belgien                  N50293000E005520000"));
    Race race = LineToRace(TestData("race/editor.dat")).value(); // made on 15 May 2024, release point 5
    RaceEditorFields fields = RaceEditorFieldsOf(race);
    EXPECT_EQ(fields.closedToHour, "06");
    EXPECT_EQ(CollectRace(fields, points), race);

    fields.name = "Spring 1";
    fields.headerComment = "";
    fields.meanDistance = "25";
    fields.nights = "2";
    fields.racePoint.number = 99; // no such slot: no coordinates
    EXPECT_EQ(RaceToLine(CollectRace(fields, points)) + "\r\n", TestData("race/collected.dat")); // padded, over night
}


TEST(RaceFields, TheNameTakesOnlyWhatAFileNameCanHoldAndTheBoxesHaveTheirRanges) {
    EXPECT_EQ(FilteredText(U"Sp\u00E4t_1 /.\\:*?\"<>|\b", RaceNameKey), "Spt_1 ");
    EXPECT_EQ(ZeroFilledOnLeave(" 7", 2), "07");
    const struct { bool (*check)(std::string_view); const char *lastGood, *firstBad; } ranges[] = {{IsHourText, "23", "24"}, {IsMinuteText, "59", "60"},
                  {[](std::string_view text) { return IsRaceWeekText(text, 2026, 6); }, "53", "54"},
                  {[](std::string_view text) { return IsRaceWeekText(text, 2000, 6); }, "54", "55"},
                  {[](std::string_view text) { return IsRaceWeekText(text, 2029, 1); }, "54", "55"},
                  {IsDayText, "31", "32"},  {IsMonthText, "12", "13"}};
    for (const auto& range : ranges) {
        EXPECT_TRUE(range.check(range.lastGood)) << range.lastGood;
        EXPECT_FALSE(range.check(range.firstBad) || range.check("")) << range.firstBad;
    }
    EXPECT_TRUE(IsDayText("00")); // a day not entered
    EXPECT_FALSE(IsRaceWeekText("00", 2026, 6));
}


TEST(RaceLists, ItemsCarryTextAndNumberAndPointsWithoutANameAreLeftOut) {
    ClubTable clubs;
    InsertClub(clubs, "002" + PadRight("Nord", 60));
    InsertClub(clubs, "010" + PadRight("Sued", 30) + PadRight("x", 30));
    const auto clubItems = ClubItems(clubs);
    ASSERT_EQ(clubItems.size(), 2U);
    EXPECT_EQ(clubItems[1], (ListItem{PadRight("Sued", 30), 10}));
    RacePointTable points;
    PutRacePoint(points, "07SPA          " + PadRight("Spa", 30) + "N50293000E005520000");
    PutRacePoint(points, "09" + std::string(43, ' ') + "N50293000E005520000");
    EXPECT_EQ(RacePointItems(points), (std::vector<ListItem>{{"SPA          " + PadRight("Spa", 30), 7}}));
    // Choosing by text: the item itself, or the first one when the text is gone.
    EXPECT_EQ(IndexOfItemText(clubItems, PadRight("Sued", 30)), 1U);
    EXPECT_EQ(IndexOfItemText(clubItems, "Sued"), 0U);
}



struct ManualFolder : TestFolder {
    ManualFolder() { Write("pigeon/p007012.dat", TestData("race/p007012.dat")); }
    ManualLoft Meier() const {
        PigeonTable pigeons;
        LoadPigeons(pigeons, PigeonFilePath(path(), "007", "012"));
        return ManualLoftOf("012" + PadRight("Meier", 20) + "N51301525E0070500001" + PadRight("Note", 30), pigeons);
    }
    std::string File() const { return Read("racecalc/Spring 1_wf012.man"); }
};

struct ManualTimes : ::testing::Test {
    ManualFolder folder;
    ManualLoft loft = folder.Meier();
};

const TimerValues kTimer = {14, 5, 18, 0, 0, 16, 5, 20, 0, 0, 20, 0, 5};

TEST_F(ManualTimes, ThreeOfTenPigeonsMakeTheGoldenFileAndReadBackIntoTheLoft) {
    ASSERT_EQ(loft.pigeons.size(), 10U);
    loft.timer = kTimer;
    AddManualArrival(loft, 8, {16, 5, 6, 1, 0});
    AddManualArrival(loft, 1, {15, 5, 11, 42, 7});
    AddManualArrival(loft, 4, {15, 5, 11, 45, 30});
    ASSERT_TRUE(ApplyManualSaveRule(folder.path(), kSpring, loft));
    EXPECT_EQ(folder.File(), TestData("race/Spring 1_wf012.man"));

    ManualLoft back = folder.Meier();
    ASSERT_EQ(ReadManualFile(folder.path(), kSpring, back).status, ReadStatus::Ok);
    EXPECT_EQ(back.timer, kTimer);
    EXPECT_EQ(back.pigeons[8].arrival, (Arrival{16, 5, 6, 1, 0}));
    EXPECT_TRUE(back.pigeons[1].added && !back.pigeons[0].added);
    EXPECT_EQ(ManualCounterText("Pigeons clocked: ", " of ", back), "Pigeons clocked: 3 of 10");
    EXPECT_TRUE(ManualPigeonItem(back.pigeons[1]).ends_with(" / OK"));
    back.fancierNumber = "013";
    EXPECT_EQ(ReadManualFile(folder.path(), kSpring, back).status, ReadStatus::Missing); // another fancier's file is not there
}

// Each row: day | month of an arrival | the message (1 day, 2 month) | the field that takes the focus.
TEST_F(ManualTimes, AnArrivalNeedsARealDayAndMonth) {
    for (const auto& c : TableCells("race/arrivaldates.txt")) {
        const ActionResult refused = AddManualArrival(loft, 1, {std::stoi(c[0]), std::stoi(c[1]), 11, 0, 0});
        EXPECT_EQ(std::to_string(refused.message) + "|" + refused.focusField, c[2] + "|" + c[3]) << c[0] << "." << c[1];
    }
    EXPECT_EQ(loft.AddedCount(), 0u);
    EXPECT_TRUE(AddManualArrival(loft, 1, {31, 12, 0, 0, 0}).Done());
}

TEST_F(ManualTimes, SaveRuleKeepsAFileOnlyForPigeonsOrEnteredTimerDates) {
    loft.timer = kTimer;
    AddManualArrival(loft, 1, {15, 5, 11, 42, 7});
    RemoveManualArrival(loft, 1);
    EXPECT_EQ(loft.pigeons[1].arrival, (Arrival{1, 1, 11, 42, 7}));
    ASSERT_TRUE(ApplyManualSaveRule(folder.path(), kSpring, loft)); // no pigeons, timer dates entered
    EXPECT_EQ(folder.File(), TestData("race/savedtimer.man"));
    loft.timer[kReadMonth] = 0; // one timer date missing: the file goes
    ASSERT_TRUE(ApplyManualSaveRule(folder.path(), kSpring, loft));
    EXPECT_FALSE(folder.Exists("racecalc/Spring 1_wf012.man"));
}

TEST_F(ManualTimes, FilesOfARaceAreFoundByTheirNamePatternInAnyCase) {
    for (const char* file : {"Spring 1_wf012.man", "SPRING 1_WF001.MAN", "Spring 1_wf0123.man", "Spring 11_wf012.man",
                             "_wf000.man"})
        folder.Write(std::string("racecalc/") + file, "");
    const auto files = ManualFilesOfRace(folder.path(), "Spring 1   ");
    ASSERT_EQ(files.size(), 2U);
    EXPECT_EQ(files[0].filename().string() + "|" + files[1].filename().string(),
              "SPRING 1_WF001.MAN|Spring 1_wf012.man");
    RemoveStrayManualFile(folder.path());
    EXPECT_FALSE(folder.Exists("racecalc/_wf000.man"));
    ASSERT_TRUE(SaveFileAtomically(ResolvePath(folder.path(), "racecalc\\M\xFCnster_wf003.man"), ""));
    EXPECT_EQ(ManualFilesOfRace(folder.path(), "M\xFCnster").size(), 1U);
}


const std::string kGoldenDistances = TestData("race/dist007.dat");

TEST(Distances, TwelveMilesEightHundredEightyYardsIsWrittenAs0020Comma1168AndLoadedAs12Point4999961) {
    TestFolder folder;
    DistanceTable table;
    ASSERT_EQ(LoadDistanceTable(table, folder.path(), 7), LoadOutcome::Missing);
    EXPECT_EQ(table.Distance(12, 5), 0.0); // a pair never entered
    const double miles = DistanceFromBoxes("12", "0880", kEnteredInMiles);
    table.Set(12, 5, miles, kEnteredInMiles);
    table.Set(0, 5, 80.25, kEnteredInKm); // fancier 0 is one like any other
    ASSERT_TRUE(SaveDistanceTable(table, folder.path(), 7, {0, 12}, {5}, ','));
    EXPECT_EQ(folder.Read("racecalc/dist007.dat"), " 2 \r\n 1 \r\n00005 0 0080,2500\r\n01205 1 0020,1168\r\n");

    DistanceTable loaded;
    ASSERT_EQ(LoadDistanceTable(loaded, folder.path(), 7), LoadOutcome::Loaded);
    EXPECT_EQ(loaded.UnitFlag(12, 5), kEnteredInMiles);
    EXPECT_NEAR(loaded.Distance(12, 5), 12.4999961, 5e-8);
    EXPECT_NEAR(MilesToKm(loaded.Distance(12, 5)), 20.1124938, 5e-8); // the calculation's own factor
    EXPECT_EQ(DistanceForBoxes(loaded.Distance(12, 5), kEnteredInMiles), (DistanceBoxes{"12", "0880"}));
    // Each row: a distance | its unit | the boxes; a rest that rounds up carries over, never 1760 yards.
    for (const auto& c : TableCells("race/distanceboxes.txt"))
        EXPECT_EQ(DistanceForBoxes(std::stod(c[0]), c[1] == "miles" ? kEnteredInMiles : kEnteredInKm), (DistanceBoxes{c[2], c[3]})) << c[0];
    EXPECT_FALSE(table.Set(1001, 5, 1.0, kEnteredInKm) || table.Set(1, 101, 1.0, kEnteredInKm));
}

TEST(Distances, FileReadsWithEitherSeparatorWritesBackByteForByteAndMilesDoNotWearDown) {
    TestFolder folder;
    std::string comma = kGoldenDistances;
    std::replace(comma.begin(), comma.end(), '.', ',');
    folder.Write("racecalc/dist007.dat", comma); // written where the separator is a comma
    DistanceTable table;
    ASSERT_EQ(LoadDistanceTable(table, folder.path(), 7), LoadOutcome::Loaded);
    EXPECT_DOUBLE_EQ(table.Distance(1, 5), 123.456);
    EXPECT_DOUBLE_EQ(table.Distance(1, 98), 1234.5678 * kLoadKmToMiles);
    for (int round = 0; round < 20; ++round) {
        table.Set(1, 5, 123.456, kEnteredInKm); // another pair is entered each time
        ASSERT_TRUE(SaveDistanceTable(table, folder.path(), 7, {1, 12}, {5, 98}, '.'));
        LoadDistanceTable(table, folder.path(), 7);
    }
    EXPECT_EQ(folder.Read("racecalc/dist007.dat"), kGoldenDistances);
}

TEST(Distances, ABrokenFileKeepsWhatWasReadAndIsNotSavedOver) {
    TestFolder folder;
    // Counts that overflow their product, a broken figure, a file that ends early, no point number.
    for (const char* file : {"dist006.dat", "dist007.dat", "dist008.dat", "dist009.dat"})
        folder.Write(std::string("racecalc/") + file, TestData(std::string("race/broken/") + file));
    DistanceTable table;
    for (int club : {6, 9, 8, 7}) EXPECT_EQ(LoadDistanceTable(table, folder.path(), club), LoadOutcome::Unreadable);
    EXPECT_DOUBLE_EQ(table.Distance(1, 5), 123.456);
    EXPECT_EQ(table.Distance(12, 5), 0.0);
    EXPECT_FALSE(SaveDistanceTable(table, folder.path(), 7, {1, 12}, {5, 98}, '.').ok);
    EXPECT_EQ(folder.Read("racecalc/dist007.dat"), TestData("race/broken/dist007.dat"));
    EXPECT_TRUE(SaveDistanceTable(table, folder.path(), 10, {1}, {1}, '.')); // another club's file as usual
}


TEST(Geodesic, TheWorkedExampleIs111Point2397KmWithHemisphereLettersOrSigns) {
    const double km = GeodesicDistanceKm("N51000000", "E007000000", "N50000000", "E007000000");
    EXPECT_NEAR(km, 111.2397, 0.00005);
    EXPECT_DOUBLE_EQ(GeodesicDistanceKm("+51000000", "+007000000", "+50000000", "+007000000"), km);
    EXPECT_DOUBLE_EQ(GeodesicDistanceKm("S51000000", "W007000000", "-50000000", "-007000000"), km);
    EXPECT_NEAR(GeodesicDistanceKm("N00000000", "W001000000", "N00000000", "E001000000"), 222.6390, 0.0001);
    EXPECT_DOUBLE_EQ(GeodesicDistanceKm("N5100000", "E007000000", "N00000000", "E007000000"), 0.0); // 8 characters
    // Against exact WGS84 distances the approximation stays within metres on race distances.
    EXPECT_NEAR(AndoyerLambertKm(51, 7, 50, 7), 111.238681, 0.002);
    EXPECT_NEAR(AndoyerLambertKm(40.6, -73.8, 49.0166667, 2.55), 5853.226, 1.0);
}

TEST(Geodesic, EqualPlacesAreZeroAntipodesFiniteAndZeroTextsMeanNoPosition) {
    EXPECT_EQ(GeodesicDistanceKm("N50293000", "E005520000", "N50293000", "E005520000"), 0.0);
    EXPECT_TRUE(std::isfinite(AndoyerLambertKm(0, 0, 0, 180)));
    EXPECT_TRUE(LatitudeIsZero("+00000000") && LatitudeIsZero("         ") && LongitudeIsZero("W000000000"));
    EXPECT_FALSE(LatitudeIsZero("N00000001") || LongitudeIsZero("E007000000"));
    EXPECT_TRUE(IsPositionText("-89595999", "+179595999"));
    for (const auto& [lat, lon] : {std::pair{"N90000000", "E007000000"}, {"E51000000", "E007000000"},
                                   {"N51600000", "E007000000"}, {"N51000000", "E180000000"}})
        EXPECT_FALSE(IsPositionText(lat, lon)) << lat << " " << lon;
}

} // namespace
} // namespace plumet
