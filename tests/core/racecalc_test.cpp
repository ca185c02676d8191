#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "core/app/fixedwidth.h"
#include "core/race/racecalc.h"
#include "core/clock/readoutfile.h"
#include "core/race/resultexport.h"
#include "core/race/resultfile.h"
#include "core/race/resultlayout.h"
#include "core/registers/rings.h"
#include "racetests.h"
#include "testfolder.h"

namespace plumet {
namespace {

// A read-out of `date` with fancier 12's clock `timer` (thirteen two-digit numbers: set, read
// out, clock time) and one pigeon for point 05; `arrival`: day, month, hour, minute, second.
std::vector<std::string> OnePigeon(const std::string& date, const std::string& timer, const std::string& arrival) {
    return {date, "1007012001Meier               N00000000E000000000", "20070121" + timer + "0",
            "3007012DV    2023012340000001M051" + arrival + std::string(28, '0') + "BL  01"};
}

Race MayRace(int nights = 0, int closedFromMinute = 0) {
    return {.name = PadRight("Spring 1", 30), .day = 1, .month = 5, .year = 2024, .clubName = "",
            .releasePointName = "", .releaseHour = 7, .overNight = nights > 0, .closedFromHour = 20,
            .closedFromMinute = closedFromMinute, .closedToHour = 6, .headerComment = "", .footerComment = "",
            .clubNumber = 7, .releasePointNumber = 5, .releaseLatitude = "N00000000",
            .releaseLongitude = "E000000000", .nights = nights, .flightWeek = 18};
}

DistanceTable Kilometres(std::initializer_list<std::pair<int, double>> fanciers) {
    DistanceTable table;
    for (const auto& [fancier, km] : fanciers) table.Set(fancier, 5, km, kEnteredInKm);
    return table;
}

// The last two digits of the serial and the flight time of each classified pigeon, ranked.
std::string Ranking(const RaceCalculation& calc) {
    std::string text;
    for (const PigeonEntry& p : calc.pigeons)
        if (!p.dataError) text += Mid(p.ring, 21, 22) + " " + p.flightTimeText + ";";
    return text;
}

// Each row: day | month | year | hour | minute | second | the seconds of the year they give.
TEST(RaceCalc, SecondsOfYearRollsOverAndFlightTimesReadHoursMinutesSeconds) {
    for (const auto& c : TableCells("race/secondsofyear.txt"))
        EXPECT_EQ(SecondsOfYear(std::stoi(c[0]), std::stoi(c[1]), std::stoi(c[2]), std::stoi(c[3]), std::stoi(c[4]), std::stoi(c[5])),
                  std::stoi(c[6])) << c[0] << "." << c[1];
    EXPECT_EQ(FlightTimeText(5 * 3600 + 3 * 60 + 7), "005.03.07");
}

// One row per case: the race's date, closed nights and the minute its closed period starts at
// 20 h; the read-out's date line, timer and arrival; the flight time, and the arrival's day and
// hour as the closed nights left them. 600 km each. A clock 60 s fast over 24 hours goes back
// 30 s 12 hours after basketing; clock dates take the year nearest the race.
TEST(RaceCalc, ClockCorrectionTheNightRuleAndTheYearOfClockDates) {
    std::istringstream table(JoinLinesCrLf(TableRows("race/flighttimes.txt", 1)));
    std::string name, date, timer, arrival, flight;
    int day = 0, hour = 0;
    Race race = MayRace();
    while (table >> name >> race.day >> race.month >> race.year >> race.nights >> race.closedFromMinute >> date >> timer >>
           arrival >> flight >> day >> hour) {
        race.overNight = race.nights > 0;
        RaceCalculation calc;
        ReadRaceInput(calc, race, OnePigeon(date, timer, arrival));
        EvaluatePigeons(calc, race, Kilometres({{12, 600.0}}));
        ASSERT_EQ(calc.pigeons.size(), 1u) << name;
        const PigeonEntry& pigeon = calc.pigeons[0];
        EXPECT_FALSE(pigeon.dataError) << name;
        EXPECT_EQ(std::tuple(pigeon.flightTimeText, pigeon.arrivalDay, pigeon.arrivalHour), std::tuple(flight, day, hour)) << name;
        EXPECT_DOUBLE_EQ(pigeon.speed, 600.0 * 1000 / static_cast<double>(pigeon.flightSeconds) * 60) << name;
    }
    EXPECT_TRUE(table.eof()) << "stopped after " << name;
}

// Pigeon 1 has no arrival, 2 came before the release, 3 at it, and 5 is in a clock read out the
// moment it was set; only 4, home before the night, is classified.
TEST(RaceCalc, DataErrors) {
    RaceCalculation calc;
    const Race race = MayRace(1);
    ReadRaceInput(calc, race, SplitLines(TestData("race/dataerrors.d00")));
    EvaluatePigeons(calc, race, Kilometres({{12, 300.0}, {13, 300.0}}));
    EXPECT_EQ(calc.pigeons.size(), 5u);
    EXPECT_EQ(Ranking(calc), "04 009.00.00;");
}

// The read-out: fancier 12 with pigeons of another club (1), another release point (2) and the
// race (3); fancier 30 with one of another point; fancier 40, another Meier, with a clock 60 s
// fast over 24 hours. The manual file of fancier 12 has another clock, but his first one still
// applies, and a broken line 5.
TEST(RaceCalc, LoftsArePickedByTheirNumbersAndOnlyWithPigeonsInTheRace) {
    const std::vector<std::string> readout = SplitLines(TestData("race/lofts.d00"));
    const std::vector<std::string> manual = SplitLines(TestData("race/lofts_wf012.man"));
    RaceCalculation calc;
    const Race race = MayRace();
    EXPECT_EQ(ReadRaceInput(calc, race, readout), 0u);
    EXPECT_EQ(ReadRaceInput(calc, race, manual), 5u); // where the broken line stands
    ASSERT_EQ(calc.fanciers.size(), 2u);
    EXPECT_EQ(std::pair(calc.fanciers[0].number2, calc.fanciers[1].number2), std::pair(12, 40));
    EvaluatePigeons(calc, race, Kilometres({{12, 100.0}, {40, 100.0}}));
    EXPECT_EQ(Ranking(calc), "03 005.00.00;05 010.59.30;06 011.00.00;");
}

// Over many ties: two equal speeds after a faster one keep their order, before it they change
// places, as the plain exchange sort leaves them.
TEST(RaceCalc, EqualSpeedsKeepTheOrderOfTheExchangeSort) {
    std::vector<double> speeds;
    for (int i = 0; i < 1500; ++i) speeds.push_back(static_cast<double>((i * 7919) % 97 + (i > 1200 ? i : 0)));
    std::string order;
    for (const std::size_t index : ExchangeSortOrder(speeds)) order += std::to_string(index) + "\n";
    EXPECT_EQ(order, TestData("race/exchangeorder.txt"));
}

TEST(RaceCalc, CalculateRaceReadsItsFilesWritesTheResultAndTheCounters) {
    TestFolder folder;
    Settings settings;
    settings.region = "012" + std::string(30, ' ');
    settings.federation = "052" + std::string(30, ' ');
    // "Spring 1" and "Empty"; read-out files of point 00 and 05 (either letter case) and a manual
    // file; fancier 13 has no arrival.
    folder.CopyData("race/calc");
    RaceList races = LoadRaces(folder.path());
    const DistanceTable distances = Kilometres({{12, 300.0}, {14, 200.0}});

    RaceCalcOutcome outcome = CalculateRace(races, 1, distances, folder.path(), settings, ',');
    EXPECT_TRUE(outcome.racesSaved.ok && outcome.resultSaved.ok);
    ASSERT_EQ(outcome.readingEnded.size(), 3u); // each file names where its reading ended
    EXPECT_EQ(ReadingEndedText("%1 (%2)", folder.path(), outcome.readingEnded[2]),
              (Path("racecalc") / "Spring 1_wf014.man").string() + " (5)");
    const std::string result = folder.Read("racecalc/Spring 1.flt");
    EXPECT_EQ(result, TestData("race/Spring 1 calculated.flt"));
    outcome = CalculateRace(races, 2, distances, folder.path(), settings, ',');
    EXPECT_EQ(folder.Read("racecalc/Empty.flt"), " 0 \r\n");
    // Spring 1 counts 3 pigeons entered, 2 classified, 3 fanciers; Empty none.
    EXPECT_EQ(folder.Read("racecalc/races.dat"), TestData("race/calcraces_counted.dat"));

    // A result file that cannot be written: neither file changes. (Inputs that cannot be read
    // are the command tests' table.)
    outcome = WithFailingSaves([&] { return CalculateRace(races, 1, distances, folder.path(), settings, ','); },
                               SavesOf("Spring 1.flt"));
    EXPECT_FALSE(outcome.resultSaved.ok);
    EXPECT_EQ(folder.Read("racecalc/races.dat"), TestData("race/calcraces_counted.dat"));
    EXPECT_EQ(folder.Read("racecalc/Spring 1.flt"), result);
}

// Races that cannot be right as stored, and counts that do not fit the race list's four-digit
// counters, are refused naming the race and the fields or the count; no file changes.
TEST(RaceCalc, ARaceThatCannotBeRightOrDoesNotFitIsRefusedNamingWhy) {
    TestFolder folder;
    Settings settings;
    settings.region = "012";
    settings.federation = "052";
    const struct { void (*change)(Race&); std::size_t pigeons; const char* said; } cases[] = {
        {[](Race& r) { r.nights = 1, r.closedFromHour = r.closedToHour = 0; }, 1,
         "Race Spring 1 goes over night, but its closed period from 00:00 to 00:00 does not run over midnight."},
        {[](Race& r) { r.nights = 1, r.releaseHour = 20, r.closedToHour = 4; }, 1,
         "The release time 20:00 of race Spring 1 is not before its closed period starts at 20:00."},
        {[](Race& r) { r.flightWeek = 54; }, 1, "The week 54 of race Spring 1 is no week"},
        {[](Race&) {}, 10500, "hold 10500 of its pigeons; a race takes at most 9999."},
        {[](Race&) {}, 20001, "hold 20001 of its pigeons"},
    };
    for (const auto& c : cases) {
        folder.Write("racecalc/races.dat", TestData("race/calc/racecalc/races.dat"));
        std::vector<std::string> lines = OnePigeon("0010524", "01050600000205060000060000", "0105120000");
        const std::string pigeon = lines.back();
        lines.insert(lines.end(), c.pigeons - 1, pigeon);
        folder.Write("race/W0125218.d00", JoinLinesCrLf(lines));
        RaceList races = LoadRaces(folder.path());
        c.change(races.races[0]);
        ASSERT_TRUE(SaveRaces(races, folder.path())); // stored so, and read back
        const std::string stored = folder.Read("racecalc/races.dat");
        races = LoadRaces(folder.path());
        const RaceCalcOutcome outcome = CalculateRace(races, 1, {}, folder.path(), settings, ',');
        EXPECT_NE(outcome.racesSaved.error.find(c.said), std::string::npos) << outcome.racesSaved.error;
        EXPECT_EQ(folder.Read("racecalc/races.dat"), stored) << c.said;
        EXPECT_FALSE(folder.Exists("racecalc/Spring 1.flt")) << c.said;
    }
}

const std::string kGoldenResult = TestData("race/Spring 1.flt");

TEST(ResultFile, ReadsAndWritesTheGoldenFileByteForByte) {
    TestFolder folder;
    folder.Write("racecalc/SPRING 1.FLT", kGoldenResult);
    const ResultFile file = ReadResultFile(folder.path(), PadRight("Spring 1", 30));
    ASSERT_EQ(file.status, ReadStatus::Ok);
    ASSERT_EQ(file.lines.size(), 3u);
    EXPECT_EQ(std::tuple(file.lines[0].flightTimeText, file.lines[0].flightSeconds, file.lines[2].flightTimeText),
              std::tuple("  5.03.07", 5 * 3600 + 3 * 60 + 7, "100.10.00"));

    Race race;
    race.name = "Spring 1";
    ASSERT_TRUE(WriteResultFile(folder.path(), race, file.lines, ',').ok);
    EXPECT_EQ(folder.Read("racecalc/SPRING 1.FLT"), kGoldenResult);
}

TEST(ResultFile, TakesEitherSeparatorStopsAtABrokenLineAndKeepsItsColumns) {
    ResultLine line{"Meier", "DV 01234 23  1234567M", "BL", 5 * 3600, "", 600.125, 833.16, false};
    const std::string dotted = ResultFileLine(line, '.');
    EXPECT_EQ(dotted.substr(45), "0050000" "0600.125" "0833.160");
    const ResultFile file = ParseResultFile({" 4 ", dotted, dotted.substr(0, 67), dotted});
    ASSERT_EQ(file.lines.size(), 1u);
    EXPECT_DOUBLE_EQ(file.lines[0].distanceKm, 600.125);

    // Figures beyond their columns are written as the largest that fits.
    line.flightSeconds = 1200 * 3600;
    line.speed = 12345.678;
    const std::string wide = ResultFileLine(line, ',');
    EXPECT_EQ(wide.size(), kResultLineLength);
    EXPECT_EQ(wide.substr(45), "9990000" "0600,125" "9999,999");
}


std::vector<ResultLine> Pigeons(std::size_t count) {
    std::vector<ResultLine> lines(count, {"Meier", "DV 01234 23  1234567M", "BL", 3600, "  1.00.00", 100.0, 0.0, false});
    for (std::size_t i = 0; i < count; ++i) lines[i].speed = 1666.667 - static_cast<double>(i);
    return lines;
}

Race KmRace() {
    Race race;
    race.name = PadRight("Spring 1", 30);
    race.closedFromHour = 20;
    race.closedToHour = 6;
    race.meanDistance = "0250";
    return race;
}

// The pages of a range of 29, 30 and 70 pigeons, then the head and figures in kilometres and in
// miles: one golden file each.
TEST(ResultLayout, PagesHold29RowsPrintTheChosenRangeAndTheHeadInEitherUnit) {
    const PrintTexts texts = LoadPrintTexts(ShippedCatalogue("club.txt"));
    std::string ranges;
    for (const auto& [pigeons, page] : {std::pair{29, 1}, {30, 2}, {70, 2}})
        ranges += PagesText(ResultPages(KmRace(), Pigeons(pigeons), texts, page, page, "01.05.2024", ','));
    EXPECT_EQ(ranges, TestData("race/pages.txt"));
    EXPECT_EQ(PageCount(0), 1u); // an empty race still prints its head

    Race race = KmRace();
    std::vector<ResultLine> lines = Pigeons(2);
    lines[1].speed = 5000.0;
    std::string heads = PagesText(ResultPages(race, lines, texts, 1, 1, "01.05.2024", ','));
    race.distanceUnit = kRaceInMiles;
    race.overNight = true;
    lines[0].distanceKm = 20.1125; // 12 miles 880 yards
    heads += PagesText(ResultPages(race, lines, texts, 1, 1, "01.05.2024", '.'));
    EXPECT_EQ(heads, TestData("race/heads.txt"));
    // What the list was not read whole from stands on every page above the foot.
    const std::string noted = PagesText(ResultPages(KmRace(), Pigeons(30), texts, 1, 2, "", ',', nullptr, {"Cut short."}));
    for (const char* page : {"1", "2"}) EXPECT_NE(noted.find(page + std::string(" 500 6650 0 bold 7 Cut short.\n")), std::string::npos);
}

// Each line in kilometres, in miles and with a data error, under English heads and under longer
// German ones, which spread the columns (each head over its own and a blank before the next).
TEST(ResultLayout, WindowLinesAlignTheSeparatorsAndLongHeadsSpreadTheColumns) {
    const ResultLine line{PadRight("Meier", 20), "DV 01234 23  1234567M", "BL  ", 0, "  5.03.07", 123.456, 456.789, false};
    std::vector<ResultLine> lines{line, line, line};
    lines[1].distanceKm = 20.1125;
    lines[2].dataError = true;
    const auto heads = ResultWindowHeads({"Pos.", "Fancier", "Ring", "Colour", "Flight time", "Distance", "Speed", "Rem."},
                                         {"in km", "in m/min"});
    std::vector<std::string> window(heads.begin(), heads.end());
    window.push_back(ResultWindowLine(1, line, kRaceInKm, ','));
    window.push_back(ResultWindowLine(12, lines[1], kRaceInMiles, '.'));
    ResultLine failed = lines[1];
    failed.dataError = true;
    window.push_back(ResultWindowLine(3, failed, kRaceInKm, ','));
    EXPECT_EQ(LinesText(window), TestData("race/window.txt"));

    const std::array<std::string, 2> prizeHeads{"Preis-Kennzeichen", "As-Punkte"};
    const std::array<std::string, 8> german{"Platz", "Z\xFC" "chter", "Ringnummer", "", "Flugzeit", "Entfernung", "Geschwindigkeit", ""};
    const std::array<std::string, 2> units{"in m/Min.", "in Yd/Min."};
    const RacePrizes prizes{"Season", 4, 3, {10000, 5000}, {333, 667}};
    const auto spread = ResultWindowHeads(german, units, &prizeHeads);
    std::vector<std::string> shown(spread.begin(), spread.end());
    for (const std::string& text : ResultWindowLines(lines, kRaceInKm, ',', &prizes, "P", ResultWindowSpreadOf(german, units, &prizeHeads)))
        shown.push_back(text);
    EXPECT_EQ(LinesText(shown), TestData("race/window-spread.txt"));
}

// On paper the columns stay where they are: a German head too wide for its column wraps at its
// blanks, or within a word that is wider still; upper heads stack upward, lower ones downward.
TEST(ResultLayout, PrintedHeadsTooWideForTheirColumnsWrap) {
    PrintTexts texts = LoadPrintTexts(ShippedCatalogue("club.de.txt"));
    texts.upper[4] = "Flugzeit gesamt", texts.upper[6] = "Geschwindigkeit", texts.lower[1] = "Name des Z\xFC" "chters und Schlag";
    const auto measure = [](const PrintText& as, std::string_view text) { return static_cast<int>(text.size()) * as.pointSize * 4; };
    const RacePrizes prizes{"Saison", 4, 3, {10000}, {333}};
    std::vector<PrintPage> heads; // the heads alone, of a race and of a race of a season
    for (const RacePrizes* of : {static_cast<const RacePrizes*>(nullptr), &prizes}) {
        heads.push_back(ResultPages(KmRace(), Pigeons(1), texts, 1, 1, "01.05.2024", ',', of).at(0));
        std::erase_if(heads.back().texts, [](const PrintText& t) { return t.room == 0; });
        heads.back().texts = WrapPrintTexts(heads.back().texts, measure);
    }
    EXPECT_EQ(PagesText(heads), TestData("race/heads-wrapped.de.txt"));
}

TEST(ResultLayout, PageRangeChecksInOrder) {
    const struct { const char *first, *last; int message, focus; } cases[] = {{"", "2", 1, 1}, {"3", "2", 2, 1}, {"0", "2", 3, 1}, {"2", "4", 4, 2}, {"2", "3", 0, 1}};
    for (const auto& c : cases) {
        const PageRangeCheck check = CheckPageRange(c.first, c.last, 1, 3);
        EXPECT_EQ(std::pair(check.message, check.focus), std::pair(c.message, c.focus)) << c.first << "-" << c.last;
    }
}


// "Spring 1" of the golden race list, in either unit, with the golden result file beside it; its
// names hold "&", "<", ">", quotes, a comma, umlauts, and a formula holding ";".
Race GoldenRace(TestFolder& folder, int unit) {
    folder.Write("racecalc/Spring 1.flt", TestData("export/Spring 1.flt"));
    const std::optional<Race> race = LineToRace(SplitLines(TestData("race/races.dat")).at(1));
    EXPECT_TRUE(race.has_value());
    Race golden = race.value_or(Race{});
    golden.distanceUnit = unit;
    return golden;
}

// A spreadsheet must show each cell as text, never run it, and never split it at "," or ";".
// Each row: a text | whether it is a figure | its cell. A carriage return cannot stand in a row.
TEST(ResultExport, CsvCellsAreNeverFormulasAndStayWhole) {
    for (const auto& c : TableCells("export/csvcells.txt")) EXPECT_EQ(CsvCell(c[0], c[1] == "figure"), c[2]) << c[0];
    EXPECT_EQ(CsvCell("\rCR", false), "\"'\rCR\"");
}

TEST(ResultExport, GoldenRaceAsCsvAndHtmlInKilometresAndMiles) {
    // The state stands in every row of the table and under the page's title.
    const struct { int unit; const char* stem; const char* log; } cases[] = {
        {kRaceInKm, "export/Spring 1", ""},
        {kRaceInMiles, "export/Spring 1 miles", "Amended 16.05.2024 20:15:00\r\nBy: Anna\r\nReason: a clock, read out late\r\n\r\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stem);
        TestFolder folder;
        const Race race = GoldenRace(folder, c.unit);
        if (*c.log) folder.Write("racecalc/Spring 1.log", c.log);
        const Path csv = folder.path() / "list.csv";
        const Path html = folder.path() / "list.html";
        const ExportOutcome outcome = ExportResults(folder.path(), race, LoadExportTexts(ShippedCatalogue("club.txt")), "15.05.2024",
                                                    {{ExportFormat::Csv, csv}, {ExportFormat::Html, html}});
        ASSERT_EQ(outcome.status, ExportStatus::Written) << outcome.error;
        EXPECT_EQ(ReadWholeFile(csv).bytes, TestData(std::string(c.stem) + ".csv"));
        EXPECT_EQ(ReadWholeFile(html).bytes, TestData(std::string(c.stem) + ".html"));
    }
}

TEST(ResultExport, WritesNothingWithoutAResultFileOrWhenATargetFails) {
    TestFolder folder;
    const ExportTexts texts = LoadExportTexts(ShippedCatalogue("club.txt"));
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
