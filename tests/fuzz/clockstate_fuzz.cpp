#include "core/clock/clockstate.h"
#include "fuzz.h"

// The simulator's state file; what it reads must come back the same when written again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    const ClockStateRead read = ParseClockState(fuzz::Bytes(data, size));
    if (read.ok && ParseClockState(FormatClockState(read.state)).state != read.state) __builtin_trap();
    return 0;
}
