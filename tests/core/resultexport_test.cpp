#include <gtest/gtest.h>

#include "app/cp1252.h"
#include "app/fixedwidth.h"
#include "race/resultexport.h"
#include "testfolder.h"

namespace plumet {
namespace {

ExportTexts ShippedTexts() {
    TextCatalogue catalogue;
    EXPECT_TRUE(catalogue.Load(std::string(PLUMET_SOURCE_DIR) + "/data"));
    return LoadExportTexts(catalogue);
}

// "Spring 1" of the golden race list, in either unit, with the golden result file beside it.
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

TEST(ResultExport, NamesComeThroughQuotedAndEscaped) {
    const ExportTexts texts = ShippedTexts();
    Race race;
    race.name = "A&B <1>";
    race.headerComment = "Tom's \"best\" race";
    const std::vector<ResultLine> lines{
        {Utf8ToCp1252("\"Flitzer\", Jäger").value(), "<DV> & 1", "BL", 60, "  0.01.00", 1.0, 1000.0, false}};
    const std::string csv = ResultCsv(race, lines, texts);
    EXPECT_NE(csv.find("\r\n1,\"\"\"Flitzer\"\", J\xC3\xA4ger\",<DV> & 1,BL,0.01.00,1.000,1000.000,\r\n"),
              std::string::npos)
        << csv;
    const std::string html = ResultHtml(race, lines, texts, "1.1.2000");
    for (const char* escaped : {"<title>Result list: A&amp;B &lt;1&gt;</title>", "<p class=\"comment\">Tom&#39;s &quot;best&quot; race</p>",
                                "<td>&quot;Flitzer&quot;, J\xC3\xA4ger</td><td>&lt;DV&gt; &amp; 1</td>"})
        EXPECT_NE(html.find(escaped), std::string::npos) << escaped;
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

TEST(ResultExport, FormatByExtensionInAnyCase) {
    const struct { const char* file; std::optional<ExportFormat> format; } cases[] = {
        {"a.csv", ExportFormat::Csv}, {"b.HTML", ExportFormat::Html}, {"c.Htm", ExportFormat::Html},
        {"d.txt", std::nullopt},      {"csv", std::nullopt},          {"e.csv.bak", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(ExportFormatOf(c.file), c.format) << c.file;
}

} // namespace
} // namespace plumet
