// A 1000-pigeon loft send over a pseudo-terminal to plumet-clocksim, as the dialog and
// plumet-cli run it: the serial link, one byte at a time, up to the clock's confirmation.
// At 9600 baud the same 20,038 bytes take about 21 s of line time.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "app/options.h"
#include "app/timesource.h"
#include "clock/loftsend.h"
#include "clock/serialclocklink.h"
#include "e2esupport.h"
#include "loftfolder.h"

using namespace plumet;

static void LoftSendOf1000Pigeons(benchmark::State& state) {
    QTemporaryDir folder;
    QTemporaryDir clockDir;
    e2e::SimulatedClock clock(clockDir.path());
    if (!clock.Started()) {
        state.SkipWithError("plumet-clocksim did not start");
        return;
    }
    e2e::WriteLoftFolder(folder.path(), clock.Device(), 1000);
    const Path programFolder = folder.path().toStdString();
    const Settings settings = ReadOptions(programFolder);
    const auto loft = RegisteredLoft(programFolder, settings, "007", "012");
    const SexTexts sexes{"M", "F", "U"};
    const SystemTimeSource now;
    for (auto _ : state) {
        ui::SerialClockLink link;
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
    }
    state.counters["bytes"] = 30 + 20 * 1000 + 8;
}
BENCHMARK(LoftSendOf1000Pigeons)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
