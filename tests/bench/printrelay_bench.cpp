// The print relay to PRINT.TXT: 10 000 lines of a clock's print-out, timed a thousand lines at
// a time, so that a cost per line that grows with the file shows as a rising ratio.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/clock/printrelay.h"
#include "support/scriptedlink.h"

namespace {

using namespace plumet;
using Clock = std::chrono::steady_clock;

constexpr long kLines = 10000;
constexpr long kBlock = 1000;

void BM_FileRelay(benchmark::State& state) {
    std::random_device rd;
    const Path folder = std::filesystem::temp_directory_path() / ("plumet-bench-print" + std::to_string(rd()));
    std::filesystem::create_directories(folder);
    std::string printOut;
    for (long n = 1; n <= kLines; ++n)
        printOut += std::to_string(n) + "  NL-23-1234567  M  04.06. 09:05:07  1234,567 km\r\n";
    for (auto _ : state) {
        ScriptedClockLink link;
        link.open(PortSettings{});
        link.QueueIncoming(printOut);
        PrintFile file(folder);
        if (!file.CheckReplaceable()) state.SkipWithError("PRINT.TXT cannot be replaced");
        PrintRelay relay(PrintTarget::File);
        std::vector<double> blocks; // seconds per thousand lines
        Clock::time_point blockStart = Clock::now();
        const Clock::time_point start = blockStart;
        const PrintRelayOutcome outcome = RunPrintRelay(
            link, relay, &file, {milliseconds{100}, milliseconds{1000}, milliseconds{200}},
            [&](const PrintRelayEffect& effect) {
                if (effect.kind != PrintRelayEffect::Kind::Line || effect.lines % kBlock != 0) return;
                const Clock::time_point now = Clock::now();
                blocks.push_back(std::chrono::duration<double>(now - blockStart).count());
                blockStart = now;
            },
            {});
        if (outcome.lines != kLines || blocks.size() != kLines / kBlock) state.SkipWithError("lines were lost");
        const double seconds = std::chrono::duration<double>(blockStart - start).count();
        state.counters["lines"] = static_cast<double>(outcome.lines);
        state.counters["total_s"] = seconds;
        state.counters["first1000_ms"] = blocks.front() * 1000;
        state.counters["last1000_ms"] = blocks.back() * 1000;
        state.counters["last_over_first"] = blocks.back() / blocks.front();
        state.counters["us_per_line"] = seconds * 1e6 / kLines;
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_FileRelay)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
