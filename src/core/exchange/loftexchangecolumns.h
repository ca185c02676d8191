#pragma once
// A line of the loft exchange file: "0", the loft (club and fancier number), then the pigeon
// record. Older files end a line after the ring, the chip code or the colour.
#include <cstddef>

#include "core/app/fixedwidth.h"

namespace plumet::LoftLineColumn {

inline constexpr Column Kind{1, 1};
inline constexpr Column Loft{2, 7};
inline constexpr Column ClubNumber{2, 4};
inline constexpr Column FancierNumber{5, 7};
inline constexpr Column PigeonRecord{8, 46};
inline constexpr Column Ring{8, 30};
inline constexpr Column ChipCode{31, 40};
inline constexpr Column Colour{41, 44};
inline constexpr Column RingFormat{45, 46};

} // namespace plumet::LoftLineColumn
