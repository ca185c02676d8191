#pragma once
// Distances between a loft and a release point on the WGS84 ellipsoid.
#include <string_view>

namespace plumet {

inline constexpr double kWgs84EquatorialRadiusMetres = 6378137.0;
inline constexpr double kWgs84Flattening = 1.0 / 298.257223563;

// Length in metres of the shortest path on the ellipsoid between two points in signed decimal
// degrees (north and east positive). Exact to well below a millimetre for any two points,
// antipodal ones included; two equal points give 0.
double GeodesicDistanceMetres(double latitude1, double longitude1, double latitude2, double longitude2);

// The same in kilometres, not rounded, from four coordinate texts (loft first) whose first
// character is "N", "S", "E", "W", "+" or "-". A text of unexpected length counts as 0 degrees.
double GeodesicDistanceKm(std::string_view loftLatitude, std::string_view loftLongitude,
                          std::string_view releaseLatitude, std::string_view releaseLongitude);

// A latitude (9 characters) and a longitude (10) that pass the coordinate checks: a sign
// character of their axis and digit parts of their widths and ranges.
bool IsPositionText(std::string_view latitudeText, std::string_view longitudeText);

// A coordinate whose digits are all zero means that no position is known. Blank digits, as an
// old record without coordinates holds them, count as zero too.
bool LatitudeIsZero(std::string_view latitudeText);
bool LongitudeIsZero(std::string_view longitudeText);

} // namespace plumet
