#pragma once
// The region and federation lines of OPTIONS.PAR. The federation's number is kept as three
// characters, "0" and two digits, and files and the clock take all three.
#include <cstddef>

#include "core/app/fixedwidth.h"

namespace plumet::RegionColumn {

inline constexpr Column Number{1, 3};
inline constexpr Column Name{4, 33};
inline constexpr std::size_t kRecordWidth = Name.last;

} // namespace plumet::RegionColumn

namespace plumet::FederationColumn {

inline constexpr Column Code{1, 3};
inline constexpr Column Number{2, 3};
inline constexpr Column Name{4, 33};
inline constexpr std::size_t kRecordWidth = Name.last;

} // namespace plumet::FederationColumn
