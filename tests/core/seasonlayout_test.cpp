#include <gtest/gtest.h>

#include <algorithm>

#include "core/race/seasonlayout.h"
#include "testfolder.h"

namespace plumet {
namespace {

TextCatalogue Shipped() {
    TextCatalogue catalogue;
    EXPECT_TRUE(catalogue.Load(std::string(PLUMET_SOURCE_DIR) + "/data"));
    return catalogue;
}

// The golden season (see season_test.cpp) in a fresh program folder.
struct GoldenFolder {
    TestFolder folder;
    SeasonStandings standings;
    GoldenFolder() {
        for (const char* file : {"races.dat", "Bastogne.flt", "Ettelbruck.flt", "Arlon.flt", "Season 2024.season"})
            folder.Write(std::string("racecalc/") + file, TestData(std::string("season/") + file));
        const std::vector<SeasonFile> files = LoadSeasons(folder.path());
        if (!files.empty() && files[0].season) standings = CalculateSeason(folder.path(), *files[0].season, files);
    }
};

const PrintText* Find(const PrintPage& page, const std::string& text) {
    const auto it = std::find_if(page.texts.begin(), page.texts.end(), [&](const PrintText& t) { return t.text == text; });
    return it == page.texts.end() ? nullptr : &*it;
}

TEST(SeasonLayout, TheSeasonAndARaceOfItExportWithTheirPrizes) {
    GoldenFolder golden;
    const TextCatalogue catalogue = Shipped();
    const Path& folder = golden.folder.path();
    const SaveResult saved = ExportSeason(folder, golden.standings, LoadSeasonTexts(catalogue), catalogue, SeasonDateText,
                                          {{ExportFormat::Csv, folder / "s.csv"}, {ExportFormat::Html, folder / "s.html"}});
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(golden.folder.Read("s.csv"), TestData("season/Season 2024.csv"));
    EXPECT_EQ(golden.folder.Read("s.html"), TestData("season/Season 2024.html"));

    // Bastogne, in miles: the prize mark and the ace points of its three prizes.
    const Race bastogne = LoadRaces(folder).races.at(0);
    const ExportOutcome exported = ExportResults(folder, bastogne, LoadExportTexts(catalogue), "04.05.2024",
                                                 {{ExportFormat::Csv, folder / "b.csv"}, {ExportFormat::Html, folder / "b.html"}});
    ASSERT_EQ(exported.status, ExportStatus::Written) << exported.error;
    EXPECT_EQ(golden.folder.Read("b.csv"), TestData("season/Bastogne.csv"));
    EXPECT_EQ(golden.folder.Read("b.html"), TestData("season/Bastogne.html"));
}

TEST(SeasonLayout, WindowLinesAndPrintedPagesOfTheSeasonAndOfARaceWithPrizes) {
    GoldenFolder golden;
    const TextCatalogue catalogue = Shipped();
    const SeasonTexts texts = LoadSeasonTexts(catalogue);
    SeasonStandings standings = golden.standings;
    SeasonTables tables = SeasonTablesOf(standings, texts, catalogue, SeasonDateText, ',');
    const std::vector<std::string> lofts = FixedWidthLines(tables.lofts);
    EXPECT_EQ(lofts[0], "Pl.  Fancier        Prizes counted  Ace points");
    EXPECT_EQ(lofts[5], "  5  Weber                       1      100,00");
    EXPECT_EQ(FixedWidthLines(tables.races)[4], "Metz        25.05.2024                   no result file yet");

    // 50 pigeons: the races, 50 pigeons and 5 lofts flow over two pages, heads again on the second.
    for (std::size_t i = 7; i < 50; ++i) standings.standings.pigeons.push_back({i + 1, "R" + std::to_string(i), "L", 1, 1, 1});
    tables = SeasonTablesOf(standings, texts, catalogue, SeasonDateText, ',');
    const std::vector<PrintPage> pages = SeasonPages(tables, texts);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(Find(pages[1], "Page   2 of   2"), nullptr);
    for (const char* text : {"Ace pigeons", "Ring number", "R49", "Loft championship", "Season 2024"})
        EXPECT_NE(Find(pages[1], text), nullptr) << text;
    EXPECT_EQ(Find(pages[1], "Races"), nullptr);

    // The result list of a race with prizes: the figures move left for the mark and the points.
    const Race bastogne = LoadRaces(golden.folder.path()).races.at(0);
    const std::vector<ResultLine> lines = ReadResultFile(golden.folder.path(), bastogne.name).lines;
    const RacePrizes& prizes = standings.races[0].prizes;
    const PrintPage page = ResultPages(bastogne, lines, LoadPrintTexts(catalogue), 1, 1, "04.05.2024", '.', &prizes).at(0);
    for (const auto& [text, x] : {std::pair{"66.67", 4700}, std::pair{"3 (1:4)", 4150}, std::pair{"Ace", 4700}})
        EXPECT_EQ(Find(page, text) ? Find(page, text)->x : 0, x) << text;
    EXPECT_EQ(std::count_if(page.texts.begin(), page.texts.end(), [](const PrintText& t) { return t.text == "P" && t.x == 4210; }), 3);
    const std::vector<std::string> window = ResultWindowLines(lines, kRaceInMiles, '.', &prizes, "P");
    EXPECT_EQ(window[1].substr(81), "  P           66.67");
    EXPECT_EQ(window[3].size(), 81u);
}

} // namespace
} // namespace plumet
