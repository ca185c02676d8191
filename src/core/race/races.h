#pragma once
// Race definitions: the race record, its 289-character line, the race list "racecalc\races.dat"
// (a count line and at most 50 races) and the default race "racecalc\RaceCalcDef.dat".
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/actionresult.h"
#include "core/app/files.h"
#include "core/race/racecolumns.h"
#include "core/records/registertable.h"

namespace plumet {

inline constexpr std::size_t kRaceLineLength = RaceColumn::FlightWeek.last;
inline constexpr std::size_t kRaceCapacity = 50;
inline constexpr std::size_t kRaceNameLength = RaceColumn::Name.width();

// Distance units of a race (the index of the editor's unit list).
inline constexpr int kRaceInKm = 0;
inline constexpr int kRaceInMiles = 1;

struct Race {
    std::string name;             // 30, blank-padded; its trimmed form names the race's files
    int day = 1;
    int month = 1;
    int year = 2000;
    std::string clubName;         // 30
    std::string releasePointName; // 43
    int releaseHour = 0;
    int releaseMinute = 0;
    int distanceUnit = kRaceInKm;
    bool overNight = false;
    int closedFromHour = 0;
    int closedFromMinute = 0;
    int closedToHour = 0;
    int closedToMinute = 0;
    std::string headerComment;    // 60
    std::string footerComment;    // 60
    int clubNumber = 0;
    int releasePointNumber = 0;
    std::string releaseLatitude;  // 9, coordinate text
    std::string releaseLongitude; // 10, coordinate text
    std::string meanDistance = "0000";
    int pigeonsEntered = 0;       // the three counters are set by the calculation
    int pigeonsClassified = 0;
    int fanciersEntered = 0;
    int nights = 0;
    int flightWeek = 1;

    bool operator==(const Race&) const = default;
};

// The race's columns, each field fitted to its width; a number too large for its columns is
// written as the largest that fits, so a line never loses its fixed columns.
std::string RaceToLine(const Race& race);
// Nothing when the line is shorter than 289 characters or a number column holds no number.
std::optional<Race> LineToRace(std::string_view line);

// The race's name without its padding, as the duplicate test and the file names use it.
std::string TrimmedRaceName(const Race& race);

Path RacesFilePath(const Path& programFolder);       // racecalc\races.dat
Path DefaultRaceFilePath(const Path& programFolder); // racecalc\RaceCalcDef.dat
// racecalc\ + trimmed name + ".flt", the result file the calculation writes.
Path ResultFilePath(const Path& programFolder, std::string_view raceName);

// Slot n (the race number) is races[n - 1].
struct RaceList {
    std::vector<Race> races;
    LoadOutcome outcome = LoadOutcome::Missing;
    Path loadedFrom;

    std::size_t Count() const { return races.size(); }
    bool Full() const { return races.size() >= kRaceCapacity; }
};

// An empty list when the file is missing. Reading stops at the first line that is not a race;
// what was read stays, and a file that was not read whole is reported as Unreadable and never
// saved over by SaveRaces.
RaceList LoadRaces(const Path& programFolder);
SaveResult SaveRaces(const RaceList& list, const Path& programFolder);
// The lines of the race file, and whether the list may be written over it (not when the file
// was not read whole).
std::vector<std::string> RaceFileLines(const RaceList& list);
SaveResult RaceFileWritable(const RaceList& list, const Path& programFolder);

// The default race, when its file was read.
std::optional<Race> LoadDefaultRace(const Path& programFolder);
SaveResult SaveDefaultRace(const Path& programFolder, const Race& race);

// Messages of the race editor. Each names a pair of keys: text "frmRaceAdd.frmRaceAddMsgBoxHelp"
// + (2n - 1), title "frmRaceAdd.frmRaceAddMsgBoxHelp" + 2n.
inline constexpr int kRaceNameUsed = 1;
inline constexpr int kRaceNameMissing = 2;
inline constexpr int kRaceClosedPeriodNotOverMidnight = 3;
inline constexpr int kRaceNameInFiles = 4;

// Whether two race names name the same files: trimmed, letter case aside.
bool SameRaceName(std::string_view a, std::string_view b);

// A closed period runs from an evening into the next morning: it ends earlier in the day than
// it starts. Only a race over one night or more has one.
bool ClosedPeriodAcceptable(const Race& race);

// frmRaceAdd, store. Refuses, with the focus on the field named: a name that another race has
// (trimmed names, letter case aside; in Alter mode the race itself does not count) or that is
// empty (Text1); a closed period that does not run over midnight (Text4); a new name that files
// of the racecalc folder already carry (Text1). Add appends, Alter (`alteredNumber`) replaces
// the race and keeps its counters; a new name takes the race's result file and manual files
// with it, written together with the race file, or nothing changes. The list changes only when
// the race file was written; a full list is refused through `saved`.
ActionResult StoreRace(RaceList& list, const Path& programFolder, const Race& race,
                       std::optional<std::size_t> alteredNumber);

// frmRaceSelect, Delete: removes race `number`, writes the race file, then deletes the race's
// result file and manual clock-time files. Nothing is deleted when the race file was not written.
SaveResult DeleteRace(RaceList& list, const Path& programFolder, std::size_t number);

} // namespace plumet
