// Building and reading the loft exchange file of a large installation: 250 clubs of 40
// fanciers with 10 pigeons each, 100 000 lines. The reads into the installation hold its
// write lock, as the program and plumet-cli do.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/app/fixedwidth.h"
#include "core/app/folderlock.h"
#include "core/exchange/loftexchange.h"

namespace {

using namespace plumet;

constexpr int kClubs = 250;
constexpr int kFanciersPerClub = 40;
constexpr int kPigeonsPerFancier = 10;

Settings BenchSettings() {
    Settings settings;
    settings.region = "007North" + std::string(25, ' ');
    settings.federation = "003East" + std::string(26, ' ');
    return settings;
}

Path NewFolder(const std::string& name) {
    std::random_device rd;
    const Path folder = std::filesystem::temp_directory_path() / ("plumet-bench-" + name + std::to_string(rd()));
    for (const char* sub : kDataFolders) std::filesystem::create_directories(folder / sub);
    return folder;
}

void WriteFile(const Path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// Written directly: the program's own saves flush every file to disk, which would make the
// set-up take minutes.
Path LargeInstallation() {
    const Path folder = NewFolder("installation");
    std::string clubs = FormatCountLine(kClubs) + "\r\n";
    for (int club = 1; club <= kClubs; ++club) {
        const std::string clubNumber = ZeroPadded(club, 3);
        clubs += clubNumber + PadRight("Club " + clubNumber, 30) + PadRight("", 30) + "\r\n";
        std::string fanciers = FormatCountLine(kFanciersPerClub) + "\r\n";
        for (int fancier = 1; fancier <= kFanciersPerClub; ++fancier) {
            const std::string fancierNumber = ZeroPadded(fancier, 3);
            fanciers += fancierNumber + PadRight("Fancier " + fancierNumber, 20) + "N51301525E0070500000" +
                        PadRight("", 30) + "\r\n";
            std::string pigeons = FormatCountLine(kPigeonsPerFancier) + "\r\n";
            for (int pigeon = 1; pigeon <= kPigeonsPerFancier; ++pigeon)
                pigeons += "D       23" + PadRight("0" + clubNumber, 5) + PadLeft(std::to_string(fancier * 100 + pigeon), 7, ' ') +
                           "M1300000000BLUE01\r\n";
            WriteFile(folder / "pigeon" / ("p" + clubNumber + fancierNumber + ".dat"), pigeons);
        }
        WriteFile(folder / "fancier" / ("f" + clubNumber + ".DAT"), fanciers);
    }
    WriteFile(folder / "club" / "club.dat", clubs);
    return folder;
}

const Path& Installation() {
    static const Path folder = LargeInstallation();
    return folder;
}

void BuildLoftExchangeFile(benchmark::State& state) {
    for (auto _ : state) {
        const ExchangeOutcome outcome = BuildLoftExchange(Installation(), BenchSettings());
        if (!outcome.Ok() || outcome.lines != kLoftExchangeLineLimit) state.SkipWithError(outcome.error.c_str());
    }
}

// Into a program folder whose pigeon folder is empty, as at a new installation.
void ReadLoftExchangeIntoEmptyFolder(benchmark::State& state) {
    const Path exchangeFile = ExchangeFilePath(Installation(), ExchangeKind::Loft, BenchSettings());
    if (!BuildLoftExchange(Installation(), BenchSettings()).Ok()) state.SkipWithError("no exchange file");
    std::vector<Path> used;
    for (auto _ : state) {
        state.PauseTiming();
        const Path target = NewFolder("target");
        used.push_back(target);
        std::filesystem::copy_file(exchangeFile, target / "exchange" / exchangeFile.filename());
        state.ResumeTiming();
        const ExchangeOutcome outcome = ReadLoftExchange(target, BenchSettings(), SexCharactersFromTexts("M", "F", "U"));
        if (!outcome.Ok()) state.SkipWithError(outcome.error.c_str());
    }
    for (const auto& folder : used) std::filesystem::remove_all(folder);
}

ExchangeOutcome LockedRead() {
    const FolderWriteLock lock(Installation(), "bench_exchange", kWriteLockWait);
    if (!lock.Held()) return {ExchangeProblem::WriteFailed, 0, lock.Refusal()};
    return ReadLoftExchange(Installation(), BenchSettings(), SexCharactersFromTexts("M", "F", "U"));
}

// Over the installation itself, which holds these lofts already: each of its 10 000 pigeon
// files is read and compared, none needs writing.
void ReadLoftExchangeOverExistingLofts(benchmark::State& state) {
    if (!BuildLoftExchange(Installation(), BenchSettings()).Ok()) state.SkipWithError("no exchange file");
    for (auto _ : state) {
        const ExchangeOutcome outcome = LockedRead();
        if (!outcome.Ok() || outcome.lines != kLoftExchangeLineLimit) state.SkipWithError(outcome.error.c_str());
    }
}

// Every pigeon of every loft has changed colour since the last read: all 10 000 pigeon files
// are replaced, the next iteration changing them back.
void ReadLoftExchangeChangingEveryLoft(benchmark::State& state) {
    const Path exchangeFile = ExchangeFilePath(Installation(), ExchangeKind::Loft, BenchSettings());
    if (!BuildLoftExchange(Installation(), BenchSettings()).Ok()) state.SkipWithError("no exchange file");
    const std::string blue = ReadWholeFile(exchangeFile).bytes;
    std::string red = blue;
    for (std::size_t at = red.find("BLUE"); at != std::string::npos; at = red.find("BLUE", at)) red.replace(at, 4, "RED ");
    bool toRed = true;
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile(exchangeFile, toRed ? red : blue);
        toRed = !toRed;
        state.ResumeTiming();
        const ExchangeOutcome outcome = LockedRead();
        if (!outcome.Ok() || outcome.filesWritten != kClubs * kFanciersPerClub) state.SkipWithError(outcome.error.c_str());
    }
}

} // namespace

BENCHMARK(BuildLoftExchangeFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ReadLoftExchangeIntoEmptyFolder)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReadLoftExchangeOverExistingLofts)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ReadLoftExchangeChangingEveryLoft)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Installation());
    return 0;
}
