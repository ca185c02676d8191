#include <gtest/gtest.h>

#include "app/fieldrules.h"
#include "releasepoints/coordinates.h"

namespace plumet {
namespace {

const PositionFields kValid = {{"N", "89", "59", "59", "99"}, {"E", "179", "59", "59", "99"}};

TEST(Coordinates, ChecksRunInEntryOrderStopJustBelowTheirLimitsAndRefuseWhatWouldLengthenTheRecord) {
    EXPECT_FALSE(FirstInvalidPart(kValid));
    const auto fault = [](auto change) {
        PositionFields p = kValid;
        change(p);
        return FirstInvalidPart(p);
    };
    EXPECT_EQ(fault([](auto& p) { p.latitude.minutes = "60", p.longitude.degrees = "180"; }),
              CoordinatePart::LatitudeMinutes);
    EXPECT_EQ(fault([](auto& p) { p.longitude.degrees = "180"; }), CoordinatePart::LongitudeDegrees);
    EXPECT_EQ(fault([](auto& p) { p.latitude.sign = "E", p.longitude.sign = "N"; }), CoordinatePart::LatitudeSign);
    EXPECT_EQ(fault([](auto& p) { p.longitude.sign = "N"; }), CoordinatePart::LongitudeSign);
    EXPECT_EQ(fault([](auto& p) { p.longitude.seconds = "059"; }), CoordinatePart::LongitudeSeconds);
    EXPECT_FALSE(IsValidLatitudeDegrees("90") || IsValidHundredths("100") || IsValidSeconds("60"));
    for (const char* notANumber : {"", "-1", "+5", "4 5"}) EXPECT_FALSE(IsValidMinutes(notANumber)) << notANumber;
    for (const char* sign : {"n", "", "NN", " N"}) EXPECT_FALSE(IsValidLatitudeSign(sign)) << sign;
}

TEST(Coordinates, TextMeansSignedDegreesAndSplitsBackIntoTheFields) {
    EXPECT_NEAR(CoordinateToDegrees("+51301550"), 51.504305555, 1e-8);
    EXPECT_NEAR(CoordinateToDegrees("S05301550"), -5.504305555, 1e-8);
    EXPECT_NEAR(CoordinateToDegrees("W123000036"), -(123 + 0.36 / 3600), 1e-10);
    EXPECT_EQ(CoordinateToDegrees("N5130152"), 0.0);
    EXPECT_EQ(WithPlusMinusSign("S05301550", Axis::Latitude), "-05301550");
    EXPECT_EQ(SplitCoordinateText("N51301525", Axis::Latitude), (CoordinateFields{"N", "51", "30", "15", "25"}));
    EXPECT_EQ(CoordinateFieldsForDisplay("S12  3000", Axis::Latitude), (CoordinateFields{"S", "12", "00", "30", "00"}));
    EXPECT_EQ(FilteredText(U"NnSsEe+-\b", LoftLatitudeSignKey), "NNSS+-");
    EXPECT_EQ(FilteredText(U"eEwWn\u0117", LoftLongitudeSignKey), "EEWW"); // no folding beyond ASCII
    const PositionFields saved = PositionOnSave({{"", "7", "", "5", "1"}, {" ", "7", "30", "", ""}}, '+', '+',
                                                SignLetters::CapitalsOnly);
    EXPECT_EQ(CoordinateText(saved.latitude) + CoordinateText(saved.longitude), "+07000501+007300000");
}

} // namespace
} // namespace plumet
