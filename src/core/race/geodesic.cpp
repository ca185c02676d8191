#include "race/geodesic.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "releasepoints/coordinates.h"

namespace plumet {
namespace {

// The inverse problem is solved on the auxiliary sphere (reduced latitudes), after Karney's
// formulation: for a start azimuth alpha1 the geodesic is followed to the latitude of the
// second point, and the longitude it has gained there grows monotonically with alpha1, so a
// bisection on alpha1 always finds it, where Vincenty's iteration fails near antipodes. The two
// integrals along the path are smooth and are taken by Gauss-Legendre quadrature.

constexpr double kPi = std::numbers::pi;
constexpr double kF = kWgs84Flattening;
constexpr double kA = kWgs84EquatorialRadiusMetres;
constexpr double kB = kA * (1.0 - kF);
constexpr double kSecondEccentricitySquared = (kA * kA - kB * kB) / (kB * kB);

constexpr int kNodes = 24;
constexpr int kPieces = 2;

struct Quadrature {
    std::array<double, kNodes> x{};
    std::array<double, kNodes> w{};
};

const Quadrature& GaussLegendre() {
    static const Quadrature rule = [] {
        Quadrature q;
        for (int i = 0; i < kNodes; ++i) {
            double x = std::cos(kPi * (i + 0.75) / (kNodes + 0.5));
            double derivative = 1.0;
            for (int step = 0; step < 100; ++step) {
                double p0 = 1.0;
                double p1 = x;
                for (int k = 2; k <= kNodes; ++k) {
                    const double p2 = ((2.0 * k - 1.0) * x * p1 - (k - 1.0) * p0) / k;
                    p0 = p1;
                    p1 = p2;
                }
                derivative = kNodes * (x * p1 - p0) / (x * x - 1.0);
                const double dx = p1 / derivative;
                x -= dx;
                if (std::fabs(dx) < 1e-16) break;
            }
            q.x[static_cast<std::size_t>(i)] = x;
            q.w[static_cast<std::size_t>(i)] = 2.0 / ((1.0 - x * x) * derivative * derivative);
        }
        return q;
    }();
    return rule;
}

template <typename Integrand>
double Integrate(Integrand f, double from, double to) {
    const Quadrature& q = GaussLegendre();
    const double piece = (to - from) / kPieces;
    double sum = 0.0;
    for (int p = 0; p < kPieces; ++p) {
        const double lo = from + p * piece;
        const double half = piece / 2.0;
        const double mid = lo + half;
        for (int i = 0; i < kNodes; ++i)
            sum += half * q.w[static_cast<std::size_t>(i)] * f(mid + half * q.x[static_cast<std::size_t>(i)]);
    }
    return sum;
}

// Arc length on the ellipsoid, in units of b, of the stretch sigma1..sigma2 of a geodesic with k².
double ArcLength(double k2, double sigma1, double sigma2) {
    return Integrate([k2](double s) { return std::sqrt(1.0 + k2 * std::sin(s) * std::sin(s)); }, sigma1, sigma2);
}

struct Path {
    double lambda12 = 0.0; // longitude gained on the ellipsoid
    double k2 = 0.0;
    double sigma1 = 0.0;
    double sigma12 = 0.0;
};

// The geodesic leaving point 1 (reduced latitude sbet1/cbet1, sbet1 <= 0) with azimuth alpha1,
// followed until it first reaches the reduced latitude of point 2 heading north.
Path Follow(double alpha1, double sbet1, double cbet1, double sbet2, double cbet2) {
    const double salp1 = std::sin(alpha1);
    const double calp1 = std::cos(alpha1);
    const double salp0 = salp1 * cbet1; // Clairaut's constant
    const double calp0Squared = 1.0 - salp0 * salp0;
    Path path;
    path.k2 = kSecondEccentricitySquared * calp0Squared;

    const double sigma1 = std::atan2(sbet1, calp1 * cbet1);
    double calp2 = 0.0;
    if (cbet2 != cbet1 || std::fabs(sbet2) != -sbet1)
        calp2 = std::sqrt(std::max(0.0, calp1 * cbet1 * calp1 * cbet1 + (cbet2 * cbet2 - cbet1 * cbet1))) / cbet2;
    else
        calp2 = std::fabs(calp1); // |beta2| = |beta1|: the northward crossing mirrors the start
    const double sigma2 = std::atan2(sbet2, calp2 * cbet2);
    path.sigma1 = sigma1;
    path.sigma12 = std::atan2(std::max(0.0, std::sin(sigma2 - sigma1)), std::cos(sigma2 - sigma1));

    const double omega1 = std::atan2(salp0 * std::sin(sigma1), std::cos(sigma1));
    const double omega2 = std::atan2(salp0 * std::sin(sigma2), std::cos(sigma2));
    const double omega12 = std::atan2(std::max(0.0, std::sin(omega2 - omega1)), std::cos(omega2 - omega1));
    const double k2 = path.k2;
    const double i3 = Integrate(
        [k2](double s) { return (2.0 - kF) / (1.0 + (1.0 - kF) * std::sqrt(1.0 + k2 * std::sin(s) * std::sin(s))); },
        sigma1, sigma1 + path.sigma12);
    path.lambda12 = omega12 - kF * salp0 * i3;
    return path;
}

double Radians(double degrees) { return degrees * kPi / 180.0; }

} // namespace

double GeodesicDistanceMetres(double latitude1, double longitude1, double latitude2, double longitude2) {
    if (!std::isfinite(latitude1) || !std::isfinite(longitude1) || !std::isfinite(latitude2) ||
        !std::isfinite(longitude2))
        return 0.0;
    latitude1 = std::clamp(latitude1, -90.0, 90.0);
    latitude2 = std::clamp(latitude2, -90.0, 90.0);
    // The distance is the same after these symmetries: |longitude difference| in [0, 180],
    // the point farther from the equator first, and that one in the south.
    double lon12 = std::fmod(longitude2 - longitude1, 360.0);
    if (lon12 > 180.0) lon12 -= 360.0;
    if (lon12 < -180.0) lon12 += 360.0;
    const double lambda = Radians(std::fabs(lon12));
    if (std::fabs(latitude1) < std::fabs(latitude2)) std::swap(latitude1, latitude2);
    if (latitude1 > 0.0) {
        latitude1 = -latitude1;
        latitude2 = -latitude2;
    }
    const double beta1 = std::atan2((1.0 - kF) * std::sin(Radians(latitude1)), std::cos(Radians(latitude1)));
    const double beta2 = std::atan2((1.0 - kF) * std::sin(Radians(latitude2)), std::cos(Radians(latitude2)));
    const double sbet1 = std::sin(beta1);
    const double cbet1 = latitude1 == -90.0 ? 0.0 : std::cos(beta1);
    const double sbet2 = std::sin(beta2);
    const double cbet2 = std::fabs(latitude2) == 90.0 ? 0.0 : std::cos(beta2);

    // Along a meridian (or from a pole, where every direction is one).
    if (lambda == 0.0 || cbet1 == 0.0) return kB * ArcLength(kSecondEccentricitySquared, beta1, beta2);
    // Along the equator, as long as that is shorter than over a pole.
    if (latitude1 == 0.0 && latitude2 == 0.0 && lambda <= (1.0 - kF) * kPi) return kA * lambda;

    double lo = 0.0;
    double hi = kPi;
    for (int step = 0; step < 200; ++step) {
        const double mid = lo + (hi - lo) / 2.0;
        if (mid <= lo || mid >= hi) break;
        if (Follow(mid, sbet1, cbet1, sbet2, cbet2).lambda12 < lambda)
            lo = mid;
        else
            hi = mid;
    }
    const Path path = Follow(lo + (hi - lo) / 2.0, sbet1, cbet1, sbet2, cbet2);
    return kB * ArcLength(path.k2, path.sigma1, path.sigma1 + path.sigma12);
}

double GeodesicDistanceKm(std::string_view loftLatitude, std::string_view loftLongitude,
                          std::string_view releaseLatitude, std::string_view releaseLongitude) {
    const double latitude1 = CoordinateToDegrees(WithPlusMinusSign(loftLatitude, Axis::Latitude));
    const double longitude1 = CoordinateToDegrees(WithPlusMinusSign(loftLongitude, Axis::Longitude));
    const double latitude2 = CoordinateToDegrees(WithPlusMinusSign(releaseLatitude, Axis::Latitude));
    const double longitude2 = CoordinateToDegrees(WithPlusMinusSign(releaseLongitude, Axis::Longitude));
    return GeodesicDistanceMetres(latitude1, longitude1, latitude2, longitude2) / 1000.0;
}

namespace {

bool DigitsAreZero(std::string_view text) {
    if (text.size() <= 1) return true;
    return text.substr(1).find_first_not_of("0 ") == std::string_view::npos;
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
