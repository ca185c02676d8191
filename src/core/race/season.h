#pragma once
// The club's season: a named list of races with its prize rules, the prizes and ace points
// that each race gives, and the championships of pigeons and lofts over the season's races.
// A season lives in "racecalc\" + name + ".season", one setting a line (Windows-1252, CR LF):
//   Name=Season 2024
//   PrizeRatio=4            one prize per 4 pigeons entered, 2 to 10
//   CountedPrizes=5         a loft's best prizes counted per race, 1 to 99
//   FirstRace=04.05.2024
//   LastRace=28.09.2024
//   Race=Bastogne           one line per race, by its name
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/catalogue.h"
#include "core/app/files.h"
#include "core/race/races.h"
#include "core/race/resultfile.h"

namespace plumet {

inline constexpr int kDefaultPrizeRatio = 4;
inline constexpr int kLeastPrizeRatio = 2;
inline constexpr int kMostPrizeRatio = 10;
inline constexpr int kDefaultCountedPrizes = 5;
inline constexpr int kLeastCountedPrizes = 1;
inline constexpr int kMostCountedPrizes = 99;
inline constexpr std::size_t kSeasonNameLength = 30;
inline constexpr const char* kSeasonExtension = ".season";

struct SeasonDate {
    int year = 2000;
    int month = 1;
    int day = 1;
    auto operator<=>(const SeasonDate&) const = default;
};
SeasonDate DateOfRace(const Race& race);
// "DD.MM.YYYY", as the season file holds dates.
std::string SeasonDateText(const SeasonDate& date);
std::optional<SeasonDate> ParseSeasonDate(std::string_view text);

struct Season {
    std::string name;
    int prizeRatio = kDefaultPrizeRatio;
    int countedPrizes = kDefaultCountedPrizes;
    SeasonDate firstRace;
    SeasonDate lastRace;
    std::vector<std::string> races; // trimmed race names, as listed

