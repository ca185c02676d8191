#pragma once
// The small installation of the exchange file tests (tests/data/exchange/installation) and its
// two exchange files, for region 007 and federation 03.
#include <string>

#include "core/app/fixedwidth.h"
#include "core/app/options.h"
#include "core/exchange/fancierexchange.h"
#include "core/registers/pigeons.h"
#include "testfolder.h"

namespace plumet::exchangetest {

inline std::string Golden(const std::string& relative) { return TestData("exchange/" + relative); }

inline Settings TestSettings() {
    Settings settings;
    settings.region = "007North" + std::string(25, ' ');
    settings.federation = "003East" + std::string(26, ' ');
    return settings;
}

inline SexCharacters TestSexes() { return SexCharactersFromTexts("M", "F", "U"); }

// A line of the fancier exchange file and a pigeon record of the loft exchange file.
inline std::string Fancier(const std::string& club, const std::string& number, const std::string& name) {
    return "4" + club + number + PadRight(name, 20) + "N51000000E0070000000" + std::string(30, ' ');
}
inline std::string Pigeon(const std::string& nation, int number, char sex = 'M') {
    return PadRight(nation, 6) + "  23     " + PadLeft(std::to_string(number), 7, ' ') + sex + "1300000000BLUE00";
}

// A program folder with the six data folders, empty.
struct EmptyInstallation : TestFolder {
    EmptyInstallation() {
        for (const char* name : kDataFolders) std::filesystem::create_directories(path() / name);
    }
};

struct TestInstallation : EmptyInstallation {
    TestInstallation() { CopyData("exchange/installation"); }
};

} // namespace plumet::exchangetest
