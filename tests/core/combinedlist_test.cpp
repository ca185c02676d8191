#include <gtest/gtest.h>

#include "core/race/combinedlist.h"
#include "core/race/racelog.h"
#include "core/race/seasonlayout.h"
#include "racetests.h"
#include "testfolder.h"

namespace plumet {
namespace {

// Three club races of one day from Metz, one in miles. Kruse (031) arrives first at 7:39; Meier
// of 012 and Meier of 027 fly as fast and arrive together at 7:40 (released 6:30 and 6:45), so
// 012 comes first; the two Meiers are two lofts.
struct CombinedFolder : TestFolder {
    CombinedFolder() {
        for (const char* file : {"races.dat", "Metz A.flt", "Metz B.flt", "Metz C.flt", "Metz federation.cmb"})
            Write(std::string("racecalc/") + file, TestData(std::string("race/combined/") + file));
    }
    CombinedResult Current() const { return CurrentCombined(path(), "metz FEDERATION").value(); }
    SaveResult Finalise(const char* race, int day) const {
        const RaceList races = LoadRaces(path());
        const auto found = std::find_if(races.races.begin(), races.races.end(),
                                        [&](const Race& r) { return TrimmedRaceName(r) == race; });
        return FinaliseRace(path(), *found, {"Anna", "", MakeDateTime(2025, 6, day, 20, 0, 0)});
    }
    const TextCatalogue catalogue = ShippedCatalogue("club.txt");
};

TEST(CombinedList, GoldenListAsWindowLinesCsvAndWebPage) {
    const CombinedFolder folder;
    ASSERT_TRUE(folder.Finalise("Metz A", 9));
    const CombinedResult result = folder.Current();
    ASSERT_TRUE(result.Complete());
    EXPECT_EQ(std::tuple(result.head.pigeonsEntered, result.head.pigeonsClassified, result.head.fanciersEntered,
                         result.head.distanceUnit),
              std::tuple(15, 10, 7, kRaceInKm));
    const ExportTexts texts = LoadExportTexts(folder.catalogue);
    std::array<std::string, 8> heads;
    for (std::size_t i = 0; i < heads.size(); ++i) heads[i] = texts.columns[i];
    std::vector<std::string> lines = {};
    for (const std::string& head : CombinedWindowHeads("Club", heads, {texts.inKm, texts.inMetresPerMinute}))
        lines.push_back(head);
    for (const std::string& line : CombinedWindowLines(result, ',', nullptr, {}, {}, "Club")) lines.push_back(line);
    EXPECT_EQ(LinesText(lines), TestData("race/combined/window.txt"));
    EXPECT_EQ(CombinedCsv(result, texts), TestData("race/combined/Metz federation.csv"));
    EXPECT_EQ(CombinedHtml(result, texts, "07.06.2025", {}), TestData("race/combined/Metz federation.html"));

    // In miles only when every race is.
    CombinedFolder miles;
    std::vector<std::string> races = SplitLines(TestData("race/combined/races.dat"));
    for (std::string& race : races)
        if (race.starts_with("Metz ") && !race.starts_with("Metz night")) race[116] = '1';
    miles.Write("racecalc/races.dat", JoinLinesCrLf(races));
    EXPECT_EQ(miles.Current().head.distanceUnit, kRaceInMiles);
}

TEST(CombinedList, AMissingOrCutShortResultMakesItIncompleteAndARecalculationShowsAtOnce) {
    const CombinedFolder folder;
    std::filesystem::remove(folder.path() / "racecalc" / "Metz B.flt");
    const std::string cut = TestData("race/combined/Metz C.flt");
    folder.Write("racecalc/Metz C.flt", cut.substr(0, cut.size() - 40));
    CombinedResult result = folder.Current();
    EXPECT_FALSE(result.Complete());
    const std::vector<std::string> notes = CombinedNotes(folder.catalogue, result);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], "The race Metz B has not been calculated: the list is incomplete.");
    EXPECT_NE(notes[1].find("The race Metz C is left out: The file "), std::string::npos) << notes[1];
    const ExportOutcome refused = ExportCombined(folder.path(), result, LoadExportTexts(folder.catalogue), "",
                                                 {{ExportFormat::Html, folder.path() / "out.html"}});
    EXPECT_EQ(refused.error, "The combined list Metz federation is not printed or exported: " + notes[0]);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out.html"));

    // Metz A calculated again with a faster first pigeon.
    const std::string a = TestData("race/combined/Metz A.flt");
    folder.Write("racecalc/Metz A.flt", a.substr(0, a.find("1450.000")) + "1460.000" + a.substr(a.find("1450.000") + 8));
    result = folder.Current();
    ASSERT_FALSE(result.lines.empty());
    EXPECT_EQ(std::pair(result.clubs[0], result.lines[0].speed), std::pair(12, 1460.0));
}

// Final once its last provisional race is, dated by the latest entry, not the last made.
TEST(CombinedList, TurnsFinalOnlyWhenItsLastProvisionalRaceIsMadeFinal) {
    const CombinedFolder folder;
    ASSERT_TRUE(folder.Finalise("Metz A", 9));
    ASSERT_TRUE(folder.Finalise("Metz C", 12));
    CombinedResult result = folder.Current();
    EXPECT_EQ(result.state, "Provisional");
    EXPECT_EQ(CombinedRaceStates(folder.catalogue, result).at(2), "Metz C (031 Sturmvogel Weeze): Final, 12.06.2025");
    ASSERT_TRUE(folder.Finalise("Metz B", 10));
    result = folder.Current();
    EXPECT_EQ(result.state, "Final, 12.06.2025");
    const std::string csv = CombinedCsv(result, LoadExportTexts(folder.catalogue));
    EXPECT_NE(csv.find(",1202.400,,\"Final, 12.06.2025\"\r\n"), std::string::npos) << csv;
}

