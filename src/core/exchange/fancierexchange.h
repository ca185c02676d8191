#pragma once
// The fancier exchange file: a region line, a federation line, then every club of the club
// register with one line per fancier of its fancier file (fancierexchangecolumns.h).
#include <string>
#include <string_view>

#include "core/exchange/exchangefile.h"
#include "core/exchange/fancierexchangecolumns.h"

namespace plumet {

inline constexpr std::size_t kRegionLineMaxLength = SettingLineColumn::Name.last;
inline constexpr std::size_t kClubLineLength = ClubLineColumn::Note.last;
inline constexpr std::size_t kFancierLineLength = FancierLineColumn::FancierRecord.last;

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
