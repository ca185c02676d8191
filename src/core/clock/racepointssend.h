#pragma once
// frmRacePointsSend's exchange (">8"): the names of all release points into the clock, which
// numbers them by position after a blank entry 0.
#include <cstddef>
#include <stop_token>
#include <string>
#include <string_view>

#include "core/app/files.h"
#include "core/app/refusal.h"
#include "core/clock/clocklink.h"
#include "core/clock/transferprogress.h"

namespace plumet {

// What the first status line shows for the point just sent: its number, two blanks, its name.
std::string RacePointSentLine(std::string_view record);

enum class RacePointsSendResult {
    Confirmed,    // the clock answered ">"
    NotConfirmed, // another answer, or none within the byte timeout
    NotSendable,  // the register could not be read; nothing was sent
    Broken,       // the port failed while sending
    Cancelled,
};

struct RacePointsSendOutcome {
    RacePointsSendResult result = RacePointsSendResult::NotSendable;
    LinkStatus link = LinkStatus::Ok;
    std::size_t points = 0; // records in the register
    std::size_t sent = 0;
    std::size_t bytes = 0;  // bytes that went out
    Refusal refusal;        // NotSendable: why
};

// Progress: points sent of all, with the status line of the last one sent as `what`.

// Loads the release point register (a missing one is created with its empty slots first)
// and sends every name.
RacePointsSendOutcome SendRacePoints(ClockLink& link, const Path& programFolder, milliseconds byteTimeout,
                                     const TransferProgressSink& progress, std::stop_token cancel);

} // namespace plumet
