#pragma once
// The lines of the fancier exchange file. Each begins with its kind: "1" region, "2"
// federation, "3" club, "4" fancier.
#include <cstddef>

#include "core/app/fixedwidth.h"

// Region and federation lines: the installation's number and a name of up to 30 characters.
namespace plumet::SettingLineColumn {

inline constexpr Column Kind{1, 1};
inline constexpr Column Number{2, 4};
inline constexpr Column Name{8, 37};

} // namespace plumet::SettingLineColumn

// A club line: the club record with three blanks after its number.
namespace plumet::ClubLineColumn {

inline constexpr Column Kind{1, 1};
inline constexpr Column ClubNumber{2, 4};
inline constexpr Column Name{8, 37};
inline constexpr Column Note{38, 67};

} // namespace plumet::ClubLineColumn

// A fancier line: the number of his club, then the whole fancier record.
namespace plumet::FancierLineColumn {

inline constexpr Column Kind{1, 1};
inline constexpr Column ClubNumber{2, 4};
inline constexpr Column FancierRecord{5, 77};
inline constexpr Column FancierNumber{5, 7};

} // namespace plumet::FancierLineColumn
