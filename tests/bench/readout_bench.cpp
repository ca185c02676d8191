// The read-out of a clock with 1000 arrivals over a pseudo-terminal (the 500 ms of silence
// that empties the input included), and the XML export of a read-out file of 30 000 pigeons.
// Run from the build folder: ./tests/bench/bench_readout
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "core/app/files.h"
#include "core/app/fixedwidth.h"
#include "core/clock/racedataget.h"
#include "core/race/xmlexport.h"
#include "e2esupport.h"
#include "serial/serialclocklink.h"

using namespace plumet;

namespace {

const PigeonsConvert kConvert(SexTexts{"M", "F", "U"});

ArrivalRecord Arrival(int n) {
    ArrivalRecord a{};
    const RingRecord ring = *kConvert.EncodeRing("DV    20050815 1234567M1300000000BLAU01");
    std::copy(ring.begin(), ring.end(), a.begin());
    a[16] = 7;
    a[17] = static_cast<std::uint8_t>(1 + n % 28);
    a[18] = static_cast<std::uint8_t>(n % 24);
    a[19] = static_cast<std::uint8_t>(n % 60);
    a[20] = static_cast<std::uint8_t>(n % 59);
    return a;
}

Path Folder(const QTemporaryDir& dir) { return Path(dir.path().toStdString()); }

void ReadoutOfAThousandArrivals(benchmark::State& state) {
    QTemporaryDir program;
    const Path folder = Folder(program);
    std::filesystem::create_directories(folder / "race");
    std::filesystem::create_directories(folder / "club");
    std::filesystem::create_directories(folder / "fancier");
    SaveLines(folder / "club" / "club.dat", {" 1 ", PadRight("123Zur Post", 63)});
    SaveLines(folder / "fancier" / "f123.DAT", {" 1 ", "007" + PadRight("Meier Hans", 20) + "N51301525E0070500001"});

    ClockState clock;
    clock.region = 12;
    clock.federation = 5;
    clock.club = 123;
    clock.fancier = 7;
    for (int n = 0; n < 1000; ++n) clock.arrivals.push_back(Arrival(n));
    e2e::SimulatedClock simulator(clock);

    Settings settings;
    settings.region = "012" + PadRight("North", 30);
    settings.federation = "005" + PadRight("Federation", 30);
    const RacedataTarget target{folder, settings, {"00", "23", "02", "06", "24"}, SexTexts{"M", "F", "U"}};
    const Path file = ReadoutFilePath(folder, settings, "23", "00");
    SerialClockLink link;
    if (link.open(kRacedataGetConstants.SettingsFor(simulator.Device().toStdString())) != LinkStatus::Ok) {
        state.SkipWithError("the pseudo-terminal does not open");
        return;
    }
    for (auto _ : state) {
        std::filesystem::remove(file);
        const RacedataOutcome outcome = GetRacedata(link, target, kRacedataGetConstants.byteTimeout, nullptr);
        if (outcome.result != RacedataResult::Saved || outcome.appended.size() != 1003) {
            state.SkipWithError("the read-out failed");
            break;
        }
    }
    link.close();
}
BENCHMARK(ReadoutOfAThousandArrivals)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void XmlExportOfThirtyThousandPigeons(benchmark::State& state) {
    QTemporaryDir dir;
    const Path folder = Folder(dir);
    const TimerBlock timer = {31, 5, 7, 30, 0, 2, 6, 18, 30, 0, 64, 0, 18, 29, 18};
    std::vector<std::string> lines = {"0020624"};
    for (int loft = 0; loft < 30; ++loft) {
        lines.push_back(ReadoutLoftLine(123, loft, 1000, "000" + PadRight("Fancier & Sons", 20) + "N51301525E007050000"));
        lines.push_back(ReadoutTimerLine(123, loft, timer));
        for (int n = 0; n < 1000; ++n) lines.push_back(ReadoutArrivalLine(123, loft, Arrival(n), timer, kConvert));
    }
    SaveLines(folder / "W0120523.d00", lines);
    for (auto _ : state) {
        const SaveResult saved = WExportXML(folder / "W0120523.d00", folder / "W0120523_00.xml", FixedUtcOffset(120));
        if (!saved) {
            state.SkipWithError(saved.error.c_str());
            break;
        }
    }
    state.counters["pigeons"] = 30000;
}
BENCHMARK(XmlExportOfThirtyThousandPigeons)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
