#include <gtest/gtest.h>

#include <tuple>

#include "core/race/racecalc.h"
#include "core/race/racelog.h"
#include "testfolder.h"

namespace plumet {
namespace {

// Spring 1 of 1 May 2024 in a season of one prize per 4 pigeons: Meier (fancier 12, 300 km, 5 h)
// wins the one prize ahead of Maier (fancier 14, manual times, 4 h).
struct LoggedRace : TestFolder {
    Settings settings;
    RaceList races;
    DistanceTable distances;
    LoggedRace() {
        settings.region = "012" + std::string(30, ' ');
        settings.federation = "052" + std::string(30, ' ');
        CopyData("race/calc");
        Write("racecalc/Season 2024.season",
              "Name=Season 2024\r\nPrizeRatio=4\r\nFirstRace=01.04.2024\r\nLastRace=30.09.2024\r\nRace=Spring 1\r\n");
        races = LoadRaces(path());
        Distances(200.0);
    }
    void Distances(double maier) {
        distances = {};
        distances.Set(12, 5, 300.0, kEnteredInKm);
        distances.Set(14, 5, maier, kEnteredInKm);
    }
    RaceCalcOutcome Calculate(const RaceLogAuthor* author = nullptr) {
        return CalculateRace(races, 1, distances, path(), settings, ',', author);
    }
    std::string Files() { return Read("racecalc/races.dat") + Read("racecalc/Spring 1.flt") + Read("racecalc/Spring 1.log"); }
};

RaceLogAuthor By(const char* who, const char* reason, int day) { return {who, reason, MakeDateTime(2024, 5, day, 18, 30, 5)}; }

TEST(RaceLog, AFinalListChangesOnlyWithAReasonAndEachAmendmentIsAppendedWhole) {
    LoggedRace folder;
    const SaveResult early = FinaliseRace(folder.path(), folder.races.races[0], By("Anna", "", 1));
    EXPECT_EQ(early.error, "The race Spring 1 has not been calculated, so there is no list to make final.");
    ASSERT_TRUE(folder.Calculate().resultSaved);
    EXPECT_FALSE(folder.Exists("racecalc/Spring 1.log")); // provisional: no log
    EXPECT_EQ(RaceStateText(folder.path(), folder.races.races[0]), "Provisional");
    const std::string shown = folder.Read("racecalc/Spring 1.flt");
    EXPECT_FALSE(FinaliseRace(folder.path(), folder.races.races[0], By("Anna", "", 2), shown + " "));
    ASSERT_TRUE(FinaliseRace(folder.path(), folder.races.races[0], By("Anna", "", 2), shown));
    EXPECT_EQ(RaceStateText(folder.path(), folder.races.races[0]), "Final, 02.05.2024");

    // Without a reason nothing changes, nor with the reason while the log cannot be read.
    folder.Distances(250.0);
    std::string before = folder.Files();
    EXPECT_EQ(folder.Calculate().racesSaved.error,
              "The list of Spring 1 is final. It is changed only with a reason, which goes into its log.");
    const RaceLogAuthor late = By("Anna", "Maier's distance was wrong", 3);
    const std::string log = folder.Read("racecalc/Spring 1.log");
    for (const std::string& damaged : {log.substr(0, log.size() - 2), std::string("Final 31.02.2024 18:30:05\r\nBy: Anna\r\n\r\n"),
                                       log + "Amended 03.05.2024 18:30:05\r\nBy: Anna\r\n\r\n", log + "Moved: x\r\n"}) {
        folder.Write("racecalc/Spring 1.log", damaged);
        EXPECT_NE(folder.Calculate(&late).racesSaved.error.find("must never lose an entry"), std::string::npos);
    }
    folder.Write("racecalc/Spring 1.log", log);
    EXPECT_EQ(folder.Files(), before);

    // Maier moves into the prize; then his times are withdrawn.
    ASSERT_TRUE(folder.Calculate(&late).resultSaved);
    EXPECT_EQ(RaceStateText(folder.path(), folder.races.races[0]), "Amended, 03.05.2024: Maier's distance was wrong");
    before = folder.Read("racecalc/Spring 1.log");
    EXPECT_TRUE(before.starts_with(log));
    folder.Write("racecalc/Spring 1_wf014.man", "");
    const RaceLogAuthor withdrawn = By("Bernd", "manual times withdrawn", 4);
    ASSERT_TRUE(folder.Calculate(&withdrawn).resultSaved);
    const std::string amended = folder.Read("racecalc/Spring 1.log");
    EXPECT_TRUE(amended.starts_with(before));
    EXPECT_EQ(amended, TestData("race/Spring 1.log"));
    const std::vector<PrintPage> printed = LogPages(ReadRaceLog(folder.path(), "Spring 1"), "Log", "Spring 1", 2);
    ASSERT_EQ(printed.size(), 1u); // after one page of the list: the title, then every line
    EXPECT_EQ(std::tuple(printed[0].number, printed[0].texts.size()), std::tuple(2u, SplitLines(amended).size() + 1));

    // A rename and a delete need a reason too, and carry every entry.
    Race renamed = folder.races.races[0];
    renamed.name = "Spring One";
    EXPECT_FALSE(StoreRace(folder.races, folder.path(), renamed, 1).saved);
    EXPECT_EQ(folder.Read("racecalc/Spring 1.log"), amended);
    const RaceLogAuthor rename = By("Bernd", "typing error", 5);
    ASSERT_TRUE(StoreRace(folder.races, folder.path(), renamed, 1, &rename).Done());
    EXPECT_FALSE(folder.Exists("racecalc/Spring 1.log"));
    const std::string carried = folder.Read("racecalc/Spring One.log");
    EXPECT_TRUE(carried.starts_with(amended) && carried.ends_with("Renamed: Spring 1 -> Spring One\r\n\r\n"));
    EXPECT_FALSE(DeleteRace(folder.races, folder.path(), 1));
    const RaceLogAuthor removal = By("Bernd", "flown twice", 6);
    ASSERT_TRUE(DeleteRace(folder.races, folder.path(), 1, &removal));
    EXPECT_FALSE(folder.Exists("racecalc/Spring One.log"));
    const std::string kept = folder.Read("racecalc/Spring One.20240506-183005.log");
    EXPECT_TRUE(kept.starts_with(carried) && kept.ends_with("Deleted: Spring One\r\n\r\n"));
}

} // namespace
// Found by the fuzz pass: a line after the end was named.
TEST(RaceLogFile, AnEntryCutOffAtTheEndNamesItsLastLine) {
    FileProblem problem;
    EXPECT_FALSE(ParseRaceLog("Final 02.05.2024 18:30:05\r\nBy: Anna\r\n", problem));
    EXPECT_EQ(problem, (FileProblem{FileReason::Damaged, 2, {}}));
}

} // namespace plumet
