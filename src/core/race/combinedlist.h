#pragma once
// A combined list: the races of several clubs of a federation that flew together (one day, one
// release point), ranked as one list. Stored as "racecalc\" + name + ".cmb", one setting a
// line (Windows-1252, CR LF):
//   Name=Metz federation
//   Race=Metz               one line per club race, by its name
// The list itself is never stored: it is merged afresh from the races' result files and the
// race list's counters, so it can never disagree with the clubs' own lists.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/catalogue.h"
#include "core/app/files.h"
#include "core/race/races.h"
#include "core/race/resultexport.h"
#include "core/race/resultfile.h"
#include "core/race/resultlayout.h"
#include "core/race/season.h"

namespace plumet {

inline constexpr const char* kCombinedExtension = ".cmb";

struct CombinedList {
    std::string name;
    std::vector<std::string> races; // trimmed race names, as listed
    bool Lists(std::string_view raceName) const;
    bool operator==(const CombinedList&) const = default;
};

std::vector<std::string> CombinedListFileLines(const CombinedList& list);
// A file that is not whole is refused as a whole: `line` and `reason` (catalogue words) say why.
std::optional<CombinedList> ParseCombinedListFile(const std::vector<std::string>& lines, std::size_t& line,
                                                  std::string& reason);
Path CombinedListPath(const Path& programFolder, std::string_view name);

struct CombinedFile {
    Path file;
    std::optional<CombinedList> list; // nothing when damaged
    std::string problem;              // the file, its line and the reason, when damaged
};
// Every "*.cmb" of the racecalc folder, the sound ones by name, then the damaged ones.
std::vector<CombinedFile> LoadCombinedLists(const Path& programFolder);
const CombinedFile* FindCombinedList(const std::vector<CombinedFile>& files, std::string_view name);

// Why `race` cannot fly in one list with `first`: the catalogue's words naming the race and
// what differs (date, release point, nights, closed period); "" when it can.
std::string CombineRefusal(const Race& first, const Race& race);

// Stores `list` (new, or `altered`, the name it had) under the caller's write lock. Refused,
// naming what: a name that is no name or that another list or a race has (letter case aside),
// a race not in the race list, races that did not fly together, a race another list holds,
// while any list file is damaged, or the race list cannot be read whole.
SaveResult StoreCombinedList(const Path& programFolder, const CombinedList& list, const std::optional<std::string>& altered);
SaveResult DeleteCombinedList(const Path& programFolder, std::string_view name);

// The lists that hold race `name`, rewritten with `newName` in its place, or without it when
// `newName` is empty (a list left without races goes), to be saved with the race's own files.
// Refused while a list file is damaged: it might hold the race.
struct CombinedListsOfRace {
    std::vector<FileToSave> files;
    SaveResult refusal;
};
CombinedListsOfRace CombinedListsRenamingRace(const Path& programFolder, std::string_view name, std::string_view newName);

// ---- The merged list ----

enum class CombinedRaceState { Counted, NoSuchRace, NoResultFile, ResultUnreadable, InOtherList };

struct CombinedRace {
    std::string name;
    CombinedRaceState state = CombinedRaceState::Counted;
    std::optional<Race> race;
    Path resultFile;
    FileProblem problem;   // when its result file cannot be read whole
    std::string otherList; // when another list names it too
    std::string listState; // its own list's state, when it is in the race list
};

// One club race's ranking for the merge.
struct ClubRanking {
    const Race* race = nullptr;
    const std::vector<ResultLine>* lines = nullptr;
};
struct MergedLine {
    std::size_t ranking = 0; // which of the rankings it came from
    std::size_t place = 0;   // its place there
};
// At each place, of the clubs' next pigeons the fastest comes first; of equally fast ones the
// one that arrived first (release time plus flight time), then the one of the lower club number.
std::vector<MergedLine> MergeRankings(const std::vector<ClubRanking>& rankings);

struct CombinedResult {
    CombinedList list;
    // The head as a race's: the list's name, the clubs' names, the first race's date, release
    // point and times; the counters summed; miles only when every race is in miles.
    Race head;
    std::vector<CombinedRace> races;
    std::vector<ResultLine> lines;
    std::vector<int> clubs; // the club number of each line
    std::string state;      // final once every race is
    bool raceListWhole = true;
    std::string raceListProblem;
    bool Complete() const;
};
CombinedResult CalculateCombined(const Path& programFolder, const CombinedList& list,
                                 const std::vector<CombinedFile>& files, const RaceList& raceList);
// From what the files hold now; nothing when no sound list file has that name.
std::optional<CombinedResult> CurrentCombined(const Path& programFolder, std::string_view name);

// The season that lists the combined list (the federation's), with its prizes over the combined
// entry when the list counts there: complete, and dated within the season.
RaceSeason SeasonOfCombined(const Path& programFolder, const CombinedResult& result);

// Each race that leaves the list incomplete, and a race list not read whole, named with why.
std::vector<std::string> CombinedNotes(const TextCatalogue& catalogue, const CombinedResult& result);

// Each race of the list that is in the race list, with its club and its own state.
std::vector<std::string> CombinedRaceStates(const TextCatalogue& catalogue, const CombinedResult& result);
// Printed after the list: its races with their states.
std::vector<PrintPage> CombinedRacePages(const TextCatalogue& catalogue, const CombinedResult& result,
                                         std::size_t firstNumber);

// ---- Laid out as a race's list, with a club column first ----

std::string ClubColumnText(int clubNumber);
// The club column is as wide as its head `clubHead` needs, so that the head stands over it.
std::vector<std::string> CombinedWindowLines(const CombinedResult& result, char separator,
                                             const RacePrizes* prizes = nullptr, const std::string& mark = {},
                                             const ResultWindowSpread& spread = {}, const std::string& clubHead = {});
std::array<std::string, 2> CombinedWindowHeads(const std::string& clubHead, const std::array<std::string, 8>& heads,
                                               const std::array<std::string, 2>& units,
                                               const std::array<std::string, 2>* prizeHeads = nullptr);
// The printed list: the club number stands before the fancier's name.
std::vector<ResultLine> CombinedPrintLines(const CombinedResult& result);
std::string CombinedCsv(const CombinedResult& result, const ExportTexts& texts, const RacePrizes* prizes = nullptr);
std::string CombinedHtml(const CombinedResult& result, const ExportTexts& texts, const std::string& dateText,
                         const std::vector<std::string>& notes, const RacePrizes* prizes = nullptr);

// Writes every target, all or nothing; an incomplete list is refused, naming the race.
ExportOutcome ExportCombined(const Path& programFolder, const CombinedResult& result, const ExportTexts& texts,
                             const std::string& dateText, const std::vector<ExportTarget>& targets,
                             const RacePrizes* prizes = nullptr);

} // namespace plumet
