#pragma once
// frmLoftGet's exchange (">3"): the loft a clock holds, read back into the pigeon file of its
// fancier once region, federation, club and fancier are found to be this program's.
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "core/app/files.h"
#include "core/app/options.h"
#include "core/clock/clocklink.h"
#include "core/clock/pigeonsconvert.h"
#include "core/clock/transferprogress.h"

namespace plumet {

// The loft key the clock reports.
struct ClockLoftKey {
    std::uint8_t region = 0;
    std::uint8_t federation = 0;
    std::uint8_t club = 0;
    std::uint8_t fancier = 0;
};

enum class LoftGetResult {
    Stored,             // the fancier's pigeon file now holds the clock's pigeons
    NoAcknowledgement,  // message 3
    CommunicationError, // a byte missing, a wrong end mark, a port failure
    TooManyPigeons,     // more than the pigeon register holds
    WrongRegion,        // message 4
    WrongFederation,    // message 5
    UnknownClub,        // message 6
    UnknownFancier,     // message 7
    SaveFailed,         // the file could not be written; the old one is as it was
    Refused,            // before the transfer: a register cannot be read or the settings are unusable (saved.error)
    Cancelled,
};

struct LoftGetOutcome {
    LoftGetResult result = LoftGetResult::CommunicationError;
    LinkStatus link = LinkStatus::Ok; // what ended the exchange
    ClockLoftKey key;
    std::size_t pigeons = 0; // the count the clock announced
    Path file;               // the pigeon file written (or that would have been)
    SaveResult saved;
    // What frmLoftGet shows: its status text (suffix of its catalogue key, "" for none) and
    // message number (0 for none). The status comes first.
    std::string status;
    int message = 0;
};

// Progress: pigeons received of the count the clock announced; `what` stays "".

// Reads the clock's loft and, when every check passes, replaces the fancier's pigeon file
// (written whole or not at all). No file changes on any failure or cancel. Settings without
// region and federation numbers are refused before the clock is asked; a club or fancier
// register that cannot be read, after it answered.
LoftGetOutcome GetLoft(ClockLink& link, const Path& programFolder, const Settings& settings, const SexTexts& sexes,
                       milliseconds byteTimeout,
                       const TransferProgressSink& progress, std::stop_token cancel);

} // namespace plumet
