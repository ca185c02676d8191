#pragma once
// frmLoftSend's exchange (">1"): one fancier's loft and all his pigeons into the clock,
// followed by the PC's date and time, which the clock takes over.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/files.h"
#include "core/app/options.h"
#include "core/app/refusal.h"
#include "core/app/timesource.h"
#include "core/clock/clocklink.h"
#include "core/clock/pigeonsconvert.h"
#include "core/clock/transferprogress.h"

namespace plumet {

// Whose loft goes into the clock: the main window's selection and the options file.
struct LoftToSend {
    std::string region;     // the options file's region line (RegionColumn)
    std::string federation; // the federation line (FederationColumn); its Code is the number sent
    std::string club;       // 3 characters
    std::string fancier;    // 3 characters
    std::string name;       // the fancier's name; sent as exactly 20 bytes
};

// The first status line: region "." federation "." club "." fancier " " name.
std::string LoftSendHeadline(const LoftToSend& loft);

// The fancier `fancier` of club `club` as the fancier register holds him (numbers given as
// digits, "7" or "007"); nothing when he is not registered, or when the fancier file cannot
// be read (then `unreadable`, when given, says which file and why).
std::optional<LoftToSend> RegisteredLoft(const Path& programFolder, const Settings& settings, std::string_view club,
                                         std::string_view fancier, std::string* unreadable = nullptr);

// The message from ">" to the pigeon count, and the 20 bytes of each pigeon, coded before
// the first byte goes out so that a loft the clock cannot take is never half sent.
struct LoftMessage {
    std::string head;                 // ">", "1", length, key, name, count: 30 bytes
    std::vector<std::string> pigeons; // 15 ring bytes then 5 chip bytes each
};
struct LoftCoding {
    std::optional<LoftMessage> message;
    Refusal refusal; // when there is no message: why
};
LoftCoding CodeLoft(const LoftToSend& loft, const std::vector<std::string>& pigeonRecords,
                    const PigeonsConvert& convert);

// The seven trailer bytes after ">": day, month, year % 100, weekday (1 = Sunday), hour,
// minute, second.
std::string ClockDateTimeBytes(const DateTime& at);

enum class LoftSendResult {
    Confirmed,    // the clock answered ">"
    NotConfirmed, // another answer, or none within the byte timeout
    NotSendable,  // refused before the first byte; nothing was sent
    Broken,       // the port failed while sending
    Cancelled,    // the user cancelled; nothing more was sent
};

struct LoftSendOutcome {
    LoftSendResult result = LoftSendResult::NotSendable;
    LinkStatus link = LinkStatus::Ok; // what ended the exchange
    std::size_t pigeons = 0;          // in the message
    std::size_t sent = 0;             // pigeons that went out whole
    Refusal refusal;                  // NotSendable: why
};

// Progress: pigeons sent of the loft's pigeons, while "txtPigeonLoad"; once with 0 before the first.
inline constexpr char kLoftSendStep[] = "txtPigeonLoad";

// Loads the fancier's pigeon file, codes the loft and sends it byte by byte. The date and
// time are read once, when the trailer starts.
LoftSendOutcome SendLoft(ClockLink& link, const Path& programFolder, const LoftToSend& loft, const SexTexts& sexes,
                         const TimeSource& clock, milliseconds byteTimeout,
                         const TransferProgressSink& progress, std::stop_token cancel);

} // namespace plumet
