#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>

#ifdef _WIN32
#include <io.h>
#define PLUMET_ISATTY _isatty
#define PLUMET_FILENO _fileno
#else
#include <unistd.h>
#define PLUMET_ISATTY isatty
#define PLUMET_FILENO fileno
#endif

#include "cli/cli.h"

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Only printing to a PDF needs the graphical part of Qt (its fonts); the companion never
    // shows a window, so it gets the offscreen platform. Every other command stays without it.
    std::unique_ptr<QCoreApplication> app;
    if (std::find(args.begin(), args.end(), "--pdf") != args.end()) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    return plumet::cli::RunCli(args, std::cout, std::cerr, PLUMET_ISATTY(PLUMET_FILENO(stderr)) != 0);
}