TEST(CombinedList, StoringRefusesWhatCannotBeOneList) {
    const CombinedFolder folder;
    std::filesystem::remove(folder.path() / "racecalc" / "Metz federation.cmb");
    ASSERT_TRUE(StoreCombinedList(folder.path(), {"Weeze", {"Metz C"}}, std::nullopt).ok);
    // Each row of the table: the refusal | the list altered, if any | the name | its races.
    for (const auto& c : TableCells("race/combined/refused.txt")) {
        const auto altered = c[1].empty() ? std::nullopt : std::optional<std::string>(c[1]);
        EXPECT_EQ(StoreCombinedList(folder.path(), {c[2], {c.begin() + 3, c.end()}}, altered).error, c[0]) << c[2];
    }

    // Renamed with a race more, then a damaged file stops every store and is left as it is.
    ASSERT_TRUE(StoreCombinedList(folder.path(), {"Metz fed", {"Metz C", "Metz B"}}, "weeze").ok);
    EXPECT_EQ(folder.Read("racecalc/Metz fed.cmb"), "Name=Metz fed\r\nRace=Metz C\r\nRace=Metz B\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "racecalc" / "Weeze.cmb"));
    // The list follows its races when they are renamed or deleted; no race takes its name.
    RaceList races = LoadRaces(folder.path());
    Race race = races.races.at(2);
    race.name = "Metz Weeze";
    ASSERT_TRUE(StoreRace(races, folder.path(), race, 3).Done());
    ASSERT_TRUE(DeleteRace(races, folder.path(), 2).ok);
    EXPECT_EQ(folder.Read("racecalc/Metz fed.cmb"), "Name=Metz fed\r\nRace=Metz Weeze\r\n");
    race.name = "METZ FED";
    EXPECT_EQ(StoreRace(races, folder.path(), race, std::nullopt).saved.error,
              "METZ FED is the name of a combined list; a season could not tell the two apart. Please choose another name.");

    const std::string damaged = "Name=Metz fed\r\nRace=Metz Weeze\r\nRaces=Spa\r\n";
    folder.Write("racecalc/Metz fed.cmb", damaged);
    EXPECT_EQ(StoreCombinedList(folder.path(), {"Spa", {"Spa"}}, std::nullopt).error,
              "The combined list file " + (Path("racecalc") / "Metz fed.cmb").string() +
                  " cannot be used: line 3 names Races, which is no setting "
              "of a combined list. It is left as it is. Nothing is stored while it cannot be used: it might hold the "
              "same races.");
    EXPECT_EQ(folder.Read("racecalc/Metz fed.cmb"), damaged);
}

// Four prizes over the 15 pigeons of three clubs; the two Meiers are two lofts. The club's own
// season may list one of its races beside the federation's, but no season counts a race twice.
TEST(CombinedList, ASeasonCountsItOverTheCombinedEntryAndNeverARaceTwice) {
    const CombinedFolder folder;
    const auto season = [](const char* name, std::vector<std::string> races) {
        return Season{name, 4, 2, {2025, 1, 1}, {2025, 12, 31}, std::move(races)};
    };
    ASSERT_TRUE(StoreSeason(folder.path(), season("Federation 2025", {"Metz federation"}), std::nullopt).Done());
    ASSERT_TRUE(StoreSeason(folder.path(), season("Goch 2025", {"Metz A"}), std::nullopt).Done());
    const SeasonStandings standings = CurrentStandings(folder.path(), "federation 2025").value();
    EXPECT_EQ(SeasonCsv(standings, LoadSeasonTexts(folder.catalogue)), TestData("race/combined/Federation 2025.csv"));
    EXPECT_EQ(SeasonOfCombined(folder.path(), folder.Current()).Prizes()->Count(), 4u);
    EXPECT_EQ(CurrentStandings(folder.path(), "Goch 2025")->standings.lofts.at(0).loft, "Meier");

    const SeasonStore twice = StoreSeason(folder.path(), season("Twice", {"Metz federation", "Metz B"}), std::nullopt);
    EXPECT_EQ(std::pair(twice.message, twice.names), std::pair(kSeasonRaceTwice, std::vector<std::string>{"Metz B", "Metz federation"}));
    folder.Write("racecalc/Federation 2025.season", "Name=Federation 2025\r\nFirstRace=01.01.2025\r\n"
                                                    "LastRace=31.12.2025\r\nRace=Metz federation\r\nRace=Metz C\r\n");
    const SeasonStandings byHand = CurrentStandings(folder.path(), "Federation 2025").value();
    EXPECT_EQ(byHand.races.at(0).state, SeasonRaceState::Incomplete);
}

// Each row: the line found damaged | the lines of the file.
TEST(CombinedListFile, ADamagedFileIsRefusedWithItsLine) {
    for (const auto& c : TableCells("race/combined/damaged.txt")) {
        std::size_t line = 0;
        std::string reason;
        EXPECT_FALSE(ParseCombinedListFile({c.begin() + 1, c.end()}, line, reason).has_value()) << c[1];
        EXPECT_EQ(std::to_string(line), c[0]) << c[1];
        EXPECT_FALSE(reason.empty());
    }
}

} // namespace
} // namespace plumet
