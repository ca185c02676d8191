#pragma once
// The demo program folder: a region with two clubs, their fanciers and pigeons, a dozen
// release points, a season of three races in the weeks before and one flown on the day the
// folder is written, and the state file of a simulated clock that holds one fancier's loft
// and his arrivals from that race.
#include <optional>
#include <string>
#include <vector>

#include "core/app/files.h"
#include "core/app/timesource.h"

namespace plumet::demo {

// The clock's state file inside the demo folder, read by plumet-clocksim --state.
inline constexpr const char* kClockStateFile = "clock-state.txt";

struct DemoOptions {
    std::string port;      // OPTIONS.PAR line 3
    std::string catalogue; // the shipped club.txt; "" leaves the copy to the program's first start
    DateTime raceDay;      // the race's date; its week names the read-out files
};

struct DemoRace {
    std::string name;
    int week = 0;
    int releasePoint = 0;
    int club = 0;
};
DemoRace TheDemoRace(const DateTime& raceDay);

// Writes every file through the register and file functions of the program. Returns the
// problems, empty when the whole folder was written.
std::vector<std::string> WriteDemoFolder(const Path& folder, const DemoOptions& options);

// Regular files under `folder`, relative, '/'-separated, sorted.
std::vector<std::string> FilesUnder(const Path& folder);

// Whether `folder` holds exactly the files `reference` holds, byte for byte.
bool SameFiles(const Path& folder, const Path& reference);

// The race date a demo folder was written for: the date of its first race, the demo's own.
std::optional<DateTime> PreparedRaceDay(const Path& folder);

} // namespace plumet::demo
