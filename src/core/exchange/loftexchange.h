#pragma once
// The loft exchange file: one line per pigeon of every loft (loftexchangecolumns.h), clubs,
// fanciers and pigeons in register order.
#include <string>
#include <string_view>

#include "core/exchange/exchangefile.h"
#include "core/exchange/loftexchangecolumns.h"

namespace plumet {

inline constexpr std::size_t kLoftExchangeLineMinLength = LoftLineColumn::Ring.last;
inline constexpr std::size_t kLoftExchangeLineLength = LoftLineColumn::PigeonRecord.last;

std::string LoftLine(std::string_view clubNumber, std::string_view fancierNumber, std::string_view pigeonRecord);
// The 39-character pigeon record of a loft line: what a short line lacks becomes no chip
// ("1300000000"), a blank colour and ring format "00".
std::string PigeonRecordOfLoftLine(std::string_view line);

// Writes "exchange\T…d00" from every pigeon file of every fancier of every club.
ExchangeOutcome BuildLoftExchange(const Path& programFolder, const Settings& settings);

// Checks the whole file, then replaces the pigeon file of every loft in it, each loft's pigeons
// in the register's order; a file that holds them already is not written again. Other pigeon
// files stay. When a loft's lines come in two groups, the later group is the loft's pigeons.
ExchangeOutcome ReadLoftExchange(const Path& programFolder, const Settings& settings, const SexCharacters& sexes);

} // namespace plumet
