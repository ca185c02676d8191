#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "core/race/season.h"
#include "core/race/seasonlayout.h"
#include "racetests.h"
#include "testfolder.h"

namespace plumet {
namespace {


// The golden season of four races in a fresh program folder: Bastogne in miles (9 entered,
// 3 prizes), Ettelbruck with two equal speeds at places 4 and 5 (13 entered, 4 prizes), Arlon with
// a data error (9 entered, 8 classified: 3 prizes, not 2) and Metz without a result file; one prize
// per 4, two counted per loft and race.
struct GoldenFolder : TestFolder {
    GoldenFolder() {
        CopyData("folders/season");
        const std::vector<SeasonFile> files = LoadSeasons(path());
        EXPECT_EQ(files.size(), 1u);
        if (!files.empty() && files[0].season) season = *files[0].season;
    }
    SeasonStandings Calculate(const Season& s) const { return CalculateSeason(path(), s, LoadSeasons(path())); }
    std::string Csv(const SeasonStandings& standings) const { return SeasonCsv(standings, LoadSeasonTexts(catalogue)); }

    const TextCatalogue catalogue = ShippedCatalogue("club.txt");
    Season season;
};

// The golden standings, worked out by hand. Ace points per place: Bastogne and Arlon 100.00, 66.67,
// 33.33; Ettelbruck 100.00, 75.00, 50.00, 25.00. Coefficients: 1000 / 9 = 111.111 a place;
// 1000 / 13 = 76.923, 153.846, 230.769, 307.692. 101M: Bastogne 3rd, Ettelbruck 4th (its tie
// partner 6071235M 5th wins nothing), Arlon 2nd. The four at 100.00 stand by prizes (1405F has
// two), then the coefficient (2701M), then the ring. Jäger & Söhne count 75 + 50 of their three
// Ettelbruck prizes; Meier, Schulz and Weber tie on everything but the name.
const std::string kStandings = TestData("season/Season 2024.csv");

TEST(Season, GoldenSeasonMatchesTheStandingsWorkedOutByHandInAnyOrderOfItsRaces) {
    const GoldenFolder folder;
    Season season = folder.season;
    const SeasonStandings golden = folder.Calculate(season);
    EXPECT_EQ(folder.Csv(golden), kStandings);
    // Each race's state, entered and prizes are the rows of the races window in the layout test.
    std::sort(season.races.begin(), season.races.end());
    do {
        SCOPED_TRACE(season.races[0] + " " + season.races[1] + " " + season.races[2] + " " + season.races[3]);
        EXPECT_EQ(CalculateSeason(folder.path(), season, {}).standings, golden.standings);
    } while (std::next_permutation(season.races.begin(), season.races.end()));
}

// Each row: prizes | entered | classified | one prize per | the prizes; ace points | prizes | place | the
// points; coefficient | entered | place | the coefficient.
TEST(Season, PrizesAcePointsAndCoefficientsRoundHalfUp) {
    for (const auto& c : TableCells("season/prizes.txt")) {
        const int count = std::stoi(c[1]);
        const auto place = static_cast<std::size_t>(std::stoi(c[2]));
        if (c[0] == "prizes") EXPECT_EQ(PrizeCount(count, place, std::stoi(c[3])), std::stoi(c[4])) << c[1] << "/" << c[3];
        else if (c[0] == "ace points") EXPECT_EQ(HundredthsText(AcePointsHundredths(count, place), '.'), c[3]) << c[1];
        else EXPECT_EQ(ThousandthsText(CoefficientThousandths(place, count), '.'), c[3]) << c[0] << " " << c[1];
    }
    EXPECT_EQ(HundredthsText(6667, ','), "66,67");
}

TEST(SeasonFile, GoldenFileRoundTripsAndADamagedFileIsRefusedWithItsLine) {
    SeasonFileProblem problem;
    const std::vector<std::string> golden = SplitLines(TestData("season/Season 2024.season"));
    const std::optional<Season> season = ParseSeasonFile(golden, problem);
    ASSERT_TRUE(season.has_value());
    EXPECT_EQ(season->countedPrizes, 2);
    EXPECT_EQ(SeasonFileLines(*season), golden);

    // Each damaged file with its fault and its words.
    const TextCatalogue catalogue = ShippedCatalogue("club.txt");
    std::string found;
    for (const std::string name : {"NoSetting", "UnknownSetting", "SettingTwice", "Name", "PrizeRatio", "CountedPrizes",
                                   "Date", "DateOrder", "RaceName", "RaceTwice", "Missing"}) {
        EXPECT_FALSE(ParseSeasonFile(SplitLines(TestData("season/damaged/" + name + ".season")), problem)) << name;
        problem.file = Path(PLUMET_TEST_DATA) / name;
        found += std::to_string(static_cast<int>(problem.damage)) + " line " + std::to_string(problem.line) + ": " +
                 SeasonProblemText(catalogue, PLUMET_TEST_DATA, problem) + "\n";
    }
    EXPECT_EQ(found, TestData("season/damaged.txt"));

    TestFolder folder;
    folder.Write("racecalc/Broken.season", TestData("season/damaged/UnknownSetting.season"));
    const std::vector<SeasonFile> files = LoadSeasons(folder.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(SeasonProblemText(catalogue, folder.path(), files[0].problem),
              "The season file " + (Path("racecalc") / "Broken.season").string() +
                  " cannot be used: line 4 names Prize, which is no setting of a season. It is left as it is.");
    // One that cannot be read at all is damaged too, with the reason, never taken for missing.
    std::filesystem::create_directories(folder.path() / "racecalc" / "Locked.season");
    const std::vector<SeasonFile> both = LoadSeasons(folder.path());
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(SeasonProblemText(catalogue, folder.path(), both[1].problem),
              "The season file " + (Path("racecalc") / "Locked.season").string() +
                  " cannot be read: it is a folder, not a file. It is left as it is.");
    TestFolder unlisted; // a racecalc folder that cannot be listed may hold any season
    unlisted.Write("racecalc", "");
    const std::vector<SeasonFile> unknown = LoadSeasons(unlisted.path());
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_EQ(unknown[0].problem.damage, SeasonDamage::FolderUnreadable);
}

// Each calculation below adds its races window (each race's state as its remark) and its
// standings to the golden file.
TEST(Season, MissingRacesAreNamedAndARaceInTwoSeasonsOrOutsideTheDatesCountsNowhere) {
    const GoldenFolder folder;
    const SeasonTexts texts = LoadSeasonTexts(folder.catalogue);
    std::string seen;
    const auto look = [&](const SeasonStandings& standings) {
        seen += LinesText(FixedWidthLines(SeasonTablesOf(standings, texts, folder.catalogue, SeasonDateText, ',').races));
        seen += folder.Csv(standings);
    };
    Season season = folder.season;
    season.races.push_back("Ghost");
    look(folder.Calculate(season));
    // Written by hand: a second season lists Arlon, so neither counts it: 6071234F wins nothing
    // and 2701M leads by its coefficient.
    folder.Write("racecalc/Other.season", "Name=Other\r\nFirstRace=01.01.2024\r\nLastRace=31.12.2024\r\nRace=arlon\r\n");
    look(folder.Calculate(season));
    RaceList list = LoadRaces(folder.path());
    EXPECT_EQ(SeasonOfRace(folder.path(), list.races[2]).Prizes(), nullptr);
    const RaceSeason bastogne = SeasonOfRace(folder.path(), list.races[0]);
    ASSERT_NE(bastogne.Prizes(), nullptr);
    EXPECT_EQ(bastogne.Prizes()->points, (std::vector<long long>{10000, 6667, 3333}));

    season.lastRace = {2024, 5, 10}; // Bastogne's alone
    look(CalculateSeason(folder.path(), season, {}));
    // A result file that cannot be read, or ends before its count, is named with its reason;
    // Arlon's alone count.
    season.lastRace = {2024, 12, 31};
    const std::string bastogneFile = folder.Read("racecalc/Bastogne.flt");
    folder.Write("racecalc/Bastogne.flt", bastogneFile.substr(0, bastogneFile.size() - 80));
    std::filesystem::remove(folder.path() / "racecalc" / "Ettelbruck.flt");
    std::filesystem::create_directory(folder.path() / "racecalc" / "Ettelbruck.flt");
    look(CalculateSeason(folder.path(), season, {}));
    EXPECT_EQ(seen, TestData("season/variants.txt"));
}

TEST(SeasonStore, RefusesWhatCannotStandAndNeverSavesOverADamagedFile) {
    const GoldenFolder folder;
    const Season golden = folder.season;
    folder.Write("racecalc/Youngsters.season", "Name=Youngsters\r\nFirstRace=01.08.2024\r\nLastRace=30.09.2024\r\n");
    Season fresh = golden;
    fresh.name = "Autumn";
    fresh.races = {"Ghost"};
    const auto with = [&](auto change) { Season s = fresh; change(s); return s; };
    const struct { Season season; int message; std::vector<std::string> names; } refused[] = {
        {with([](Season& s) { s.name = " "; }), kSeasonNameMissing, {}},
        {with([](Season& s) { s.name = "season 2024"; }), kSeasonNameUsed, {"season 2024"}},
        {with([](Season& s) { s.prizeRatio = 1; }), kSeasonPrizeRatio, {}},
        {with([](Season& s) { s.countedPrizes = 100; }), kSeasonCountedPrizes, {}},
        {with([](Season& s) { s.lastRace = {2024, 4, 30}; }), kSeasonDateOrder, {}},
        {with([](Season& s) { s.races = {"Metz"}; s.firstRace = {2024, 6, 1}; }), kSeasonRaceOutsideDates, {"Metz", "25.05.2024"}},
        {with([](Season& s) { s.races = {"Ghost", "Arlon"}; }), kSeasonRaceInOtherSeason, {"Arlon", "Season 2024"}},
    };
    for (const auto& r : refused) {
        const SeasonStore store = StoreSeason(folder.path(), r.season, std::nullopt);
        EXPECT_EQ(std::pair(store.message, store.names), std::pair(r.message, r.names)) << r.message;
    }
    EXPECT_FALSE(folder.Exists("racecalc/Autumn.season"));

    // Renamed: the file moves; a race may stay in the season it is in.
    Season renamed = golden;
    renamed.name = "Old birds";
    ASSERT_TRUE(StoreSeason(folder.path(), renamed, "Season 2024").Done());
    EXPECT_FALSE(folder.Exists("racecalc/Season 2024.season"));
    EXPECT_EQ(folder.Read("racecalc/Old birds.season"), TestData("season/Old birds.season"));
    ASSERT_TRUE(WithFailingSaves([&] { return !StoreSeason(folder.path(), fresh, std::nullopt).saved.ok; }));
    EXPECT_FALSE(folder.Exists("racecalc/Autumn.season"));
    // A rename is one step: when the old file cannot go, the new one is not written either.
    const std::string oldBirds = folder.Read("racecalc/Old birds.season");
    {
        const SaveFault fault(SavesOf("Old birds.season"), SaveStage::Replace);
        EXPECT_FALSE(StoreSeason(folder.path(), golden, "Old birds").saved.ok);
    }
    EXPECT_FALSE(folder.Exists("racecalc/Season 2024.season"));
    EXPECT_EQ(folder.Read("racecalc/Old birds.season"), oldBirds);

    folder.Write("racecalc/Youngsters.season", "Name=Youngsters\r\nRaceRatio=4\r\n");
    const SeasonStore damaged = StoreSeason(folder.path(), fresh, std::nullopt);
    EXPECT_EQ(std::tuple(damaged.message, damaged.problem.damage, damaged.problem.line),
              std::tuple(kSeasonFileDamaged, SeasonDamage::UnknownSetting, std::size_t{2}));
    EXPECT_EQ(folder.Read("racecalc/Youngsters.season"), "Name=Youngsters\r\nRaceRatio=4\r\n");
    EXPECT_FALSE(DeleteSeason(folder.path(), "Youngsters").ok);
    EXPECT_TRUE(DeleteSeason(folder.path(), "old BIRDS").ok);
    EXPECT_FALSE(folder.Exists("racecalc/Old birds.season"));
}

TEST(SeasonLayout, WindowLinesAndPrintedPagesOfTheSeasonAndOfARaceWithPrizes) {
    const GoldenFolder golden;
    const TextCatalogue& catalogue = golden.catalogue;
    const SeasonTexts texts = LoadSeasonTexts(catalogue);
    SeasonStandings standings = golden.Calculate(golden.season);
    SeasonTables tables = SeasonTablesOf(standings, texts, catalogue, SeasonDateText, ',');
    std::string window = LinesText(FixedWidthLines(tables.lofts)) + LinesText(FixedWidthLines(tables.races));
    // 50 pigeons: the races, 50 pigeons and 5 lofts flow over two pages, heads again on the second.
    for (std::size_t i = 7; i < 50; ++i) standings.standings.pigeons.push_back({i + 1, "R" + std::to_string(i), "L", 1, 1, 1});
    tables = SeasonTablesOf(standings, texts, catalogue, SeasonDateText, ',');
    std::string pages = PagesText(SeasonPages(tables, texts));

    // The result list of a race with prizes: the figures move left for the mark and the points.
    const Race bastogne = LoadRaces(golden.path()).races.at(0);
    const std::vector<ResultLine> lines = ReadResultFile(golden.path(), bastogne.name).lines;
    const RacePrizes& prizes = standings.races[0].prizes;
    pages += PagesText(ResultPages(bastogne, lines, LoadPrintTexts(catalogue), 1, 1, "04.05.2024", '.', &prizes));
    window += LinesText(ResultWindowLines(lines, kRaceInMiles, '.', &prizes, "P"));
    EXPECT_EQ(window, TestData("season/window.txt"));
    EXPECT_EQ(pages, TestData("season/pages.txt"));
}

} // namespace
} // namespace plumet
