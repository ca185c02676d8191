#pragma once
// The race calculation: the pigeons of a race's club released at its release point, read from
// the stored read-out files and the race's manual clock-time files, each arrival corrected for
// its clock's deviation and the closed nights, its speed from the distance, then ranked.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/files.h"
#include "core/app/options.h"
#include "core/race/distances.h"
#include "core/race/races.h"
#include "core/race/resultfile.h"

namespace plumet {

struct RaceLogAuthor;

inline constexpr std::size_t kMaxRaceFanciers = 999;
inline constexpr std::size_t kMaxRacePigeons = 20000;
// The race list keeps its counters in four digits, which stored files and other installations
// read: a race of more pigeons cannot be stored.
inline constexpr std::size_t kMaxCountedPigeons = 9999;

// Synchronisation data of a loft's clock (its timer line).
struct TimerEntry {
    int number1 = 0;
    int number2 = 0;
    bool flag = false;
    int syncDay = 0, syncMonth = 0, syncHour = 0, syncMinute = 0, syncSecond = 0;
    int readDay = 0, readMonth = 0, readHour = 0, readMinute = 0, readSecond = 0;
    int clockHour = 0, clockMinute = 0, clockSecond = 0;
};

struct FancierEntry {
    int number1 = 0; // club
    int number2 = 0; // fancier
    int number3 = 0;
    std::string fancierName;   // 20
    std::string loftLatitude;  // 9
    std::string loftLongitude; // 10
    TimerEntry timer;
};

// Why a pigeon is left out of the list.
enum class Exclusion { None, NoArrival, NoDate, ClockNotRun, FlightNotPositive };

struct PigeonEntry {
    int clubNumber = 0;
    int fancierNumber = 0;
    std::string ring;       // 23: nation 6, year 4, organisation 5, serial 7, sex 1
    std::string colour;     // 4
    std::string ringFormat; // 2 digits
    int releasePointNumber = 0;
    int arrivalDay = 0, arrivalMonth = 0, arrivalHour = 0, arrivalMinute = 0, arrivalSecond = 0;
    long long clockedSeconds = 0; // of the race's year, as clocked: before a night moved it
    long long flightSeconds = 0;
    std::string flightTimeText;
    double speed = 0.0;      // metres per minute
    double distanceKm = 0.0;
    std::size_t fancierIndex = 0;
    std::size_t inputFile = 0; // its file's place in the reading order
    bool dataError = false;
    Exclusion exclusion = Exclusion::None;
};

struct RaceCalculation {
    std::vector<FancierEntry> fanciers;
    std::vector<PigeonEntry> pigeons; // ranked; at most kMaxRacePigeons
    std::size_t pigeonsRead = 0;      // every pigeon of the race the files hold
    std::size_t Classified() const;
};

// Whole seconds from 1 January 00:00 of `year` to the given moment; a day or month outside its
// range rolls over as in date arithmetic (month 13 is January of the next year). 0 on failure.
std::int32_t SecondsOfYear(int day, int month, int year, int hour, int minute, int second);

// "005.03.07": hours "000", minutes "00", seconds "00".
std::string FlightTimeText(long long seconds);

// Adds the race's pigeons of one file (read-out or manual, its lines) to the calculation.
// Reading stops at the first line that cannot be decoded and at a line of a kind that cannot
// stand there; what was read stays. Pigeons beyond kMaxRacePigeons are counted, not kept. A
// loft is known by its club and fancier numbers. Gives the line (counted from 1) where
// reading ended before the end of the file, or 0.
std::size_t ReadRaceInput(RaceCalculation& calculation, const Race& race, const std::vector<std::string>& lines);

// Why the race cannot be calculated as it is stored, "" when it can: a week beyond the last
// its date allows (LastRaceWeekOn), or over night a closed period that does not run over
// midnight or a release at or after the period's start. Names the race and the fields.
std::string RaceNotCalculable(const Race& race);
// Why the counts read do not fit the race list's counters, "" when they do; says how many.
std::string CountsBeyondLimits(const Race& race, const RaceCalculation& calculation);

// Seconds of the race's year of a date and time from a clock, which carries no year: the
// year nearest the race's date.
long long ClockSeconds(int day, int month, int hour, int minute, int second, const Race& race);
// The clock's times of a loft's timer line: set (a), read out by the master clock (b) and the
// clock's own time then (c), as the correction takes them.
struct ClockTimes {
    long long set = 0, masterRead = 0, clockRead = 0;
};
ClockTimes ClockTimesOf(const TimerEntry& timer, const Race& race);

// Computes every pigeon's flight, distance and speed, then ranks them. Clock dates take the
// year nearest the race's date; an arrival in a closed night counts at the night's end, and a
// flight loses the nights that ended by its arrival.
void EvaluatePigeons(RaceCalculation& calculation, const Race& race, const DistanceTable& distances);

// The ranking: positions of `speeds` fastest first, as the system's exchange sort leaves them
// (entry i is swapped with every later entry that is strictly faster), which decides the order
// of equal speeds.
std::vector<std::size_t> ExchangeSortOrder(std::vector<double> speeds);

// The input files in reading order: the read-out files of the race's week for release point 00
// and for the race's point, then the race's manual clock-time files.
std::vector<Path> RaceInputFiles(const Path& programFolder, const Settings& settings, const Race& race);

// An input file whose reading ended before its end: the pigeons after that line are missing.
struct ReadingEnded {
    Path file;
    std::size_t line = 0;
    bool operator==(const ReadingEnded&) const = default;
};

// Reads every input file of the race (RaceInputFiles) into `calculation`, each pigeon knowing
// its file. Stops at the first file that is there but cannot be read, naming it.
struct RaceInputRead {
    std::vector<Path> files;
    std::vector<ReadingEnded> readingEnded;
    std::size_t filesRead = 0; // read-out and manual files of the race that were there
    std::optional<Path> unreadable;
    FileProblem problem;
};
RaceInputRead ReadRaceInputFiles(RaceCalculation& calculation, const Path& programFolder, const Settings& settings,
                                 const Race& race);

// The result lines (classified pigeons, in ranking order) of a calculation.
std::vector<ResultLine> ResultLinesOf(const RaceCalculation& calculation);

struct RaceCalcOutcome {
    RaceCalculation calculation;
    SaveResult racesSaved;
    SaveResult resultSaved;
    std::vector<ReadingEnded> readingEnded;
    std::size_t filesRead = 0; // read-out and manual files of the race that were there
};

// Why a race calculated and saved has no pigeons (no input file, or none of its pigeons in
// them), in the catalogue's words; "" when it has some or was not saved.
std::string NoArrivalsText(const RaceCalcOutcome& outcome, const Race& race);

// The catalogue text of a warning with %1 as the file (relative to the program folder) and %2
// as the line.
inline constexpr const char* kReadingEndedKey = "frmRaceResultsShow.frmRaceResultsShowReadingEnded";
std::string ReadingEndedText(std::string_view text, const Path& programFolder, const ReadingEnded& ended);

// Calculates race `number` of `races` (a list read earlier): reads its input, evaluates, stores
// the three counters in the list as the file holds it now and writes the race file and the
// race's result file (decimal `separator`) in one save: both or neither; `races` becomes the
// list written. A race gone or altered since `races` was read is refused (CurrentRaceOf). An
// input or distance file that is there but cannot be read, damaged settings, a race file not
// read whole, a race that cannot be calculated (RaceNotCalculable) and counts beyond the
// counters' columns are refused, and nothing changes;
// racesSaved and resultSaved then say why (the same for both).
// A final or amended race is calculated again only with `author` giving a reason; what changed
// in the list is appended to its log in the same save. A log that cannot be read refuses.
RaceCalcOutcome CalculateRace(RaceList& races, std::size_t number, const DistanceTable& distances,
                              const Path& programFolder, const Settings& settings, char separator,
                              const RaceLogAuthor* author = nullptr);

} // namespace plumet
