#include <gtest/gtest.h>

#include <cmath>

#include "race/geodesic.h"

namespace plumet {
namespace {

TEST(Geodesic, AgreesWithTheWorkedExampleAndTheEllipsoidToAFewMetres) {
    EXPECT_NEAR(GeodesicDistanceKm("N51000000", "E007000000", "N50000000", "E007000000"), 111.2397, 0.00005);
    // Against exact WGS84 distances the approximation stays within metres on race distances.
    EXPECT_NEAR(AndoyerLambertKm(51, 7, 50, 7), 111.238681, 0.002);
    EXPECT_NEAR(AndoyerLambertKm(51.2, 6.8, 41.38, 2.17), AndoyerLambertKm(41.38, 2.17, 51.2, 6.8), 1e-9);
    EXPECT_NEAR(AndoyerLambertKm(40.6, -73.8, 49.0166667, 2.55), 5853.226, 1.0);
}

TEST(Geodesic, EqualPlacesAreZeroAndAntipodesStayFinite) {
    EXPECT_EQ(AndoyerLambertKm(50.5, 7.25, 50.5, 7.25), 0.0);
    EXPECT_EQ(GeodesicDistanceKm("N50293000", "E005520000", "N50293000", "E005520000"), 0.0);
    const double antipodes = AndoyerLambertKm(0, 0, 0, 180);
    EXPECT_TRUE(std::isfinite(antipodes));
    EXPECT_GT(antipodes, 19900.0);
}

TEST(Geodesic, CoordinateTextsWithHemisphereLettersOrSigns) {
    // Loft at 51 N 7 E, release point at 50 N 7 E.
    const double km = GeodesicDistanceKm("N51000000", "E007000000", "N50000000", "E007000000");
    EXPECT_NEAR(km, 111.2397, 0.00005);
    EXPECT_DOUBLE_EQ(GeodesicDistanceKm("+51000000", "+007000000", "+50000000", "+007000000"), km);
    // South and west mirror the north and east.
    EXPECT_DOUBLE_EQ(GeodesicDistanceKm("S51000000", "W007000000", "-50000000", "-007000000"), km);
    // West is negative: two degrees along the equator.
    EXPECT_NEAR(GeodesicDistanceKm("N00000000", "W001000000", "N00000000", "E001000000"), 222.6390, 0.0001);
    // A text of the wrong length counts as 0 degrees.
    EXPECT_DOUBLE_EQ(GeodesicDistanceKm("N5100000", "E007000000", "N00000000", "E007000000"), 0.0);
}

TEST(Geodesic, PositionTextsAreCheckedLikeTypedCoordinates) {
    EXPECT_TRUE(IsPositionText("N51000000", "E007000000"));
    EXPECT_TRUE(IsPositionText("-89595999", "+179595999"));
    EXPECT_FALSE(IsPositionText("N90000000", "E007000000"));
    EXPECT_FALSE(IsPositionText("E51000000", "E007000000"));
    EXPECT_FALSE(IsPositionText("N51000000", "N007000000"));
    EXPECT_FALSE(IsPositionText("N51600000", "E007000000"));
    EXPECT_FALSE(IsPositionText("N5100000", "E007000000"));
    EXPECT_FALSE(IsPositionText("n51000000", "E007000000"));
    EXPECT_FALSE(IsPositionText("N51000000", "E180000000"));
}

TEST(Geodesic, ZeroCoordinatesMeanNoPosition) {
    EXPECT_TRUE(LatitudeIsZero("N00000000"));
    EXPECT_TRUE(LatitudeIsZero("+00000000"));
    EXPECT_FALSE(LatitudeIsZero("N00000001"));
    EXPECT_TRUE(LongitudeIsZero("W000000000"));
    EXPECT_FALSE(LongitudeIsZero("E007000000"));
    // Blank digits, as a record without coordinates holds them.
    EXPECT_TRUE(LatitudeIsZero("         "));
    EXPECT_TRUE(LongitudeIsZero(""));
}

} // namespace
} // namespace plumet
