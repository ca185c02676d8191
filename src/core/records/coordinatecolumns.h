#pragma once
// A stored latitude or longitude: the sign, then degrees, minutes, seconds and hundredths of a
// second, zero-padded, with no separators. Only the degrees differ in width.
#include <cstddef>

#include "core/app/fixedwidth.h"

namespace plumet::LatitudeColumn {

inline constexpr Column Sign{1, 1};
inline constexpr Column Degrees{2, 3};
inline constexpr Column Minutes{4, 5};
inline constexpr Column Seconds{6, 7};
inline constexpr Column Hundredths{8, 9};
inline constexpr std::size_t kRecordWidth = Hundredths.last;

} // namespace plumet::LatitudeColumn

namespace plumet::LongitudeColumn {

inline constexpr Column Sign{1, 1};
inline constexpr Column Degrees{2, 4};
inline constexpr Column Minutes{5, 6};
inline constexpr Column Seconds{7, 8};
inline constexpr Column Hundredths{9, 10};
inline constexpr std::size_t kRecordWidth = Hundredths.last;

} // namespace plumet::LongitudeColumn
