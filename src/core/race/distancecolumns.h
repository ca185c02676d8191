#pragma once
// The columns of an entry line of a club's distance table, after its two count lines.
#include "core/app/fixedwidth.h"

namespace plumet::DistanceColumn {

inline constexpr Column Fancier{1, 3};
inline constexpr Column ReleasePoint{4, 5};
inline constexpr Column Separator{6, 6}; // a blank
inline constexpr Column UnitFlag{7, 7};  // "0" entered in km, "1" in miles
inline constexpr Column Gap{8, 8};       // a blank
// "0000.0000"; a figure of 10000 or more runs on to the end of the line.
inline constexpr Column Distance{9, 17};

} // namespace plumet::DistanceColumn
