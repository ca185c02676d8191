#include <gtest/gtest.h>

#include "core/app/fixedwidth.h"
#include "core/race/resultexport.h"
#include "testfolder.h"

namespace plumet {
namespace {

ExportTexts ShippedTexts() {
    TextCatalogue catalogue;
    EXPECT_TRUE(catalogue.Load(std::string(PLUMET_SOURCE_DIR) + "/data"));
    return LoadExportTexts(catalogue);
}

// "Spring 1" of the golden race list, in either unit, with the golden result file beside it; its
// names hold "&", "<", ">", quotes, a comma and umlauts.
Race GoldenRace(TestFolder& folder, int unit) {
    folder.Write("racecalc/Spring 1.flt", TestData("export/Spring 1.flt"));
    const std::optional<Race> race = LineToRace(SplitLines(TestData("race/races.dat")).at(1));
    EXPECT_TRUE(race.has_value());
    Race golden = race.value_or(Race{});
    golden.distanceUnit = unit;
    return golden;
}

TEST(ResultExport, GoldenRaceAsCsvAndHtmlInKilometresAndMiles) {
    const struct { int unit; const char* stem; } cases[] = {{kRaceInKm, "export/Spring 1"}, {kRaceInMiles, "export/Spring 1 miles"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stem);
        TestFolder folder;
        const Race race = GoldenRace(folder, c.unit);
        const Path csv = folder.path() / "list.csv";
        const Path html = folder.path() / "list.html";
        const ExportOutcome outcome = ExportResults(folder.path(), race, ShippedTexts(), "15.05.2024",
                                                    {{ExportFormat::Csv, csv}, {ExportFormat::Html, html}});
        ASSERT_EQ(outcome.status, ExportStatus::Written) << outcome.error;
        EXPECT_EQ(ReadWholeFile(csv).bytes, TestData(std::string(c.stem) + ".csv"));
        EXPECT_EQ(ReadWholeFile(html).bytes, TestData(std::string(c.stem) + ".html"));
    }
}

TEST(ResultExport, WritesNothingWithoutAResultFileOrWhenATargetFails) {
    TestFolder folder;
    const ExportTexts texts = ShippedTexts();
    Race race = GoldenRace(folder, kRaceInKm);
    folder.Write("kept.csv", "old");
    const Path kept = folder.path() / "kept.csv";
    const Path fresh = folder.path() / "fresh.html";
    const auto run = [&](const Race& r, const Path& second) {
        return ExportResults(folder.path(), r, texts, "", {{ExportFormat::Html, fresh}, {ExportFormat::Csv, second}});
    };
    Race other = race;
    other.name = "Autumn";
    EXPECT_EQ(run(other, kept).status, ExportStatus::NoResultFile);
    const ExportOutcome missingFolder = run(race, folder.path() / "no such folder" / "list.csv");
    EXPECT_EQ(missingFolder.status, ExportStatus::NotWritten);
    EXPECT_NE(missingFolder.error.find("list.csv"), std::string::npos);
    EXPECT_EQ(WithFailingSaves([&] { return run(race, kept); }, SavesOf("kept.csv")).status, ExportStatus::NotWritten);
    EXPECT_EQ(folder.Read("kept.csv"), "old");
    EXPECT_FALSE(folder.Exists("fresh.html"));
    EXPECT_EQ(folder.EntryCount(), 2u); // kept.csv and racecalc: no temporary file either
}

} // namespace
} // namespace plumet
