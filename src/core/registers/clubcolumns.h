#pragma once
// A record of the club register: the number, which names the club's fancier and pigeon files,
// then the name and a note.
#include <cstddef>

#include "core/app/fixedwidth.h"

namespace plumet::ClubColumn {

inline constexpr Column Number{1, 3};
inline constexpr Column Name{4, 33};
inline constexpr Column Note{34, 63};
inline constexpr std::size_t kRecordWidth = Note.last;

} // namespace plumet::ClubColumn