    bool operator==(const Season&) const = default;
    bool Lists(std::string_view raceName) const;
    bool Covers(const SeasonDate& date) const { return firstRace <= date && date <= lastRace; }
};

// A name fit for a season and for its file: 1 to 30 characters of the race names' set
// (letters A-Z and a-z, digits, "_", blank), not blank.
bool IsSeasonName(std::string_view name);

// ---- The season file ----

enum class SeasonDamage {
    None,
    Unreadable,     // the file cannot be read at all (`read` says why)
    FolderUnreadable, // the racecalc folder cannot be listed, so no season is known for sure
    NoSetting,      // a line that is not Key=Value
    UnknownSetting,
    SettingTwice,
    Name,
    PrizeRatio,
    CountedPrizes,
    Date,
    DateOrder,      // the last race date before the first
    RaceName,
    RaceTwice,
    Missing,        // a setting the file lacks; its line is one past the last
};

struct SeasonFileProblem {
    Path file;
    SeasonDamage damage = SeasonDamage::None;
    std::size_t line = 0;
    std::string setting; // the key of the line, or of the missing setting
    FileProblem read;    // why it cannot be read
    bool operator==(const SeasonFileProblem&) const = default;
};

std::vector<std::string> SeasonFileLines(const Season& season);
// A file that is not whole is refused as a whole, with its first fault.
std::optional<Season> ParseSeasonFile(const std::vector<std::string>& lines, SeasonFileProblem& problem);

Path SeasonFilePath(const Path& programFolder, std::string_view seasonName);

struct SeasonFile {
    Path file;
    std::optional<Season> season; // nothing when the file is damaged
    SeasonFileProblem problem;
};
// Every "*.season" of the racecalc folder, the good ones by name, then the damaged ones by file name.
std::vector<SeasonFile> LoadSeasons(const Path& programFolder);

// ---- Prizes of one race ----

// ceil(entered / ratio), and no more than the pigeons classified.
int PrizeCount(int entered, std::size_t classified, int prizeRatio);
// (prizes + 1 - place) / prizes x 100 in hundredths, a half rounded up.
long long AcePointsHundredths(int prizes, std::size_t place);
// place x 1000 / entered in thousandths, a half rounded up.
long long CoefficientThousandths(std::size_t place, int entered);
// 12345 -> "123.45" (hundredths) or "12.345" (thousandths).
std::string HundredthsText(long long hundredths, char separator);
std::string ThousandthsText(long long thousandths, char separator);

struct RacePrizes {
    std::string season;
    int prizeRatio = kDefaultPrizeRatio;
    int entered = 0;
    std::vector<long long> points;       // hundredths, place 1 first
    std::vector<long long> coefficients; // thousandths
    std::size_t Count() const { return points.size(); }
    bool operator==(const RacePrizes&) const = default;
};
// "Entered" counts the data errors too; a counter below the pigeons of the result file (a
// file written elsewhere) is taken as their number.
RacePrizes PrizesOfRace(const Season& season, const Race& race, std::size_t classified);

// ---- The standings ----

struct PigeonStanding {
    std::size_t place = 0;
    std::string ring;
    std::string loft;
    long long points = 0; // hundredths
    int prizes = 0;
    long long coefficients = 0; // thousandths, over the prize-winning races
    bool operator==(const PigeonStanding&) const = default;
};

struct LoftStanding {
    std::size_t place = 0;
    std::string loft;
    long long points = 0; // hundredths
    int countedPrizes = 0;
    bool operator==(const LoftStanding&) const = default;
};

// One race that counts: its prizes, its ranking, and its date and name, which decide which
// of its names a pigeon that changed lofts is shown with (the latest).
struct CountedRace {
    std::string name;
    SeasonDate date;
    RacePrizes prizes;
    std::vector<ResultLine> lines;
    std::vector<int> clubs; // each line's club: a loft is its club and its fancier
};

struct Standings {
    std::vector<PigeonStanding> pigeons;
    std::vector<LoftStanding> lofts;
    bool operator==(const Standings&) const = default;
};
// A pigeon's ring as races compare it: the result file's ring text without the sex letter (its
// last column, which the read-out words in its own language), blanks at the end and letter case.
std::string RingKey(std::string_view ringText);

// Pigeons (known by RingKey, shown with the ring of their latest race) by the sum of their ace points, then more prizes, then the
// lower sum of coefficients, then the ring. Lofts (known by the result file's name) by the
// sum of the ace points of their best `countedPrizes` prizes in each race, then more prizes
// counted, then the name. Only prize winners stand in them. Where lofts of several clubs stand,
// each is named with its club's number.
Standings StandingsOf(const std::vector<CountedRace>& races, int countedPrizes);

// Incomplete: a combined list that lacks a club race, or names one another list holds too.
enum class SeasonRaceState { Counted, NoSuchRace, NoResultFile, ResultUnreadable, OutsideDates, InOtherSeason, Incomplete };

struct SeasonRace {
    std::string name; // as the season lists it, or as the race list spells it
    SeasonRaceState state = SeasonRaceState::Counted;
    std::optional<Race> race;
    std::string otherSeason;
    RacePrizes prizes;     // when counted
    std::size_t classified = 0;
    Path resultFile;
    FileProblem resultProblem; // when its result file cannot be read whole
    std::string listState;     // when counted: provisional, final or amended, with its date
};

struct SeasonStandings {
    Season season;
    std::vector<SeasonRace> races;
    Standings standings;
    // Season files that could not be read: they might list a race of this season.
    std::vector<SeasonFileProblem> damaged;
    bool raceListWhole = true;
    std::string raceListProblem; // the race list's file and why, when not read whole
};

// The standings of `season` as its files stand now. `files` are all the seasons (LoadSeasons),
// to tell a race that another season lists too.
SeasonStandings CalculateSeason(const Path& programFolder, const Season& season, const std::vector<SeasonFile>& files);

// The standings of the season named, from what the files hold now; nothing when no sound
// season file has that name.
std::optional<SeasonStandings> CurrentStandings(const Path& programFolder, std::string_view name);

// The race as the season that lists it sees it, for the race's own result list; it reads the
// race's result file as the standings do.
struct RaceSeason {
    std::string season;             // the first season that lists it, "" when none does
    std::optional<SeasonRace> race; // nothing in no season
    std::vector<SeasonFileProblem> damaged;
    // The prizes, when the race counts in its season.
    const RacePrizes* Prizes() const;
};
RaceSeason SeasonOfRace(const Path& programFolder, const Race& race);

// ---- Storing and deleting ----

// Messages of frmSeasonEdit: "frmSeasonEdit.MsgBoxText" + n with %1 and %2 filled from `names`.
inline constexpr int kSeasonNameMissing = 1;
inline constexpr int kSeasonNameUsed = 2;
inline constexpr int kSeasonPrizeRatio = 3;
inline constexpr int kSeasonCountedPrizes = 4;
inline constexpr int kSeasonDateOrder = 5;
inline constexpr int kSeasonRaceOutsideDates = 6; // %1 race, %2 its date
inline constexpr int kSeasonRaceInOtherSeason = 7; // %1 race, %2 the other season
inline constexpr int kSeasonFileDamaged = 8;       // `problem` says which file and line
inline constexpr int kSeasonRaceTwice = 9;         // %1 race, %2 the combined list that holds it too

struct SeasonStore {
    int message = 0;
    std::string focusField;
    std::vector<std::string> names;
    SeasonFileProblem problem;
    SaveResult saved;
    bool Done() const { return message == 0 && saved.ok; }
};

// Writes `season` (a new one, or `altered`, the name it had). Refused: an empty name or one
// another season has (letter case aside), figures out of range, the last date before the
// first, a race of the race list dated outside the season, a race that another season lists,
// and while any other season file is damaged (it might list one of the races) or the file of
// the name is a damaged one, which is never saved over. A new name moves the file.
SeasonStore StoreSeason(const Path& programFolder, const Season& season, const std::optional<std::string>& altered);

// The seasons that list race `name`, and their files rewritten with `newName` in its place, or
// without it when `newName` is empty, to be saved with the race's own files. Refused while a
// season file is damaged or the folder cannot be listed: it might list the race.
struct SeasonsOfRace {
    std::vector<std::string> seasons;
    std::vector<FileToSave> files;
    SaveResult refusal;
};
SeasonsOfRace SeasonsRenamingRace(const Path& programFolder, std::string_view name, std::string_view newName);

// Removes the season's file; a damaged one is left alone. Refused texts come from the catalogue.
SaveResult DeleteSeason(const Path& programFolder, std::string_view name);

// ---- Texts ----

// The catalogue's words for a damaged season file, naming it (relative to the program folder)
// and its line.
std::string SeasonProblemText(const TextCatalogue& catalogue, const Path& programFolder, const SeasonFileProblem& problem);
// Every file the standings could not be read whole from, named with the reason: the race list,
// damaged season files and result files; empty when the standings are whole.
std::vector<std::string> SeasonNotWhole(const TextCatalogue& catalogue, const Path& programFolder,
                                        const SeasonStandings& standings);
// Why a race of the season does not count; "" when it does.
std::string SeasonRaceStateText(const TextCatalogue& catalogue, const SeasonRace& race);
// For the race's result list: each damaged season file, and why the season that lists the race
// does not count it.
std::vector<std::string> RaceSeasonWarnings(const TextCatalogue& catalogue, const Path& programFolder,
                                            const RaceSeason& season);
// "Season 2024, 3 prizes (1:4)", beside the race's head.
std::string RaceSeasonText(const TextCatalogue& catalogue, const RacePrizes& prizes);
// Replaces %1, %2 … by the values.
std::string FillPlaceholders(std::string text, const std::vector<std::string>& values);

} // namespace plumet
