#pragma once
// Race definitions: the race record, its 289-character line, the race list "racecalc\races.dat"
// (a count line and at most 999 races) and the default race "racecalc\RaceCalcDef.dat".
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

struct RaceLogAuthor;

inline constexpr std::size_t kRaceLineLength = RaceColumn::FlightWeek.last;
inline constexpr std::size_t kRaceCapacity = 999;
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
    FileProblem problem; // why it was not read whole: the line, or why the file cannot be read

    std::size_t Count() const { return races.size(); }
    bool Full() const { return races.size() >= kRaceCapacity; }
};

// An empty list when the file is missing. Reading stops at the first line that is not a race
// (one holding a control byte or a name that IsRaceName refuses included); what was read stays,
// and a file that was not read whole is reported as Unreadable, with `problem` naming the line,
// and never saved over by SaveRaces.
RaceList LoadRaces(const Path& programFolder);
// "The file … cannot be read: line 3 is damaged." for a list not read whole, "" for one that was.
std::string RaceListProblemText(const RaceList& list);

// The list as the file holds it now, and the number in it of race `number` of `earlier` (a list
// read before). Refused when the file was not read whole, and (FileReason::Changed) when that
// race is gone, renamed or altered in anything but its counters since `earlier` was read.
struct CurrentRace {
    RaceList list;
    std::size_t number = 0;
    SaveResult refusal;
};
CurrentRace CurrentRaceOf(const Path& programFolder, const RaceList& earlier, std::size_t number);
SaveResult SaveRaces(const RaceList& list, const Path& programFolder);
// The lines of the race file.
std::vector<std::string> RaceFileLines(const RaceList& list);

// The default race, when its file was read.
std::optional<Race> LoadDefaultRace(const Path& programFolder);
SaveResult SaveDefaultRace(const Path& programFolder, const Race& race);

// Messages of the race editor. Each names a pair of keys: text "frmRaceAdd.frmRaceAddMsgBoxHelp"
// + (2n - 1), title "frmRaceAdd.frmRaceAddMsgBoxHelp" + 2n.
inline constexpr int kRaceNameUsed = 1;
inline constexpr int kRaceNameMissing = 2;
inline constexpr int kRaceClosedPeriodNotOverMidnight = 3;
inline constexpr int kRaceNameInFiles = 4;

inline constexpr int kRaceNameNotFit = 5;

// Whether two race names name the same files: trimmed, letter case aside.
bool SameRaceName(std::string_view a, std::string_view b);

// Device names that Windows reserves in every folder (CON, PRN, AUX, NUL, COM1-9, LPT1-9).
bool IsDeviceName(std::string_view name);
// A name that may name a race and its files: trimmed, 1 to 30 characters of letters A-Z and
// a-z, digits, "_" and blanks, and no device name.
bool IsRaceName(std::string_view name);

// A closed period runs from an evening into the next morning: it ends earlier in the day than
// it starts. Only a race over one night or more has one.
bool ClosedPeriodAcceptable(const Race& race);

// frmRaceAdd, store. Works on the list as the file holds it now (CurrentRaceOf), so that
// another task's changes stay. Refuses, with the focus on the field named: a name that another
// race has (trimmed names, letter case aside; in Alter mode the race itself does not count),
// that is empty or not a race name (Text1); a closed period that does not run over midnight
// (Text4). A new name that files of the racecalc folder already carry is refused through
// `saved`, naming them. Add appends, Alter (`alteredNumber`) replaces the race and keeps its
// counters; a new name takes the race's result file, manual files and its place in the seasons
// with it, written together with the race file, or nothing changes. `list` becomes the list
// written; a full list, a changed race and an unreadable file are refused through `saved`.
// Altering a final or amended race needs `author` with a reason, and appends the change to its log.
ActionResult StoreRace(RaceList& list, const Path& programFolder, const Race& race,
                       std::optional<std::size_t> alteredNumber, const RaceLogAuthor* author = nullptr);

// frmRaceSelect, Delete: removes race `number` from the list as the file holds it now, its result
// file and manual clock-time files, and takes it out of the seasons that list it, all in one
// save or nothing; refused as StoreRace is when the race changed meanwhile. Its log is kept under
// a name no race can take (DeletedRaceLogPath), with the deletion and `author`'s reason appended
// when the race was final or amended.
SaveResult DeleteRace(RaceList& list, const Path& programFolder, std::size_t number,
                      const RaceLogAuthor* author = nullptr);

} // namespace plumet
