#pragma once
// A record of a fancier's pigeon register: the ring in its parts, the chip code, the colour
// and the ring format the ring is shown in. The clock and the loft exchange file carry the
// same 23-character ring.
#include <cstddef>

#include "core/app/fixedwidth.h"

namespace plumet::PigeonColumn {

inline constexpr Column Ring{1, 23};
inline constexpr Column Nation{1, 6};
inline constexpr Column Year{7, 10};
inline constexpr Column Organisation{11, 15};
inline constexpr Column RingNumber{16, 22};
inline constexpr Column Sex{23, 23};
inline constexpr Column ChipCode{24, 33};
inline constexpr Column Colour{34, 37};
inline constexpr Column RingFormat{38, 39};
inline constexpr std::size_t kRecordWidth = RingFormat.last;

// The ring without its sex, as a reader quotes it.
inline constexpr Column RingWithoutSex{1, 22};
// Nation, year and organisation: the register orders pigeons by these characters first.
inline constexpr Column OrderHead{1, 15};

} // namespace plumet::PigeonColumn
