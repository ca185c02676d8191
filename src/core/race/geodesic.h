#pragma once
// Distances between a loft and a release point on the WGS84 ellipsoid.
#include <string_view>

namespace plumet {

// Kilometres between two points in signed decimal degrees (north and east positive), by the
// Andoyer-Lambert approximation of the geodesic on WGS84. Equal points give 0.
double AndoyerLambertKm(double latitude1, double longitude1, double latitude2, double longitude2);

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
