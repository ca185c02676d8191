#pragma once
// A record of the release point register: the point's number, the name the clock shows, the
// place and the position.
#include <cstddef>

#include "core/app/fixedwidth.h"

namespace plumet::RacePointColumn {

inline constexpr Column Number{1, 2};
inline constexpr Column Name{3, 15};
inline constexpr Column Place{16, 45};
inline constexpr Column Latitude{46, 54};
inline constexpr Column Longitude{55, 64};
inline constexpr std::size_t kRecordWidth = Longitude.last;

} // namespace plumet::RacePointColumn
