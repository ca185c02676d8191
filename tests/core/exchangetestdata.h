#pragma once
// The small installation of the exchange file tests (tests/data/exchange/installation) and its
// two exchange files, for region 007 and federation 03.
#include <filesystem>
#include <fstream>
#include <string>

#include "app/options.h"
#include "registers/pigeons.h"
#include "testfolder.h"

namespace plumet::exchangetest {

inline std::string Golden(const std::string& relative) {
    std::ifstream in(std::string(PLUMET_TEST_DATA) + "/exchange/" + relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline Settings TestSettings() {
    Settings settings;
    settings.region = "007North" + std::string(25, ' ');
    settings.federation = "003East" + std::string(26, ' ');
    return settings;
}

inline SexCharacters TestSexes() { return SexCharactersFromTexts("M", "F", "U"); }

// A program folder with the six data folders, empty.
struct EmptyInstallation : TestFolder {
    EmptyInstallation() {
        for (const char* name : kDataFolders) std::filesystem::create_directories(path() / name);
    }
};

// The files of the installation and of nothing else.
inline const char* const kInstallationFiles[] = {"club/club.dat", "fancier/f002.DAT", "fancier/f010.DAT",
                                                 "pigeon/p002001.dat", "pigeon/p002255.dat", "pigeon/p010007.dat"};

struct TestInstallation : EmptyInstallation {
    TestInstallation() {
        for (const char* file : kInstallationFiles) Write(file, Golden(std::string("installation/") + file));
    }
};

} // namespace plumet::exchangetest
