#pragma once
// The fancier exchange file: a region line, a federation line, then every club of the club
// register with one line per fancier of its fancier file.
//
//   region      "1" + number (3) + 3 blanks + name (up to 30)
//   federation  "2" + number (3) + 3 blanks + name (up to 30)
//   club        "3" + club number (3) + 3 blanks + name (30) + note (30)
//   fancier     "4" + club number (3) + the fancier record (73)
#include <string>
#include <string_view>

#include "core/exchange/exchangefile.h"

namespace plumet {

inline constexpr std::size_t kRegionLineMaxLength = 37;
inline constexpr std::size_t kClubLineLength = 67;
inline constexpr std::size_t kFancierLineLength = 77;

std::string RegionLine(const Settings& settings);
std::string FederationLine(const Settings& settings);
std::string ClubLine(std::string_view clubRecord);
std::string FancierLine(std::string_view clubNumber, std::string_view fancierRecord);

// Writes "exchange\S…d00" from the club register and every club's fancier file.
ExchangeOutcome BuildFancierExchange(const Path& programFolder, const Settings& settings);

// Checks the whole file (region, federation, every line), then replaces the club register and
// the fancier file of every club that has fancier lines. Clubs not in the file leave the club
// register; their fancier files stay on disk. A club without fancier lines gets no fancier file.
ExchangeOutcome ReadFancierExchange(const Path& programFolder, const Settings& settings);

} // namespace plumet
