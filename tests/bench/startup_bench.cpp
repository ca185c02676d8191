// Start-up to a shown main window: folders, options, catalogue, port list, window.
// Run with QT_QPA_PLATFORM=offscreen (or under a display) from the build folder.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "app/mainwindow.h"
#include "app/startup.h"

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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
