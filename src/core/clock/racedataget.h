#pragma once
// Race data read-out of one clock: empty the input, request ">4", receive the loft header,
// the timer block and every arrival record up to the end mark; then check the loft against
// the options and the registers and append it to the read-out file of the week and point.
#include <array>
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "core/app/catalogue.h"
#include "core/app/files.h"
#include "core/app/options.h"
#include "core/clock/clocklink.h"
#include "core/clock/clockstate.h"
#include "core/clock/pigeonsconvert.h"
#include "core/clock/transferprogress.h"
#include "core/clock/readoutfile.h"

namespace plumet {

inline constexpr std::size_t kLoftHeaderLength = 24;
inline constexpr std::size_t kArrivalRecordLimit = 1000;

// Message numbers of frmRacedataGet.
inline constexpr int kRacedataPortNotAvailable = 1;
inline constexpr int kRacedataNoAnswer = 3;
inline constexpr int kRacedataWrongRegion = 4;
inline constexpr int kRacedataWrongFederation = 5;
inline constexpr int kRacedataUnknownClub = 6;
inline constexpr int kRacedataUnknownFancier = 7;
inline constexpr int kRacedataSaveFailed = 8;
inline constexpr int kRacedataCopyFailed = 9;
inline constexpr int kRacedataAlreadyRead = 10;

// Byte 0 region, 1 federation, 2 club, 3 fancier; the rest is not used.
using LoftHeader = std::array<std::uint8_t, kLoftHeaderLength>;

struct ClockRacedata {
    LoftHeader header{};
    TimerBlock timer{};
    std::vector<ArrivalRecord> arrivals;

    int Region() const { return header[0]; }
    int Federation() const { return header[1]; }
    int Club() const { return header[2]; }
    int Fancier() const { return header[3]; }
};

// The status line of the dialog; each has the catalogue text frmRacedataGet.<key>.
enum class RacedataStatus { None, TerminalSearch, DataGet, CommunicationOk, DataSave, DataReady, CommunicationError };
// "txtTerminalSearch" …; "" for None.
const char* RacedataStatusKey(RacedataStatus status);

// Progress: each step's status key as `what`; the counts stay 0.

enum class ReceiveOutcome { Received, NoAnswer, Failed, TooManyArrivals, Cancelled };

struct RacedataReceipt {
    ReceiveOutcome outcome = ReceiveOutcome::Failed;
    LinkStatus link = LinkStatus::Ok; // what ended the exchange when it failed
    ClockRacedata data;
};

// The exchange on the wire, from emptying the input to the end mark. `byteTimeout` is the
// per-byte wait and also the quiet time that counts as an empty input.
RacedataReceipt ReceiveRacedata(ClockLink& link, milliseconds byteTimeout, const TransferProgressSink& progress,
                                std::stop_token cancel = {});

// Where a read goes and what it is checked against.
struct RacedataTarget {
    Path programFolder;
    Settings settings;    // region and federation
    ReadoutFields fields; // as after leaving them
    SexTexts sexes;       // for the rings
};

enum class RacedataResult {
    Saved,
    NoAnswer,
    CommunicationError,
    WrongRegion,
    WrongFederation,
    UnknownClub,
    UnknownFancier,
    AlreadyRead,
    SaveFailed,
    Refused, // a register cannot be read or the settings name no region and federation (error)
    Cancelled,
};

struct RacedataOutcome {
    RacedataResult result = RacedataResult::CommunicationError;
    int message = 0;                                 // the dialog's message to show, 0 for none
    RacedataStatus status = RacedataStatus::None;    // the status line to show last; None: leave it
    Path file;                                       // the read-out file
    std::vector<std::string> appended;               // lines added (the date line too when the file was new)
    std::string error;                               // why the file could not be written
    std::string fancier;                             // saved: the loft's number and name, "003 Müller"
    std::size_t arrivals = 0;                        // saved: the arrival lines added
};

// Checks the loft and appends it. The read-out file is read afresh, so a file that cannot be
// read is never replaced; nothing is written when `cancel` has been requested.
RacedataOutcome StoreRacedata(const ClockRacedata& data, const RacedataTarget& target,
                              const TransferProgressSink& progress, std::stop_token cancel = {});

// "Get data": ReceiveRacedata, then StoreRacedata. No line is added unless the whole read
// succeeded. Settings without region and federation numbers are refused before the clock is asked.
RacedataOutcome GetRacedata(ClockLink& link, const RacedataTarget& target, milliseconds byteTimeout,
                            const TransferProgressSink& progress, std::stop_token cancel = {});

} // namespace plumet
