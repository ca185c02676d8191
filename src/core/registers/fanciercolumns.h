#pragma once
// A record of a club's fancier register: the number, which names the fancier's pigeon file,
// the name, the loft position, the manual clocking flag and a note.
#include <cstddef>

#include "core/app/fixedwidth.h"

namespace plumet::FancierColumn {

inline constexpr Column Number{1, 3};
inline constexpr Column Name{4, 23};
inline constexpr Column LoftLatitude{24, 32};
inline constexpr Column LoftLongitude{33, 42};
inline constexpr Column ManualClocking{43, 43}; // "0" for clocking by the clock
inline constexpr Column Note{44, 73};
inline constexpr std::size_t kRecordWidth = Note.last;

} // namespace plumet::FancierColumn
