#include <gtest/gtest.h>

#include <set>

#include "core/race/checksheet.h"
#include "testfolder.h"

namespace plumet {
namespace {

struct CheckRace {
    TestFolder folder;
    Race race;
    CheckRace() {
        folder.CopyData("checksheet/folder");
        race = LoadRaces(folder.path()).races.at(0);
    }
    CheckSheet Sheet(const Settings& settings) const {
        return CheckSheetOf(folder.path(), settings, race, DistanceTable{}, '.');
    }
};

// The race built for it holds every kind of flag, a ring clocked in two lofts listed under both.
TEST(CheckSheet, TheRaceBuiltForItFlagsEveryKindOnScreenAsCsvAndAsAWebPage) {
    const CheckRace c;
    const Settings settings = ReadOptions(c.folder.path());
    const CheckSheet sheet = c.Sheet(settings);
    ASSERT_EQ(sheet.refusal, "");
    std::set<CheckKind> kinds;
    for (const CheckFlag& flag : sheet.flags) kinds.insert(flag.kind);
    EXPECT_EQ(kinds.size(), static_cast<std::size_t>(CheckKind::LineUnreadable) + 1);
    // The unread line's file is named as the system writes paths.
    const auto golden = [](const std::string& name) {
        std::string text = TestData("checksheet/" + name);
        const std::string file = "racecalc/Spring 1_wf014.man", native = (Path("racecalc") / "Spring 1_wf014.man").string();
        for (std::size_t at = text.find(file); at != std::string::npos; at = text.find(file, at + native.size()))
            text.replace(at, file.size(), native);
        return text;
    };
    EXPECT_EQ(JoinLinesCrLf(CheckSheetLines(sheet)), golden("sheet.txt"));
    EXPECT_EQ(CheckSheetCsv(sheet), golden("sheet.csv"));
    EXPECT_EQ(CheckSheetHtml(c.race, sheet, LoadPrintTexts(ShippedCatalogue("club.txt")), "01.05.2024"), golden("sheet.html"));

    // Wider limits let the clock and the speeds pass; nothing is stored, so the files decide alone.
    Settings wide = settings;
    wide.checkLimits = {100, 100, 10000};
    for (const CheckFlag& flag : c.Sheet(wide).flags)
        EXPECT_TRUE(flag.kind != CheckKind::ClockDeviation && flag.kind != CheckKind::SpeedOutsideBand) << flag.figures;
    EXPECT_EQ(c.folder.Files().count("racecalc/Spring 1.flt"), 0u);
}

TEST(CheckSheet, AnInputFileThatCannotBeReadGivesNoSheetButSaysWhich) {
    const CheckRace c;
    std::filesystem::remove(c.folder.path() / "race" / "W0125218.d00");
    std::filesystem::create_directory(c.folder.path() / "race" / "W0125218.d00");
    const CheckSheet sheet = c.Sheet(ReadOptions(c.folder.path()));
    EXPECT_NE(sheet.refusal.find("W0125218.d00"), std::string::npos) << sheet.refusal;
    EXPECT_TRUE(sheet.flags.empty());
    EXPECT_FALSE(ExportCheckSheet(c.folder.path(), c.race, sheet, {}, "", {{ExportFormat::Csv, c.folder.path() / "x.csv"}}));
    EXPECT_FALSE(std::filesystem::exists(c.folder.path() / "x.csv"));
}

// Each row: a plumet.ini line | the limits it gives, or why the file cannot be used.
TEST(CheckSheet, LimitsComeFromThePlumetIniAndOnlyThoseOffTheirDefaultsAreWritten) {
    for (const std::string& row : TableRows("checksheet/limits.txt")) {
        const std::size_t bar = row.find('|');
        TestFolder folder;
        folder.Write("plumet.ini", row.substr(0, bar) + "\r\n");
        const Settings settings = ReadOptions(folder.path());
        const CheckLimits& l = settings.checkLimits;
        const std::string got = settings.programOptionsDamage.empty()
                                    ? std::to_string(l.clockDeviation) + " " + std::to_string(l.slowestSpeed) + " " +
                                          std::to_string(l.fastestSpeed)
                                    : settings.programOptionsDamage;
        EXPECT_EQ(got, row.substr(bar + 1)) << row;
        if (!settings.programOptionsDamage.empty()) continue;
        ASSERT_TRUE(WriteOptions(folder.path(), settings));
        EXPECT_EQ(ReadOptions(folder.path()).checkLimits, l) << row;
        EXPECT_EQ(folder.Read("plumet.ini").find("=300\r") == std::string::npos, true) << "a default written: " << row;
    }
}

} // namespace
} // namespace plumet
