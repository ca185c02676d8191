#include "core/race/racelog.h"
#include "fuzz.h"

// A race log is either read whole, and then its entries written out again read back the same, or
// refused naming a line of the file; a log that reads refuses nothing that appends to it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    FileProblem problem;
    const auto entries = ParseRaceLog(bytes, problem);
    if (!entries) {
        if (problem.reason == FileReason::None || problem.line > SplitLines(bytes).size()) __builtin_trap();
        return 0;
    }
    std::string written;
    for (const RaceLogEntry& entry : *entries) written += RaceLogEntryText(entry);
    const auto again = ParseRaceLog(written, problem);
    if (!again || again->size() != entries->size()) __builtin_trap();
    std::string rewritten;
    for (const RaceLogEntry& entry : *again) rewritten += RaceLogEntryText(entry);
    if (rewritten != written) __builtin_trap();
    return 0;
}
