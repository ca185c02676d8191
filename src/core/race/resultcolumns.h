#pragma once
// The columns of a pigeon line of a race's result file: texts blank-padded, the flight time
// zero-padded, the two figures as "0000.000" with the separator of the regional settings.
#include "core/app/fixedwidth.h"

namespace plumet::ResultColumn {

inline constexpr Column FancierName{1, 20};
inline constexpr Column Ring{21, 41}; // as displayed
inline constexpr Column Colour{42, 45};
inline constexpr Column FlightHours{46, 48};
inline constexpr Column FlightMinutes{49, 50};
inline constexpr Column FlightSeconds{51, 52};
inline constexpr Column Distance{53, 60};   // kilometres
inline constexpr Column Speed{61, 68};      // metres per minute

} // namespace plumet::ResultColumn
