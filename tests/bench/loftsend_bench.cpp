// A 1000-pigeon loft send to plumet-clocksim, as the dialog and plumet-cli run it: the serial
// link, one byte at a time, up to the clock's confirmation. Its 20,038 bytes take 20.87 s of
// line time at 9600 baud; the pace of the link should add and cut nothing. The argument is
// the simulator's line speed: 9600, or 0 for a clock that reads as fast as the terminal goes
// (the link's own pace alone).
// Run from the build folder: ./tests/bench/bench_loftsend
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

#include "core/app/options.h"
#include "core/app/timesource.h"
#include "core/clock/linepacer.h"
#include "core/clock/loftsend.h"
#include "e2esupport.h"
#include "serial/serialclocklink.h"

using namespace plumet;

static void LoftSendOf1000Pigeons(benchmark::State& state) {
    const QStringList line = state.range(0) > 0 ? QStringList{"--line-speed", QString::number(state.range(0))} : QStringList{};
    e2e::SimulatedClock clock(line);
    if (clock.Device().isEmpty()) {
        state.SkipWithError("plumet-clocksim did not start");
        return;
    }
    const e2e::ProgramFolder folder("loft");
    folder.Loft(clock.Device(), 1000);
    const Path programFolder = folder.Path().toStdString();
    const Settings settings = ReadOptions(programFolder);
    const auto loft = RegisteredLoft(programFolder, settings, "007", "012");
    const SexTexts sexes{"M", "F", "U"};
    const SystemTimeSource now;
    constexpr int kBytes = 30 + 20 * 1000 + 8;
    // The clock's answer crosses the line too.
    const double lineSeconds =
        std::chrono::duration<double>(LineByteTime(kLoftSendConstants.port) * (kBytes + 1)).count();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        SerialClockLink link;
        if (link.open(kLoftSendConstants.SettingsFor(settings.comPort)) != LinkStatus::Ok) {
            state.SkipWithError("the pseudo-terminal did not open");
            return;
        }
        const LoftSendOutcome outcome =
            SendLoft(link, programFolder, *loft, sexes, now, kLoftSendConstants.byteTimeout, {}, {});
        link.close();
        if (outcome.result != LoftSendResult::Confirmed) {
            state.SkipWithError("the clock did not confirm the loft");
            return;
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["bytes"] = kBytes;
    state.counters["line_s"] = lineSeconds;
    state.counters["of_line_time_pct"] = 100.0 * seconds / static_cast<double>(state.iterations()) / lineSeconds;
}
BENCHMARK(LoftSendOf1000Pigeons)->Arg(9600)->Arg(0)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
