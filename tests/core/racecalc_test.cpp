#include <gtest/gtest.h>

#include <array>

#include "app/fixedwidth.h"
#include "race/racecalc.h"
#include "race/readoutfile.h"
#include "registers/rings.h"
#include "testfolder.h"

namespace plumet {
namespace {

std::string Two(int value) { return ZeroPadded(value, 2); }
std::string Three(int value) { return ZeroPadded(value, 3); }

// Synchronised 1 May 06:00, read out 3 May 06:00 with the clock exact.
using Timer = std::array<int, 13>;
constexpr Timer kExactClock{1, 5, 6, 0, 0, 3, 5, 6, 0, 0, 6, 0, 0};

std::string LoftLine(int club, int fancier, const std::string& name) {
    return "1" + Three(club) + Three(fancier) + "001" + PadRight(name, 20) + "N00000000" + "E000000000";
}
std::string TimerLine(int club, int fancier, const Timer& timer) {
    std::string line = "2" + Three(club) + Three(fancier) + "1";
    for (int value : timer) line += Two(value);
    return line + "0";
}
// Arrival day, month, hour, minute, second.
std::string PigeonLine(int club, int fancier, int serial, int point, std::array<int, 5> arrival) {
    std::string line = "3" + Three(club) + Three(fancier) + "DV    2023" + "01234" + ZeroPadded(serial, 7) + "M" +
                       Two(point) + "1";
    for (int value : arrival) line += Two(value);
    return line + std::string(28, '0') + "BL  " + "01";
}

Race MayRace(int nights = 0) {
    Race race;
    race.name = PadRight("Spring 1", 30);
    race.day = 1;
    race.month = 5;
    race.year = 2024;
    race.releaseHour = 7;
    race.clubNumber = 7;
    race.releasePointNumber = 5;
    race.flightWeek = 18;
    race.nights = nights;
    race.overNight = nights > 0;
    race.closedFromHour = 20;
    race.closedToHour = 6;
    race.releaseLatitude = "N00000000";
    race.releaseLongitude = "E000000000";
    return race;
}

DistanceTable Kilometres(std::initializer_list<std::pair<int, double>> fanciers) {
    DistanceTable table;
    for (const auto& [fancier, km] : fanciers) table.Set(fancier, 5, km, kEnteredInKm);
    return table;
}

std::string Serial(const PigeonEntry& pigeon) { return Mid(pigeon.ring, 16, 22); }

TEST(RaceCalc, SecondsOfYearRollsOverAndFlightTimesReadHoursMinutesSeconds) {
    const struct {
        int day, month, year, hour, minute, second;
        std::int32_t seconds;
    } cases[] = {
        {1, 1, 2024, 0, 0, 7, 7},
        {1, 3, 2024, 1, 0, 0, (31 + 29) * 86400 + 3600},
        {0, 3, 2023, 0, 0, 0, (31 + 27) * 86400}, // day 0: the last day of February
        {1, 13, 2023, 0, 0, 0, 365 * 86400},      // month 13: January of the next year
        {1, 1, 99, 0, 0, 1, 0},                   // no calendar date
    };
    for (const auto& c : cases)
        EXPECT_EQ(SecondsOfYear(c.day, c.month, c.year, c.hour, c.minute, c.second), c.seconds) << c.day << "." << c.month;
    EXPECT_EQ(FlightTimeText(5 * 3600 + 3 * 60 + 7), "005.03.07");
    EXPECT_EQ(FlightTimeText(125 * 3600 + 59), "125.00.59");
}

TEST(RaceCalc, ClockCorrectionAndTheNightRule) {
    const struct {
        const char* name;
        int nights;
        Timer timer;
        std::array<int, 5> arrival;
        const char* flight;
        std::array<int, 2> arrivalDayHour; // after the closed period moved it
    } cases[] = {
        // 60 s fast over 24 hours: 12 hours after basketing the arrival goes back 30 s.
        {"fast clock", 0, {1, 5, 6, 0, 0, 2, 5, 6, 0, 0, 6, 1, 0}, {1, 5, 18, 0, 0}, "010.59.30", {1, 18}},
        {"over night", 1, kExactClock, {2, 5, 9, 0, 0}, "016.00.00", {2, 9}},
        {"in the closed period", 1, kExactClock, {1, 5, 20, 45, 10}, "013.00.00", {2, 6}},
        {"closed minutes do not count", 1, kExactClock, {1, 5, 19, 59, 0}, "002.59.00", {1, 19}},
    };
    for (const auto& c : cases) {
        RaceCalculation calc;
        const Race race = MayRace(c.nights);
        ReadRaceInput(calc, race, {"0010524", LoftLine(7, 12, "Meier"), TimerLine(7, 12, c.timer),
                                   PigeonLine(7, 12, 1, 5, c.arrival)});
        EvaluatePigeons(calc, race, Kilometres({{12, 600.0}}));
        ASSERT_EQ(calc.pigeons.size(), 1u) << c.name;
        const PigeonEntry& pigeon = calc.pigeons[0];
        EXPECT_FALSE(pigeon.dataError) << c.name;
        EXPECT_EQ(pigeon.flightTimeText, c.flight) << c.name;
        EXPECT_EQ(pigeon.arrivalDay, c.arrivalDayHour[0]) << c.name;
        EXPECT_EQ(pigeon.arrivalHour, c.arrivalDayHour[1]) << c.name;
        EXPECT_DOUBLE_EQ(pigeon.speed, 600.0 * 1000 / static_cast<double>(pigeon.flightSeconds) * 60) << c.name;
    }
    RaceCalculation calc;
    const Race race = MayRace(1);
    ReadRaceInput(calc, race, {"0", LoftLine(7, 12, "Meier"), TimerLine(7, 12, kExactClock),
                               PigeonLine(7, 12, 1, 5, {2, 5, 9, 0, 0})});
    EvaluatePigeons(calc, race, Kilometres({{12, 600.0}}));
    EXPECT_NEAR(calc.pigeons[0].speed, 625.0, 1e-9);
}

TEST(RaceCalc, DataErrorsAndTheNightMessageRing) {
    const Timer setAtReadOut{1, 5, 6, 0, 0, 1, 5, 6, 0, 0, 6, 0, 0};
    RaceCalculation calc;
    const Race race = MayRace(1);
    ReadRaceInput(calc, race, {"0", LoftLine(7, 12, "Meier"), TimerLine(7, 12, kExactClock),
                               PigeonLine(7, 12, 1, 5, {0, 5, 9, 0, 0}),     // no arrival
                               PigeonLine(7, 12, 2, 5, {1, 5, 6, 30, 0}),    // before the release
                               PigeonLine(7, 12, 3, 5, {1, 5, 7, 0, 0}),     // at the release
                               PigeonLine(7, 12, 4, 5, {1, 5, 16, 0, 0}),    // not longer than the night
                               LoftLine(7, 13, "Huber"), TimerLine(7, 13, setAtReadOut),
                               PigeonLine(7, 13, 5, 5, {2, 5, 9, 0, 0})});
    EvaluatePigeons(calc, race, Kilometres({{12, 300.0}, {13, 300.0}}));
    ASSERT_EQ(calc.pigeons.size(), 5u);
    EXPECT_EQ(calc.Classified(), 1u);
    EXPECT_EQ(Serial(calc.pigeons[0]), "0000004");
    EXPECT_EQ(calc.pigeons[0].flightTimeText, "009.00.00"); // left as it was
    ASSERT_EQ(calc.NightRings().size(), 1u);
    EXPECT_EQ(calc.NightRings()[0], TrimBlanks(FormatRingText(calc.pigeons[0].ring, "01")));
    for (std::size_t i = 1; i < 5; ++i) EXPECT_TRUE(calc.pigeons[i].dataError) << Serial(calc.pigeons[i]);
    EXPECT_EQ(ResultLinesOf(calc).size(), 1u);
}

TEST(RaceCalc, LoftsArePickedByTheirNumbersAndOnlyWithPigeonsInTheRace) {
    const Timer fast{1, 5, 6, 0, 0, 2, 5, 6, 0, 0, 6, 1, 0};
    const std::vector<std::string> readout = {
        "0010524",
        LoftLine(7, 12, "Meier"), TimerLine(7, 12, kExactClock),
        PigeonLine(8, 12, 1, 5, {1, 5, 12, 0, 0}), // another club
        PigeonLine(7, 12, 2, 6, {1, 5, 12, 0, 0}), // another release point
        PigeonLine(7, 12, 3, 5, {1, 5, 12, 0, 0}),
        LoftLine(7, 30, "Schulz"), TimerLine(7, 30, kExactClock),
        PigeonLine(7, 30, 4, 6, {1, 5, 12, 0, 0}),
        LoftLine(7, 40, "Meier"), TimerLine(7, 40, fast), // the same name, another fancier
        PigeonLine(7, 40, 5, 5, {1, 5, 18, 0, 0}),
    };
    // The manual file of fancier 12 with another clock: his first clock still applies.
    const std::vector<std::string> manual = {"0010524", LoftLine(7, 12, "Meier"), TimerLine(7, 12, fast),
                                             PigeonLine(7, 12, 6, 5, {1, 5, 18, 0, 0}), "3broken",
                                             PigeonLine(7, 12, 7, 5, {1, 5, 18, 0, 0})};
    RaceCalculation calc;
    const Race race = MayRace();
    ReadRaceInput(calc, race, readout);
    ReadRaceInput(calc, race, manual);
    ASSERT_EQ(calc.fanciers.size(), 2u);
    EXPECT_EQ(calc.fanciers[0].number2, 12);
    EXPECT_EQ(calc.fanciers[1].number2, 40);
    ASSERT_EQ(calc.pigeons.size(), 3u);
    EvaluatePigeons(calc, race, Kilometres({{12, 100.0}, {40, 100.0}}));
    EXPECT_EQ(Serial(calc.pigeons[0]), "0000003");
    EXPECT_EQ(Serial(calc.pigeons[1]), "0000005");
    EXPECT_EQ(calc.pigeons[1].flightTimeText, "010.59.30");
    EXPECT_EQ(Serial(calc.pigeons[2]), "0000006");
    EXPECT_EQ(calc.pigeons[2].flightTimeText, "011.00.00");
}

TEST(RaceCalc, EqualSpeedsKeepTheOrderOfTheExchangeSort) {
    // a and b equally fast, c faster: the sort leaves c, b, a.
    RaceCalculation calc;
    const Race race = MayRace();
    ReadRaceInput(calc, race, {"0", LoftLine(7, 1, "A"), TimerLine(7, 1, kExactClock),
                               PigeonLine(7, 1, 1, 5, {1, 5, 9, 0, 0}), PigeonLine(7, 1, 2, 5, {1, 5, 9, 0, 0}),
                               LoftLine(7, 2, "B"), TimerLine(7, 2, kExactClock),
                               PigeonLine(7, 2, 3, 5, {1, 5, 9, 0, 0})});
    EvaluatePigeons(calc, race, Kilometres({{1, 100.0}, {2, 200.0}}));
    std::string order;
    for (const PigeonEntry& pigeon : calc.pigeons) order += Serial(pigeon).back();
    EXPECT_EQ(order, "321");

    // Against the plain loops: many ties among rising, falling and scattered speeds.
    std::vector<std::vector<double>> cases(3);
    for (int i = 0; i < 3000; ++i) cases[0].push_back(static_cast<double>((i * 7919) % 97));
    for (int i = 0; i < 300; ++i) cases[0].push_back(static_cast<double>(i));
    unsigned seed = 1;
    for (int i = 0; i < 800; ++i) cases[1].push_back(static_cast<double>((seed = seed * 1103515245 + 12345) >> 16 & 7));
    for (int i = 0; i < 400; ++i) cases[2].push_back(static_cast<double>(400 - i) / 3.0 + (i % 5 == 0 ? 0.5 : 0.0));
    for (const std::vector<double>& speeds : cases) {
        std::vector<double> plain = speeds;
        std::vector<std::size_t> expected(plain.size());
        for (std::size_t i = 0; i < plain.size(); ++i) expected[i] = i;
        for (std::size_t i = 0; i < plain.size(); ++i)
            for (std::size_t j = i + 1; j < plain.size(); ++j)
                if (plain[i] < plain[j]) {
                    std::swap(plain[i], plain[j]);
                    std::swap(expected[i], expected[j]);
                }
        EXPECT_EQ(ExchangeSortOrder(speeds), expected);
    }
}

TEST(RaceCalc, CalculateRaceReadsItsFilesWritesTheResultAndTheCounters) {
    TestFolder folder;
    Settings settings;
    settings.region = "012" + std::string(30, ' ');
    settings.federation = "052" + std::string(30, ' ');
    RaceList races;
    races.races = {MayRace(), MayRace()};
    races.races[1].name = PadRight("Empty", 30);
    races.races[1].flightWeek = 19;
    ASSERT_TRUE(SaveRaces(races, folder.path()).ok);
    const std::string crlf = "\r\n";
    folder.Write("race/W0125218.d00", "0010524" + crlf + LoftLine(7, 12, "Meier") + crlf +
                                          TimerLine(7, 12, kExactClock) + crlf +
                                          PigeonLine(7, 12, 1, 5, {1, 5, 12, 0, 0}) + crlf);
    folder.Write("race/w0125218.D05", "0010524" + crlf + LoftLine(7, 13, "Huber") + crlf +
                                          TimerLine(7, 13, kExactClock) + crlf +
                                          PigeonLine(7, 13, 2, 5, {0, 0, 0, 0, 0}) + crlf);
    folder.Write("racecalc/Spring 1_wf014.man", "0010524" + crlf + LoftLine(7, 14, "Maier") + crlf +
                                                    TimerLine(7, 14, kExactClock) + crlf +
                                                    PigeonLine(7, 14, 3, 5, {1, 5, 11, 0, 0}) + crlf);
    const DistanceTable distances = Kilometres({{12, 300.0}, {14, 200.0}});

    RaceCalcOutcome outcome = CalculateRace(races, 1, distances, folder.path(), settings, ',');
    EXPECT_TRUE(outcome.racesSaved.ok && outcome.resultSaved.ok);
    EXPECT_TRUE(outcome.nightMessage.empty());
    const std::string result = folder.Read("racecalc/Spring 1.flt");
    EXPECT_EQ(result, " 2 \r\n" + PadRight("Meier", 20) + ResultLinesOf(outcome.calculation)[0].ringText +
                          "BL  " "005" "00" "00" "0300,000" "1000,000\r\n" + PadRight("Maier", 20) +
                          ResultLinesOf(outcome.calculation)[1].ringText + "BL  " "004" "00" "00" "0200,000" "0833,333\r\n");
    const Race stored = LoadRaces(folder.path()).races[0];
    EXPECT_EQ(stored.pigeonsEntered, 3);
    EXPECT_EQ(stored.pigeonsClassified, 2);
    EXPECT_EQ(stored.fanciersEntered, 3);

    outcome = CalculateRace(races, 2, distances, folder.path(), settings, ',');
    EXPECT_EQ(folder.Read("racecalc/Empty.flt"), " 0 \r\n");
    EXPECT_EQ(LoadRaces(folder.path()).races[1].pigeonsEntered, 0);
}

} // namespace
} // namespace plumet
