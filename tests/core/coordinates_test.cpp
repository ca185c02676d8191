#include <gtest/gtest.h>

#include "app/fieldrules.h"
#include "releasepoints/coordinates.h"

namespace plumet {
namespace {

PositionFields Position(CoordinateFields lat, CoordinateFields lon) { return {std::move(lat), std::move(lon)}; }
const PositionFields kValid = Position({"N", "89", "59", "59", "99"}, {"E", "179", "59", "59", "99"});

TEST(Coordinates, RangeChecksStopJustBelowTheirLimit) {
    EXPECT_TRUE(IsValidLatitudeDegrees("89"));
    EXPECT_FALSE(IsValidLatitudeDegrees("90"));
    EXPECT_TRUE(IsValidLongitudeDegrees("179"));
    EXPECT_FALSE(IsValidLongitudeDegrees("180"));
    EXPECT_TRUE(IsValidMinutes("59"));
    EXPECT_FALSE(IsValidMinutes("60"));
    EXPECT_FALSE(IsValidSeconds("60"));
    EXPECT_TRUE(IsValidHundredths("99"));
    EXPECT_FALSE(IsValidHundredths("100"));
    for (const char* notANumber : {"", "  ", "-1", "+5", "5a", "4 5"}) EXPECT_FALSE(IsValidMinutes(notANumber)) << notANumber;
    for (const char* sign : {"N", "S", "+", "-"}) EXPECT_TRUE(IsValidLatitudeSign(sign));
    for (const char* sign : {"E", "W", "n", "", "NN", " N"}) EXPECT_FALSE(IsValidLatitudeSign(sign)) << sign;
    for (const char* sign : {"E", "W", "+", "-"}) EXPECT_TRUE(IsValidLongitudeSign(sign));
    EXPECT_FALSE(IsValidLongitudeSign("N"));
}

TEST(Coordinates, ChecksRunInEntryOrderAndReportTheFirstFault) {
    EXPECT_FALSE(FirstInvalidPart(kValid));
    PositionFields p = kValid;
    p.latitude.minutes = "60";
    p.longitude.degrees = "180";
    EXPECT_EQ(FirstInvalidPart(p), CoordinatePart::LatitudeMinutes);
    p.latitude.minutes = "00";
    EXPECT_EQ(FirstInvalidPart(p), CoordinatePart::LongitudeDegrees);
    p = kValid;
    p.latitude.sign = "E";
    p.longitude.sign = "N";
    EXPECT_EQ(FirstInvalidPart(p), CoordinatePart::LatitudeSign);
    p.latitude.sign = "S";
    EXPECT_EQ(FirstInvalidPart(p), CoordinatePart::LongitudeSign);
    // A part wider than its field passes the range test but would lengthen the record.
    p = kValid;
    p.longitude.seconds = "059";
    EXPECT_EQ(FirstInvalidPart(p), CoordinatePart::LongitudeSeconds);
    p = kValid;
    p.latitude.degrees = "7";
    EXPECT_EQ(FirstInvalidPart(p), CoordinatePart::LatitudeDegrees);
}

TEST(Coordinates, TextMeansSignedDegrees) {
    EXPECT_NEAR(CoordinateToDegrees("+51301550"), 51.504305555, 1e-8);
    for (const char* negative : {"-05301550", "S05301550"}) EXPECT_NEAR(CoordinateToDegrees(negative), -5.504305555, 1e-8);
    for (const char* positive : {"+05301550", "N05301550"}) EXPECT_NEAR(CoordinateToDegrees(positive), 5.504305555, 1e-8);
    EXPECT_NEAR(CoordinateToDegrees("W123000036"), -(123 + 0.36 / 3600), 1e-10);
    EXPECT_NEAR(CoordinateToDegrees("E007050000"), 7 + 5.0 / 60, 1e-12);
    EXPECT_EQ(CoordinateToDegrees("N5130152"), 0.0);
    EXPECT_EQ(CoordinateToDegrees(""), 0.0);
    EXPECT_EQ(CoordinateToDegrees(std::string(10, ' ')), 0.0);
    EXPECT_EQ(WithPlusMinusSign("S05301550", Axis::Latitude), "-05301550");
    EXPECT_EQ(WithPlusMinusSign("E007050000", Axis::Longitude), "+007050000");
    EXPECT_EQ(WithPlusMinusSign("E05301550", Axis::Latitude), "E05301550");
}

TEST(Coordinates, SignKeysAndLeavingFields) {
    EXPECT_EQ(LatitudeSignKey(U'N'), 'N');
    EXPECT_FALSE(LatitudeSignKey(U'n'));
    EXPECT_FALSE(LatitudeSignKey(U'E'));
    EXPECT_EQ(LoftLatitudeSignKey(U's'), 'S');
    EXPECT_EQ(LoftLongitudeSignKey(U'e'), 'E');
    EXPECT_EQ(LongitudeSignKey(U'-'), '-');
    EXPECT_EQ(LongitudeSignKey(U'\b'), '\b');
    EXPECT_FALSE(LoftLongitudeSignKey(U'x'));
    EXPECT_FALSE(LoftLongitudeSignKey(U'\u0117')); // e with dot, not folded to E
    EXPECT_EQ(FilteredText(U"sn+X", LoftLatitudeSignKey), "SN+");

    EXPECT_EQ(CoordinateNumberOnLeave("7", 2), "07");
    EXPECT_EQ(CoordinateNumberOnLeave("7", 3), "007");
    EXPECT_EQ(CoordinateNumberOnLeave("", 3), "000");
    EXPECT_EQ(SignOnLeave(" ", '+', SignLetters::CapitalsOnly), "+");
    EXPECT_EQ(SignOnLeave("w", 'W', SignLetters::FoldLowerCase), "W");
    EXPECT_EQ(SignOnLeave("w", 'W', SignLetters::CapitalsOnly), "w");

    const PositionFields saved =
        PositionOnSave(Position({"", "7", "", "5", "1"}, {" ", "7", "30", "", ""}), '+', '+', SignLetters::CapitalsOnly);
    EXPECT_EQ(CoordinateText(saved.latitude), "+07000501");
    EXPECT_EQ(CoordinateText(saved.longitude), "+007300000");
    EXPECT_FALSE(FirstInvalidPart(saved));
}

TEST(Coordinates, StoredTextSplitsBackAndBlankPartsShowDefaults) {
    EXPECT_EQ(CoordinateText(SplitCoordinateText("E007050000", Axis::Longitude)), "E007050000");
    EXPECT_EQ(SplitCoordinateText("N51301525", Axis::Latitude), (CoordinateFields{"N", "51", "30", "15", "25"}));
    EXPECT_EQ(CoordinateFieldsForDisplay(std::string(9, ' '), Axis::Latitude), DefaultCoordinateFields(Axis::Latitude));
    EXPECT_EQ(CoordinateFieldsForDisplay("", Axis::Longitude), (CoordinateFields{"W", "000", "00", "00", "00"}));
    EXPECT_EQ(CoordinateFieldsForDisplay("S12  3000", Axis::Latitude), (CoordinateFields{"S", "12", "00", "30", "00"}));
}

} // namespace
} // namespace plumet
