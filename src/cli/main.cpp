#include <QGuiApplication>
#include <cstdio>
#include <iostream>

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
    // The companion never shows a window; the offscreen platform gives it fonts for printing.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return plumet::cli::RunCli(args, std::cout, std::cerr, PLUMET_ISATTY(PLUMET_FILENO(stderr)) != 0);
}
