// What fields take and how small values are written: entry fields, fixed columns, coordinates,
// decimals, flight weeks, port names, and the columns of every record kind.
#include <gtest/gtest.h>

#include <tuple>

#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"
#include "core/app/weeks.h"
#include "core/clock/portlist.h"
#include "core/race/decimals.h"
#include "core/race/distancecolumns.h"
#include "core/race/distances.h"
#include "core/race/racecolumns.h"
#include "core/race/races.h"
#include "core/clock/readoutcolumns.h"
#include "core/clock/readoutfile.h"
#include "core/race/resultcolumns.h"
#include "core/race/resultfile.h"
#include "core/records/coordinates.h"

namespace plumet {
namespace {

TEST(FieldRules, DigitFieldsTakeAsciiDigitsAndBackspaceLeavingPadsAndCutsEnteringTrims) {
    EXPECT_EQ(FilteredText(U"1a2\b-3 \u00FC\u0663+", DigitKey), "123");
    EXPECT_EQ(DigitKey(kBackspaceKey), '\b');
    EXPECT_EQ(NumberOnLeave("7", 3) + "|" + NumberOnLeave("   ", 3), "007|");
    EXPECT_EQ(TextOnLeave("  Meier ", 6) + TextOnLeave("abcdef", 4), "Meier abcd");
    EXPECT_EQ(PaddedIfNotEmpty(" SPA", 5) + PaddedIfNotEmpty("", 5), " SPA ");
    EXPECT_EQ(TextOnEnter("  Zur Post  "), "Zur Post");
}

TEST(FixedWidthField, ReadsAndWritesOnlyItsOwnColumns) {
    constexpr Column name{4, 8};
    EXPECT_EQ(Field("001Smith  X", name) + "|" + Field("001Sm", name) + "|" + Field("001", name), "Smith|Sm|");
    for (const auto& [before, value, after] : {std::tuple{"001Smith  X", "Jo", "001Jo     X"},
                                               {"001Jo     X", "Andersen", "001Ander  X"}, {"01", "Li", "01 Li   "}}) {
        std::string record = before;
        SetField(record, name, value);
        EXPECT_EQ(record, after);
    }
}

// Each row: a text | its day, month and year, or "-" for no date.
TEST(DottedDate, SplitsOnlyTwoDigitDayAndMonthWithTwoOrFourYearDigits) {
    for (const auto& c : TableCells("fields/dotteddates.txt")) {
        const auto d = SplitDottedDate(c[0]);
        EXPECT_EQ(d ? std::string(d->day) + " " + std::string(d->month) + " " + std::string(d->year) : "-", c[1]) << c[0];
    }
}

// The fancier and release point tests run the checks through their dialogs' fields; here the
// order between the two halves and what would lengthen a record.
TEST(Coordinates, ChecksRunInEntryOrderAndRefuseWhatWouldLengthenTheRecord) {
    const PositionFields valid = {{"N", "89", "59", "59", "99"}, {"E", "179", "59", "59", "99"}};
    EXPECT_FALSE(FirstInvalidPart(valid));
    PositionFields p = valid, q = valid, r = valid;
    p.latitude.minutes = "60", p.longitude.degrees = "180";
    q.latitude.sign = "E", q.longitude.sign = "N";
    r.longitude.seconds = "059"; // in range, but one character too long
    EXPECT_EQ(FirstInvalidPart(p), CoordinatePart::LatitudeMinutes);
    EXPECT_EQ(FirstInvalidPart(q), CoordinatePart::LatitudeSign);
    EXPECT_EQ(FirstInvalidPart(r), CoordinatePart::LongitudeSeconds);
    for (const char* notANumber : {"", "-1", "+5", "4 5"}) EXPECT_FALSE(IsValidMinutes(notANumber)) << notANumber;
    EXPECT_EQ(FilteredText(U"NnSsEe+-\b", LoftLatitudeSignKey), "NNSS+-");
    EXPECT_EQ(FilteredText(U"eEwWn\u0117", LoftLongitudeSignKey), "EEWW"); // no folding beyond ASCII
    EXPECT_EQ(CoordinateFieldsForDisplay("S12  3000", Axis::Latitude), (CoordinateFields{"S", "12", "00", "30", "00"}));
}

// The distance tests write and read both separators; here rounding, signs and what is refused.
TEST(Decimals, WritersRoundAndSignReadersTakeCommaOrPointAndGuessAtNothingElse) {
    EXPECT_EQ(FormatDecimal(12345.6, 4, 4, '.') + "|" + FormatDecimal(0.00005001, 4, 4, '.') + "|" +
                  FormatDecimal(-1.5, 4, 1, ',') + "|" + FormatDecimal(-0.00001, 4, 2, '.'),
              "12345.6000|0000.0001|-0001,5|0000.00");
    EXPECT_EQ(FileDecimalSeparator(U'\u066B'), '.'); // Arabic decimal separator: readers know only two
    EXPECT_DOUBLE_EQ(*ParseDecimal(" -3,5 "), -3.5);
    EXPECT_DOUBLE_EQ(*ParseDecimal("+7."), 7.0);
    for (const char* bad : {"", ",", "1.234,5", "12a", "1 2"}) EXPECT_FALSE(ParseDecimal(bad)) << bad;
}

// Each row of the table: year | month | day | its week.
TEST(Weeks, WeekOneHoldsTheFirstOfJanuaryAndWeeksStartOnSunday) {
    for (const auto& c : TableCells("fields/weeks.txt"))
        EXPECT_EQ(WeekNumber(std::stoi(c[0]), std::stoi(c[1]), std::stoi(c[2])), std::stoi(c[3])) << c[0] << "-" << c[1] << "-" << c[2];
    EXPECT_EQ(WeekText(MakeDateTime(2024, 1, 7)), "02");
    EXPECT_EQ(LastWeekOfYear(2026) * 100 + LastWeekOfYear(2000), 5354);
}

TEST(FindComPort, NormalisesNumbersAndWindowsPortNamesAndMatchesDeviceNames) {
    const std::vector<std::string> ports = {"COM 1", "COM 3", "COM 10", "COM ttyUSB0"};
    for (const auto& c : TableCells("fields/comports.txt")) // the port as configured | the index it finds
        EXPECT_EQ(FindComPort(ports, c[0]), std::stoi(c[1])) << c[0];
    EXPECT_EQ(NormalisedPortId("\\\\.\\COM10") + "|" + PortIdOfEntry("COM 3") + "|" + PortIdOfEntry("COM"), "10|3|");
}

TEST(RecordColumns, EachRecordKindIsCoveredByItsFieldsWithoutGapOrOverlap) {
    // Fields listed in record order that must cover columns `first` to `last` without gap or overlap.
    struct Tiling {
        const char* what;
        std::vector<Column> fields;
        std::size_t first, last;
    };
    namespace date = ReadoutDateColumn;
    namespace loft = ReadoutFancierColumn;
    namespace timer = ReadoutTimerColumn;
    namespace pigeon = ReadoutPigeonColumn;
    namespace race = RaceColumn;
    namespace result = ResultColumn;
    namespace distance = DistanceColumn;
    const Tiling tilings[] = {
        {"date line", {date::Kind, date::Day, date::Month, date::Year}, 1, kDateLineLength},
        {"loft line",
         {loft::Kind, loft::Club, loft::Fancier, loft::ArrivalCount, loft::Name, loft::Latitude, loft::Longitude},
         1, kLoftLineLength},
        // The export drops the last hundredth of each coordinate.
        {"latitude parts",
         {loft::LatitudeDegrees, loft::LatitudeMinutes, loft::LatitudeSeconds, loft::LatitudeTenths},
         loft::Latitude.first, loft::Latitude.last - 1},
        {"longitude parts",
         {loft::LongitudeDegrees, loft::LongitudeMinutes, loft::LongitudeSeconds, loft::LongitudeTenths},
         loft::Longitude.first, loft::Longitude.last - 1},
        {"timer line",
         {timer::Kind, timer::Club, timer::Fancier, timer::Flag, timer::BasketingDay, timer::BasketingMonth,
          timer::BasketingHour, timer::BasketingMinute, timer::BasketingSecond, timer::ReadoutDay,
          timer::ReadoutMonth, timer::ReadoutHour, timer::ReadoutMinute, timer::ReadoutSecond, timer::ClockHour,
          timer::ClockMinute, timer::ClockSecond, timer::ClockFlag},
         1, kTimerLineLength},
        {"pigeon line",
         {pigeon::Kind, pigeon::Club, pigeon::Fancier, pigeon::Ring, pigeon::ReleasePoint, pigeon::Valid,
          pigeon::ArrivalDay, pigeon::ArrivalMonth, pigeon::ArrivalHour, pigeon::ArrivalMinute, pigeon::ArrivalSecond,
          pigeon::Flags, pigeon::PackedDigits, pigeon::Reserved, pigeon::Colour, pigeon::RingFormat},
         1, kArrivalLineLength},
        {"race line",
         {race::Name, race::Day, race::Month, race::Year, race::ClubName, race::ReleasePointName, race::ReleaseHour,
          race::ReleaseMinute, race::DistanceUnit, race::OverNight, race::ClosedFromHour, race::ClosedFromMinute,
          race::ClosedToHour, race::ClosedToMinute, race::HeaderComment, race::FooterComment, race::ClubNumber,
          race::ReleasePointNumber, race::ReleaseLatitude, race::ReleaseLongitude, race::MeanDistance,
          race::PigeonsEntered, race::PigeonsClassified, race::FanciersEntered, race::Nights, race::FlightWeek},
         1, kRaceLineLength},
        {"result line",
         {result::FancierName, result::Ring, result::Colour, result::FlightHours, result::FlightMinutes,
          result::FlightSeconds, result::Distance, result::Speed},
         1, kResultLineLength},
        {"distance line",
         {distance::Fancier, distance::ReleasePoint, distance::Separator, distance::UnitFlag, distance::Gap,
          distance::Distance},
         1, DistanceLine(1, 1, kEnteredInKm, 12.5, '.').size()},
    };
    for (const Tiling& tiling : tilings) {
        SCOPED_TRACE(tiling.what);
        std::size_t next = tiling.first;
        for (const Column& field : tiling.fields) {
            EXPECT_EQ(field.first, next);
            EXPECT_LE(field.first, field.last);
            next = field.last + 1;
        }
        EXPECT_EQ(next, tiling.last + 1);
    }
}

} // namespace
} // namespace plumet
