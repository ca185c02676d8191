// A federation's combined list of 50 club races of 2 000 pigeons each (100 000 pigeons): read
// from the result files, merged, and laid out as the window's lines.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "core/app/fixedwidth.h"
#include "core/race/combinedlist.h"
#include "core/race/racecalcfolder.h"

namespace {

using namespace plumet;

constexpr int kRaces = 50;
constexpr int kPigeons = 2000;

Path FederationFolder() {
    std::random_device rd;
    const Path folder = std::filesystem::temp_directory_path() / ("plumet-bench-combined" + std::to_string(rd()));
    std::filesystem::create_directories(folder / "racecalc");
    std::mt19937 random(42);
    RaceList list;
    CombinedList combined{"Federation", {}};
    for (int r = 0; r < kRaces; ++r) {
        Race race;
        race.name = PadRight("Club " + std::to_string(r + 1), 30);
        race.day = 7;
        race.month = 6;
        race.year = 2025;
        race.releaseHour = 6;
        race.releaseMinute = 30;
        race.clubNumber = r + 1;
        race.releasePointNumber = 10;
        race.pigeonsEntered = kPigeons;
        race.pigeonsClassified = kPigeons;
        list.races.push_back(race);
        combined.races.push_back(TrimmedRaceName(race));
        std::vector<ResultLine> lines(kPigeons);
        double speed = 1500.0;
        for (int p = 0; p < kPigeons; ++p) {
            speed -= static_cast<double>(random() % 200) / 1000.0;
            ResultLine& line = lines[static_cast<std::size_t>(p)];
            line.fancierName = "Fancier " + std::to_string(p % 80);
            line.ringText = "DV 0" + ZeroPadded(r, 4) + " 24  " + ZeroPadded(p, 7) + "M";
            line.colour = "BL";
            line.distanceKm = 250.0;
            line.flightSeconds = static_cast<long long>(250000.0 / speed * 60.0);
            line.speed = speed;
        }
        WriteResultFile(folder, race, lines, ',');
    }
    SaveRaces(list, folder);
    SaveRaceCalcLines(CombinedListPath(folder, combined.name), CombinedListFileLines(combined));
    return folder;
}

void MergeAndLayOutFederation(benchmark::State& state) {
    const Path folder = FederationFolder();
    std::size_t lines = 0;
    for (auto _ : state) {
        const CombinedResult result = CurrentCombined(folder, "Federation").value();
        const std::vector<std::string> shown = CombinedWindowLines(result, ',');
        lines = shown.size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["pigeons"] = static_cast<double>(lines);
    std::filesystem::remove_all(folder);
}
BENCHMARK(MergeAndLayOutFederation)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
