#pragma once
// The program folder, its data folders and the options file OPTIONS.PAR.
#include <string>
#include <vector>

#include "core/app/files.h"

namespace plumet {

// What the check sheet of a race flags: a clock off by more than this many seconds a day, and
// speeds outside this band (metres per minute). Whole numbers, kept in plumet.ini.
struct CheckLimits {
    int clockDeviation = 60;
    int slowestSpeed = 300;
    int fastestSpeed = 2200;
    bool operator==(const CheckLimits&) const = default;
};
// The largest value a limit takes.
inline constexpr int kLargestCheckLimit = 99999;
// Why the limits cannot be used (catalogue text), or "": each from 1 to kLargestCheckLimit, the
// slowest speed below the fastest.
std::string CheckLimitsProblem(const CheckLimits& limits);

struct Settings {
    std::string region;      // RegionColumn: 3-digit number + 30-character name
    std::string federation;  // FederationColumn: "0" + 2-digit number + 30-character name
    std::string comPort;     // port id; "" or "0" means none
    std::string sizeChoice = "1";
    float scaleFactor = 1.0F;
    // Menus the options file has no line for; they live in the program's own file.
    bool showRaceEvaluation = false;      // race calculation and manual clock times
    bool showTerminalProgramLoad = false; // the firmware menus
    CheckLimits checkLimits = {};
    // Why OPTIONS.PAR could not be used (catalogue text, Windows-1252); the settings are then
    // the defaults. "" when it was sound or is missing.
    std::string damage = {};
    // Why plumet.ini could not be used (catalogue text): the menus are then hidden, and a save
    // replaces only the damage reported here. "" when it was sound or is missing.
    std::string programOptionsDamage = {};

    std::string RegionNumber() const;
    std::string RegionName() const;
    std::string FederationNumber() const; // the two digits after the "0"
    std::string FederationName() const;
    bool HasPort() const { return !comPort.empty() && comPort != "0"; }
};

inline constexpr const char* kOptionsFileName = "OPTIONS.PAR";
// Beside OPTIONS.PAR, which keeps exactly its four lines for installations that share it.
inline constexpr const char* kProgramOptionsFileName = "plumet.ini";
inline constexpr const char* kDataFolders[] = {"exchange", "race", "racepo", "club", "fancier", "pigeon"};

// 1.0, 1.3 or 1.5 for "1", "2", "3"; 1.0 for anything else.
float ScaleFactorOf(const std::string& sizeChoice);

struct WindowSize {
    float factor;
    std::string choice;
    bool operator==(const WindowSize&) const = default;
};
// The sizes a window tries, largest first, until one fits its screen: the size asked for,
// then each of the three sizes with a smaller factor.
std::vector<WindowSize> WindowSizesToTry(float factor, const std::string& sizeChoice);

// Creates each missing data folder; an entry of the name that is a file is left alone.
// Returns the folders that could not be created.
std::vector<std::string> EnsureDataFolders(const Path& programFolder);

// Longer lines are no settings: a region or federation line holds 33 characters.
inline constexpr std::size_t kOptionsLineLimit = 255;

// Defaults for every setting unless the file is sound: four lines, none longer than the
// limit or holding a control byte, the region and federation lines beginning with three
// digits. A file that exists but is not sound gives the defaults and says why in `damage`.
// The menus stay hidden unless plumet.ini shows them; a plumet.ini that cannot be read, has a
// line without "=" or with a control byte, or gives a menu a value other than 0 or 1 keeps
// them hidden and says why in `programOptionsDamage`.
Settings ReadOptions(const Path& programFolder);
// Why files cannot be named after the settings or the settings go to a clock: the damage,
// or a region or federation line that does not begin with a three-digit number (no
// OPTIONS.PAR yet). "" when they can.
std::string SettingsProblem(const Settings& settings);
// Both files, all or nothing, through the program folder's journal. plumet.ini keeps the lines
// of keys it does not know; one that cannot be read, or is damaged otherwise than as
// `programOptionsDamage` says, is refused and kept.
SaveResult WriteOptions(const Path& programFolder, const Settings& settings);

// The settings dialog's fields may be saved: none empty, region number at most 255,
// federation number at most 99, both numbers whole numbers.
bool SettingsFieldsValid(const std::string& regionNumber, const std::string& regionName,
                         const std::string& federationNumber, const std::string& federationName);

} // namespace plumet
