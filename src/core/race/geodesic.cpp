#include "core/race/geodesic.h"

#include <cmath>
#include <string>

#include "core/app/fixedwidth.h"
#include "core/records/coordinates.h"

namespace plumet {
namespace {

// Distances must agree with every other installation of the club system, so the formula is
// the system's own Andoyer-Lambert approximation, with its constants as written.
constexpr double kPi = 3.14159265358979;
constexpr double kF = 1.0 / 298.257223563;
constexpr double kAKm = 6378137.0 / 1000.0;

double Square(double x) { return x * x; }

} // namespace

double AndoyerLambertKm(double latitude1, double longitude1, double latitude2, double longitude2) {
    const double f = (latitude2 + latitude1) / 2.0 * kPi / 180.0;
    const double g = (latitude1 - latitude2) / 2.0 * kPi / 180.0;
    const double l = (longitude1 - longitude2) / 2.0 * kPi / 180.0;
    const double s = Square(std::sin(g)) * Square(std::cos(l)) + Square(std::cos(f)) * Square(std::sin(l));
    const double c = Square(std::cos(g)) * Square(std::cos(l)) + Square(std::sin(f)) * Square(std::sin(l));
    // Equal places would divide zero by zero; antipodes leave no room for the correction terms.
    if (s <= 0.0) return 0.0;
    if (c <= 0.0) return kPi * kAKm;
    const double omega = std::atan(std::sqrt(s / c));
    const double d = 2.0 * omega * kAKm;
    const double r = std::sqrt(s * c) / omega;
    const double h1 = (3.0 * r - 1.0) / (2.0 * c);
    const double h2 = (3.0 * r + 1.0) / (2.0 * s);
    return d * (1.0 + kF * h1 * Square(std::sin(f)) * Square(std::cos(g)) -
                kF * h2 * Square(std::cos(f)) * Square(std::sin(g)));
}

double GeodesicDistanceKm(std::string_view loftLatitude, std::string_view loftLongitude,
                          std::string_view releaseLatitude, std::string_view releaseLongitude) {
    const double latitude1 = CoordinateToDegrees(WithPlusMinusSign(loftLatitude, Axis::Latitude));
    const double longitude1 = CoordinateToDegrees(WithPlusMinusSign(loftLongitude, Axis::Longitude));
    const double latitude2 = CoordinateToDegrees(WithPlusMinusSign(releaseLatitude, Axis::Latitude));
    const double longitude2 = CoordinateToDegrees(WithPlusMinusSign(releaseLongitude, Axis::Longitude));
    return AndoyerLambertKm(latitude1, longitude1, latitude2, longitude2);
}

namespace {

bool DigitsAreZero(std::string_view text) {
    return AfterFirstChar(text).find_first_not_of("0 ") == std::string_view::npos;
}

} // namespace

bool IsPositionText(std::string_view latitudeText, std::string_view longitudeText) {
    if (latitudeText.size() != kLatitudeTextLength || longitudeText.size() != kLongitudeTextLength) return false;
    const PositionFields fields{SplitCoordinateText(latitudeText, Axis::Latitude),
                                SplitCoordinateText(longitudeText, Axis::Longitude)};
    return !FirstInvalidPart(fields);
}

bool LatitudeIsZero(std::string_view latitudeText) { return DigitsAreZero(latitudeText); }
bool LongitudeIsZero(std::string_view longitudeText) { return DigitsAreZero(longitudeText); }

} // namespace plumet
