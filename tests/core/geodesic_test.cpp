#include <gtest/gtest.h>

#include "race/geodesic.h"

namespace plumet {
namespace {

double Dms(double d, double m, double s) { return d + m / 60.0 + s / 3600.0; }

TEST(Geodesic, KnownDistancesOnTheWgs84Ellipsoid) {
    // Quarter meridian and quarter equator.
    EXPECT_NEAR(GeodesicDistanceMetres(0, 0, 90, 0), 10001965.729, 0.001);
    EXPECT_NEAR(GeodesicDistanceMetres(0, 0, 0, 90), 10018754.171, 0.001);
    // Flinders Peak to Buninyong, the classic test line of the inverse problem.
    EXPECT_NEAR(GeodesicDistanceMetres(-Dms(37, 57, 3.72030), Dms(144, 25, 29.52440), -Dms(37, 39, 10.15610),
                                       Dms(143, 55, 35.38390)),
                54972.271, 0.001);
    // New York JFK to Paris CDG.
    EXPECT_NEAR(GeodesicDistanceMetres(40.6, -73.8, Dms(49, 1, 0), Dms(2, 33, 0)), 5853226.256, 0.002);
    // One degree of meridian between 50 and 51 degrees north.
    EXPECT_NEAR(GeodesicDistanceMetres(51, 7, 50, 7), 111238.681, 0.001);
}

TEST(Geodesic, NearlyAntipodalPointsWhereVincentyFailsToConverge) {
    EXPECT_NEAR(GeodesicDistanceMetres(0, 0, 0.5, 179.5), 19936288.579, 0.002);
    // Along the equator to the antipode the shortest way leads over a pole.
    EXPECT_NEAR(GeodesicDistanceMetres(0, 0, 0, 180), 2 * 10001965.729, 0.002);
    // Just off the equator the distance does not jump.
    EXPECT_NEAR(GeodesicDistanceMetres(0, 0, 1e-9, 179.5), GeodesicDistanceMetres(0, 0, 0, 179.5), 0.001);
    EXPECT_NEAR(GeodesicDistanceMetres(-90, 0, 90, 0), 2 * 10001965.729, 0.002);
}

TEST(Geodesic, EqualPlacesAreZeroAndTheOrderDoesNotMatter) {
    EXPECT_EQ(GeodesicDistanceMetres(50.5, 7.25, 50.5, 7.25), 0.0);
    EXPECT_EQ(GeodesicDistanceMetres(90, 10, 90, -170), 0.0);
    EXPECT_EQ(GeodesicDistanceKm("N50293000", "E005520000", "N50293000", "E005520000"), 0.0);
    const double there = GeodesicDistanceMetres(51.2, 6.8, 41.38, 2.17);
    EXPECT_NEAR(GeodesicDistanceMetres(41.38, 2.17, 51.2, 6.8), there, 1e-6);
    EXPECT_NEAR(GeodesicDistanceMetres(-51.2, -6.8, -41.38, -2.17), there, 1e-6);
    EXPECT_NEAR(GeodesicDistanceMetres(51.2, 366.8, 41.38, 2.17), there, 1e-6);
}

TEST(Geodesic, CoordinateTextsWithHemisphereLettersOrSigns) {
    // Loft at 51 N 7 E, release point at 50 N 7 E.
    const double km = GeodesicDistanceKm("N51000000", "E007000000", "N50000000", "E007000000");
    EXPECT_NEAR(km, 111.2387, 0.00005);
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
