// What fields take and how small values are written: entry fields, fixed columns, coordinates,
// decimals, flight weeks and port names.
#include <gtest/gtest.h>

#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"
#include "core/app/weeks.h"
#include "core/clock/portlist.h"
#include "core/race/decimals.h"
#include "core/releasepoints/coordinates.h"

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

TEST(Weeks, WeekOneHoldsTheFirstOfJanuaryAndWeeksStartOnSunday) {
    struct Case {
        int year, month, day, week;
    };
    for (const Case c : {Case{2024, 1, 6, 1}, {2024, 1, 7, 2},   // a Monday first of January
                         {2023, 1, 7, 1}, {2023, 1, 8, 2},       // a Sunday first of January
                         {2022, 1, 1, 1}, {2022, 1, 2, 2},       // a Saturday: week 1 is one day long
                         {2023, 12, 31, 53}, {2000, 12, 31, 54}, // every year reaches 53; 2000 even 54
                         {2024, 6, 1, 22}, {2024, 6, 2, 23}})
        EXPECT_EQ(WeekNumber(c.year, c.month, c.day), c.week) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(WeekText(MakeDateTime(2024, 1, 7)), "02");
    EXPECT_EQ(LastWeekOfYear(2026) * 100 + LastWeekOfYear(2000), 5354);
}

TEST(FindComPort, NormalisesNumbersAndWindowsPortNamesAndMatchesDeviceNames) {
    const std::vector<std::string> ports = {"COM 1", "COM 3", "COM 10", "COM ttyUSB0"};
    const std::vector<std::pair<std::string, int>> cases = {
        {"3", 1},      {"03", 1},     {" 3 ", 1},          {"COM3", 1},          {"com03", 1},
        {"COM10", 2},  {"\\\\.\\COM10", 2}, {"\\\\.\\com10", 2}, {"ttyUSB0", 3},     {"4", -1},
        {"", -1},      {"COM", -1},   {"256", -1},         {"COM256", -1},       {"\\\\.\\ttyUSB0", -1},
        {"99999999999999999999", -1}};
    for (const auto& [configured, index] : cases) EXPECT_EQ(FindComPort(ports, configured), index) << configured;
    EXPECT_EQ(NormalisedPortId("\\\\.\\COM10") + "|" + PortIdOfEntry("COM 3") + "|" + PortIdOfEntry("COM"), "10|3|");
}

} // namespace
} // namespace plumet
