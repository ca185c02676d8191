// The main window: start-up to a shown window (folders, options, catalogue, port list), and
// listing a fancier's full pigeon file.
// Run with QT_QPA_PLATFORM=offscreen (or under a display) from the build folder.
#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "common/appcontext.h"
#include "core/registers/pigeons.h"
#include "ui/app/mainwindow.h"
#include "ui/app/startup.h"

static void StartupToShownWindow(benchmark::State& state) {
    QTemporaryDir dir;
    for (auto _ : state) {
        plumet::ui::PrepareProgramFolder(dir.path().toStdString());
        plumet::ui::MainWindow window;
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}
BENCHMARK(StartupToShownWindow)->Unit(benchmark::kMillisecond);

static void ListThousandPigeons(benchmark::State& state) {
    QTemporaryDir dir;
    plumet::ui::PrepareProgramFolder(dir.path().toStdString());
    plumet::PigeonTable table;
    const plumet::SexCharacters sexes{'M', 'F', 'U'};
    for (int n = 0; n < 1000; ++n) {
        const std::string ring = plumet::BuildPigeonRecord("DV", "2024", "0815", std::to_string(10000 + n), "M");
        plumet::InsertPigeon(table, plumet::CompletePigeonRecord(ring, "1300000000", "BLUE", "01"), sexes);
    }
    plumet::SavePigeons(table, plumet::PigeonFilePath(plumet::App().programFolder, "001", "001"));
    plumet::ui::MainWindow window;
    window.SelectedClubNumber = "001";
    window.SelectedFancierNumber = "001";
    for (auto _ : state) window.TaubenAnzeigen();
    state.counters["lines"] = window.List()->count();
}
BENCHMARK(ListThousandPigeons)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
