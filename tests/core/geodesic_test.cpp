#include <gtest/gtest.h>

#include <cmath>

#include "core/race/geodesic.h"

namespace plumet {
namespace {

TEST(Geodesic, TheWorkedExampleIs111Point2397KmWithHemisphereLettersOrSigns) {
    const double km = GeodesicDistanceKm("N51000000", "E007000000", "N50000000", "E007000000");
    EXPECT_NEAR(km, 111.2397, 0.00005);
    EXPECT_DOUBLE_EQ(GeodesicDistanceKm("+51000000", "+007000000", "+50000000", "+007000000"), km);
    EXPECT_DOUBLE_EQ(GeodesicDistanceKm("S51000000", "W007000000", "-50000000", "-007000000"), km);
    EXPECT_NEAR(GeodesicDistanceKm("N00000000", "W001000000", "N00000000", "E001000000"), 222.6390, 0.0001);
    EXPECT_DOUBLE_EQ(GeodesicDistanceKm("N5100000", "E007000000", "N00000000", "E007000000"), 0.0); // 8 characters
    // Against exact WGS84 distances the approximation stays within metres on race distances.
    EXPECT_NEAR(AndoyerLambertKm(51, 7, 50, 7), 111.238681, 0.002);
    EXPECT_NEAR(AndoyerLambertKm(40.6, -73.8, 49.0166667, 2.55), 5853.226, 1.0);
}

TEST(Geodesic, EqualPlacesAreZeroAntipodesFiniteAndZeroTextsMeanNoPosition) {
    EXPECT_EQ(GeodesicDistanceKm("N50293000", "E005520000", "N50293000", "E005520000"), 0.0);
    EXPECT_TRUE(std::isfinite(AndoyerLambertKm(0, 0, 0, 180)));
    EXPECT_TRUE(LatitudeIsZero("+00000000") && LatitudeIsZero("         ") && LongitudeIsZero("W000000000"));
    EXPECT_FALSE(LatitudeIsZero("N00000001") || LongitudeIsZero("E007000000"));
    EXPECT_TRUE(IsPositionText("-89595999", "+179595999"));
    for (const auto& [lat, lon] : {std::pair{"N90000000", "E007000000"}, {"E51000000", "E007000000"},
                                   {"N51600000", "E007000000"}, {"N51000000", "E180000000"}})
        EXPECT_FALSE(IsPositionText(lat, lon)) << lat << " " << lon;
}

} // namespace
} // namespace plumet
