#pragma once
// The one shape in which every clock transfer reports how far it has come, so a dialog, the
// command line and a test read each transfer the same way.
#include <cstddef>
#include <functional>
#include <string>

namespace plumet {

struct TransferProgress {
    std::size_t done = 0;  // pigeons, names or bytes so far; tries while the clock is sought
    std::size_t total = 0; // 0 while the total is not known
    // What is being done: the catalogue key of the step under way, or the clock's line for
    // the unit just done ("" before the first).
    std::string what;
};

using TransferProgressSink = std::function<void(const TransferProgress&)>;

inline void Report(const TransferProgressSink& sink, TransferProgress progress) {
    if (sink) sink(progress);
}

} // namespace plumet
