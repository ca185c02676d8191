#pragma once
// The program folder, its data folders and the options file OPTIONS.PAR.
#include <string>
#include <vector>

#include "app/files.h"

namespace plumet {

struct Settings {
    std::string region;      // 3-digit number + 30-character name
    std::string federation;  // "0" + 2-digit number + 30-character name
    std::string comPort;     // port id; "" or "0" means none
    std::string sizeChoice = "1";
    float scaleFactor = 1.0F;
    // Menus the options file has no line for; they live in the program's own file.
    bool showRaceEvaluation = false;      // race calculation and manual clock times
    bool showTerminalProgramLoad = false; // the firmware menus

    std::string RegionNumber() const;     // characters 1-3
    std::string RegionName() const;       // characters 4-33
    std::string FederationNumber() const; // characters 2-3
    std::string FederationName() const;   // characters 4-33
    bool HasPort() const { return !comPort.empty() && comPort != "0"; }
};

inline constexpr const char* kOptionsFileName = "OPTIONS.PAR";
// Beside OPTIONS.PAR, which keeps exactly its four lines for installations that share it.
inline constexpr const char* kProgramOptionsFileName = "plumet.ini";
inline constexpr const char* kDataFolders[] = {"exchange", "race", "racepo", "club", "fancier", "pigeon"};

// 1.0, 1.3 or 1.5 for "1", "2", "3"; 1.0 for anything else.
float ScaleFactorOf(const std::string& sizeChoice);

// Creates each missing data folder; an entry of the name that is a file is left alone.
// Returns the folders that could not be created.
std::vector<std::string> EnsureDataFolders(const Path& programFolder);

// Defaults for every OPTIONS.PAR setting unless all four lines are there; the menus stay hidden
// unless plumet.ini shows them.
Settings ReadOptions(const Path& programFolder);
// Both files, all or nothing.
SaveResult WriteOptions(const Path& programFolder, const Settings& settings);

// The settings dialog's fields may be saved: none empty, region number at most 255,
// federation number at most 99, both numbers whole numbers.
bool SettingsFieldsValid(const std::string& regionNumber, const std::string& regionName,
                         const std::string& federationNumber, const std::string& federationName);

} // namespace plumet
