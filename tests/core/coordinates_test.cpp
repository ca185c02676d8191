#include <gtest/gtest.h>

#include "app/fieldrules.h"
#include "releasepoints/coordinates.h"

namespace plumet {
namespace {

const PositionFields kValid = {{"N", "89", "59", "59", "99"}, {"E", "179", "59", "59", "99"}};

TEST(Coordinates, RangeChecksStopJustBelowTheirLimitAndRefuseNonNumbers) {
    EXPECT_TRUE(IsValidLatitudeDegrees("89") && IsValidLongitudeDegrees("179") && IsValidMinutes("59") &&
                IsValidSeconds("59") && IsValidHundredths("99"));
    EXPECT_FALSE(IsValidLatitudeDegrees("90") || IsValidLongitudeDegrees("180") || IsValidMinutes("60") ||
                 IsValidSeconds("60") || IsValidHundredths("100"));
    for (const char* notANumber : {"", "  ", "-1", "+5", "5a", "4 5"}) EXPECT_FALSE(IsValidMinutes(notANumber)) << notANumber;
    for (const char* sign : {"N", "S", "+", "-"}) EXPECT_TRUE(IsValidLatitudeSign(sign));
    for (const char* sign : {"E", "W", "n", "", "NN", " N"}) EXPECT_FALSE(IsValidLatitudeSign(sign)) << sign;
    EXPECT_TRUE(IsValidLongitudeSign("W"));
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
    p = kValid;
    p.longitude.seconds = "059"; // in range, but it would lengthen the record
    EXPECT_EQ(FirstInvalidPart(p), CoordinatePart::LongitudeSeconds);
}

TEST(Coordinates, TextMeansSignedDegrees) {
    EXPECT_NEAR(CoordinateToDegrees("+51301550"), 51.504305555, 1e-8);
    for (const char* text : {"-05301550", "S05301550"}) EXPECT_NEAR(CoordinateToDegrees(text), -5.504305555, 1e-8);
    for (const char* text : {"+05301550", "N05301550"}) EXPECT_NEAR(CoordinateToDegrees(text), 5.504305555, 1e-8);
    EXPECT_NEAR(CoordinateToDegrees("W123000036"), -(123 + 0.36 / 3600), 1e-10);
    for (const std::string zero : {"N5130152", "", "          "}) EXPECT_EQ(CoordinateToDegrees(zero), 0.0);
    EXPECT_EQ(WithPlusMinusSign("S05301550", Axis::Latitude), "-05301550");
    EXPECT_EQ(WithPlusMinusSign("E007050000", Axis::Longitude), "+007050000");
    EXPECT_EQ(WithPlusMinusSign("E05301550", Axis::Latitude), "E05301550");
}

TEST(Coordinates, SignKeysAndLeavingTheFields) {
    EXPECT_EQ(FilteredText(U"NnSsEe+-\b", LatitudeSignKey), "NS+-");
    EXPECT_EQ(FilteredText(U"NnSsEe+-\b", LoftLatitudeSignKey), "NNSS+-");
    EXPECT_EQ(FilteredText(U"eEwWn\u0117", LoftLongitudeSignKey), "EEWW"); // no folding beyond ASCII
    EXPECT_EQ(LongitudeSignKey(U'\b'), '\b');
    EXPECT_EQ(SignOnLeave("w", 'W', SignLetters::FoldLowerCase), "W");

    const PositionFields saved = PositionOnSave({{"", "7", "", "5", "1"}, {" ", "7", "30", "", ""}}, '+', '+',
                                                SignLetters::CapitalsOnly);
    EXPECT_EQ(CoordinateText(saved.latitude), "+07000501");
    EXPECT_EQ(CoordinateText(saved.longitude), "+007300000");
    EXPECT_FALSE(FirstInvalidPart(saved));
}

TEST(Coordinates, StoredTextSplitsBackAndBlankPartsShowDefaults) {
    EXPECT_EQ(SplitCoordinateText("N51301525", Axis::Latitude), (CoordinateFields{"N", "51", "30", "15", "25"}));
    EXPECT_EQ(CoordinateText(SplitCoordinateText("E007050000", Axis::Longitude)), "E007050000");
    EXPECT_EQ(CoordinateFieldsForDisplay("", Axis::Longitude), (CoordinateFields{"W", "000", "00", "00", "00"}));
    EXPECT_EQ(CoordinateFieldsForDisplay("S12  3000", Axis::Latitude), (CoordinateFields{"S", "12", "00", "30", "00"}));
}

} // namespace
} // namespace plumet
