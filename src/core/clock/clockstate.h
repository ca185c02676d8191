#pragma once
// What a simulated clock holds (its loft, release point names, race data, time and last
// firmware upload) and the small text file that keeps it between runs.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/app/files.h"
#include "core/clock/pigeonsconvert.h"

namespace plumet {

struct ClockPigeon {
    RingRecord ring{};
    ChipRecord chip{};
    bool operator==(const ClockPigeon&) const = default;
};

// Bytes 0-14 ring, 15 unused, 16 release point, 17 day (low 5 bits) and flags, 18-20 hour,
// minute, second, 21 flags, 22-27 twelve packed decimal digits.
using ArrivalRecord = std::array<std::uint8_t, 28>;

enum class FirmwareKind { None, Hex, Raw };

struct FirmwareUpload {
    FirmwareKind kind = FirmwareKind::None;
    bool complete = false;
    int records = 0;        // hex records received (raw: 0)
    int checksumErrors = 0; // hex records whose checksum did not add up
    std::vector<std::uint8_t> image; // data bytes of the hex records, or the raw bytes
    bool operator==(const FirmwareUpload&) const = default;
};

struct ClockState {
    std::uint8_t region = 0;
    std::uint8_t federation = 0;
    std::uint8_t club = 0;
    std::uint8_t fancier = 0;
    std::string name = std::string(20, ' '); // exactly 20 bytes
    std::vector<ClockPigeon> pigeons;
    std::vector<std::string> releasePoints; // 13 bytes each; entry 0 is the blank one
    // Basketing master time: day (flags in the high bits), month, hour, minute, second.
    std::array<std::uint8_t, 5> basketing{};
    std::uint8_t timerFlags = 0; // timer block byte 10
    std::vector<ArrivalRecord> arrivals;
    std::int64_t clockOffsetSeconds = 0; // the clock's own time minus the master time
    std::vector<std::string> printout;   // lines it prints; empty: its arrival list
    FirmwareUpload firmware;             // the image itself is not kept in the file
    bool operator==(const ClockState&) const = default;
};

// Text lines ending in CR LF; every byte of a name survives (hex where it must).
std::string FormatClockState(const ClockState& state);

struct ClockStateRead {
    bool ok = true;
    std::string error; // "line 4: ..." when !ok
    ClockState state;
};
ClockStateRead ParseClockState(std::string_view text);

// A missing file is an empty clock.
ClockStateRead LoadClockState(const Path& path);
SaveResult SaveClockState(const Path& path, const ClockState& state);

} // namespace plumet
