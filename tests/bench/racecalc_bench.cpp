// A race of 999 lofts and 9 999 clocked pigeons, the most the race list's counters take: read
// from the read-out file, corrected, ranked, and the race file and result file written.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/app/fixedwidth.h"
#include "core/race/racecalc.h"

namespace {

using namespace plumet;

constexpr int kLofts = 999;
constexpr int kPigeons = static_cast<int>(kMaxCountedPigeons);

std::string Two(int value) { return ZeroPadded(value, 2); }

struct BenchRace {
    Path folder;
    Settings settings;
    RaceList races;
};

BenchRace LargeRace() {
    BenchRace bench;
    std::random_device rd;
    bench.folder = std::filesystem::temp_directory_path() / ("plumet-bench-race" + std::to_string(rd()));
    std::filesystem::create_directories(bench.folder / "race");
    std::filesystem::create_directories(bench.folder / "racecalc");
    bench.settings.region = "012" + std::string(30, ' ');
    bench.settings.federation = "052" + std::string(30, ' ');

    Race race;
    race.name = PadRight("Bench", 30);
    race.day = 1;
    race.month = 5;
    race.year = 2024;
    race.releaseHour = 7;
    race.clubNumber = 7;
    race.releasePointNumber = 5;
    race.flightWeek = 18;
    race.releaseLatitude = "N50293000";
    race.releaseLongitude = "E005520000";
    bench.races.races = {race};
    // The calculation works on the list as the file holds it.
    SaveRaces(bench.races, bench.folder);

    std::mt19937 random(42);
    std::string file = "0010524\r\n";
    int written = 0;
    for (int loft = 1; loft <= kLofts; ++loft) {
        const int pigeons = kPigeons / kLofts + (loft <= kPigeons % kLofts ? 1 : 0);
        file += "1007" + ZeroPadded(loft, 3) + ZeroPadded(pigeons, 3) + PadRight("Fancier " + std::to_string(loft), 20) +
                "N5" + ZeroPadded(100000 + loft * 37, 7) + "E00" + ZeroPadded(6000000 + loft * 53, 7) + "\r\n";
        file += "2007" + ZeroPadded(loft, 3) + "1" + "010506000003050600000600" + Two(loft % 60) + "0\r\n";
        for (int p = 0; p < pigeons; ++p, ++written) {
            const int minute = static_cast<int>(random() % 600);
            file += "3007" + ZeroPadded(loft, 3) + "DV    2023" + "01234" + ZeroPadded(written, 7) + "M" + "05" + "1" +
                    "0105" + Two(10 + minute / 60) + Two(minute % 60) + Two(static_cast<int>(random() % 60)) +
                    std::string(28, '0') + "BL  01\r\n";
        }
    }
    std::ofstream(bench.folder / "race" / "W0125218.d05", std::ios::binary) << file;
    return bench;
}

void CalculateLargeRace(benchmark::State& state) {
    BenchRace bench = LargeRace();
    const DistanceTable distances;
    std::size_t classified = 0;
    for (auto _ : state) {
        const RaceCalcOutcome outcome = CalculateRace(bench.races, 1, distances, bench.folder, bench.settings, ',');
        classified = outcome.calculation.Classified();
        benchmark::DoNotOptimize(classified);
    }
    state.counters["pigeons"] = static_cast<double>(classified);
    std::filesystem::remove_all(bench.folder);
}
BENCHMARK(CalculateLargeRace)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
