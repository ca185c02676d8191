#pragma once
// The amendment log of a race, "racecalc\" + trimmed race name + ".log" (Windows-1252, CR LF):
// a record of when a list was made final and of every change after that, which is only ever
// appended to. Each entry is a head line, its lines, and a blank line:
//   Final 07.12.2026 20:41:05
//   By: Karl
//
//   Amended 09.12.2026 18:02:11
//   By: Karl
//   Reason: clock of 003 read out late
//   Moved: DV 04512-21-0123 (Meier) place 7 -> 3, 1201.250 -> 1260.075 m/min
//   Entered: 42 -> 43
//   Prize won: Season 2026, DV 04512-21-0123 (Meier) place 3
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/files.h"
#include "core/app/timesource.h"
#include "core/race/races.h"
#include "core/race/resultlayout.h"
#include "core/race/resultfile.h"

namespace plumet {

enum class RaceState { Provisional, Final, Amended };

struct RaceLogEntry {
    RaceState kind = RaceState::Final; // Final or Amended
    DateTime when;
    std::string who;
    std::string reason;               // an amendment's
    std::vector<std::string> changes; // "Moved: …", "Entered: 42 -> 43", as the file holds them
};

// Who changes a final list, when and why: every task that would append to a log takes one.
struct RaceLogAuthor {
    std::string who; // "" takes the system's login name
    std::string reason;
    DateTime when;
};

struct RaceLog {
    Path file;
    ReadStatus status = ReadStatus::Missing;
    FileProblem problem; // why it cannot be read, or the line that is not of a log
    std::string bytes;   // as read, which every change keeps at the start of the file
    std::vector<RaceLogEntry> entries;

    // No log is a provisional race; otherwise the kind of its last entry.
    RaceState State() const;
    // A log that exists but cannot be read, or is not of a log: nothing may be appended.
    bool Sound() const { return status != ReadStatus::Unreadable; }
};

Path RaceLogPath(const Path& programFolder, std::string_view raceName);
// Where the log of a deleted race goes: "<race>.<yyyymmdd-hhmmss>.log", a name no race can take.
Path DeletedRaceLogPath(const Path& programFolder, std::string_view raceName, const DateTime& when);

RaceLog ReadRaceLog(const Path& programFolder, std::string_view raceName);
// Every line must be of an entry; the first one that is not is named in `problem`.
std::optional<std::vector<RaceLogEntry>> ParseRaceLog(std::string_view bytes, FileProblem& problem);
// The entry's lines and the blank line that ends it, CR LF.
std::string RaceLogEntryText(const RaceLogEntry& entry);

// The user's login name, for an entry whose author typed none.
std::string LoginName();

// "Races.ReasonNeeded" when `author` gives no reason, "Races.ReasonNotFit" when who or why holds
// a control character; "" when the author may sign an entry.
std::string AuthorProblem(const RaceLogAuthor* author, std::string_view raceName, bool reasonNeeded);

// What a new calculation changes in a list: pigeons added, removed and moved (by ring, letter case
// and sex aside), the counters, and in a race of a season the prizes won and lost (`prizeRatio`
// 0 for none).
std::vector<std::string> ResultChanges(const Race& before, const std::vector<ResultLine>& oldLines, const Race& after,
                                       const std::vector<ResultLine>& newLines, const std::string& season,
                                       int prizeRatio);
// The fields of the race definition that differ, as "Altered: …" lines; a new name is "Renamed".
std::vector<std::string> DefinitionChanges(const Race& before, const Race& after);

// The log of a race that is final or amended with an amendment appended, as the file to save
// with the rest of the change; nothing when the race is provisional. Refused (through `refusal`)
// when the log cannot be read or the author gives no reason.
struct LogAppend {
    std::optional<FileToSave> file;
    SaveResult refusal;
};
LogAppend AmendLog(const Path& programFolder, const Race& race, const RaceLogAuthor* author,
                   const std::vector<std::string>& changes, const Path& target = {});

// Appends a Final entry under the write lock: refused for a race without a result file, a log
// that cannot be read, and a result file that differs from `shownResult` (when given: the bytes
// the window showed).
SaveResult FinaliseRace(const Path& programFolder, const Race& race, const RaceLogAuthor& author,
                        const std::optional<std::string>& shownResult = std::nullopt);

// "Provisional", "Final, 07.12.2026", "Amended, 09.12.2026: reason", from the catalogue.
std::string RaceStateText(const RaceLog& log);
std::string RaceStateText(const Path& programFolder, const Race& race);
// A list of several races (a combined list) is final once each of them is final or amended,
// dated by the latest; provisional while any is not.
std::string ListsStateText(const Path& programFolder, const std::vector<std::string>& raceNames);

// The log printed after the list: `title` and the race's name on each page, then its lines,
// pages numbered on from `firstNumber`. None for a race without entries.
std::vector<PrintPage> LogPages(const RaceLog& log, const std::string& title, std::string_view raceName,
                                std::size_t firstNumber);

} // namespace plumet
