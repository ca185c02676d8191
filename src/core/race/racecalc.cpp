#include "core/race/racecalc.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/app/timesource.h"
#include "core/app/weeks.h"
#include "core/race/geodesic.h"
#include "core/race/manualtimes.h"
#include "core/race/racecalcfolder.h"
#include "core/race/racelog.h"
#include "core/race/season.h"
#include "core/clock/readoutcolumns.h"
#include "core/clock/readoutfile.h"
#include "core/registers/rings.h"

namespace plumet {
namespace {

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days from 1970-01-01 to a proleptic Gregorian date.
long long DaysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    const long long era = FloorDiv(y, 400);
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The day `day` of month `month` of `year` with months and days rolling over, as a day count;
// nothing outside the years a calendar date can take.
std::optional<long long> RolledDays(long long day, long long month, long long year) {
    const long long y = year + FloorDiv(month - 1, 12);
    const long long m = month - 1 - FloorDiv(month - 1, 12) * 12 + 1;
    if (y < 100 || y > 9999) return std::nullopt;
    return DaysFromCivil(y, m, 1) + day - 1;
}

long long RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double rest = value - floor;
    if (rest > 0.5) return static_cast<long long>(floor) + 1;
    if (rest < 0.5) return static_cast<long long>(floor);
    const auto lower = static_cast<long long>(floor);
    return lower % 2 == 0 ? lower : lower + 1;
}

std::optional<int> Number(std::string_view line, Column column) {
    const auto value = ParseInteger(Field(line, column));
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

// Reads the numbers of `fields` into their targets; false on the first failure.
struct NumberField {
    int* target;
    Column column;
};
template <std::size_t N>
bool ReadNumbers(std::string_view line, const NumberField (&fields)[N]) {
    for (const NumberField& field : fields) {
        const auto value = Number(line, field.column);
        if (!value) return false;
        *field.target = *value;
    }
    return true;
}

std::optional<FancierEntry> DecodeLoftLine(std::string_view line) {
    namespace column = ReadoutFancierColumn;
    FancierEntry fancier;
    if (!ReadNumbers(line, {{&fancier.number1, column::Club},
                            {&fancier.number2, column::Fancier},
                            {&fancier.number3, column::ArrivalCount}}))
        return std::nullopt;
    fancier.fancierName = PadRight(Field(line, column::Name), column::Name.width());
    fancier.loftLatitude = Field(line, column::Latitude);
    fancier.loftLongitude = Field(line, column::Longitude);
    return fancier;
}

std::optional<TimerEntry> DecodeTimerLine(std::string_view line) {
    namespace column = ReadoutTimerColumn;
    TimerEntry t;
    const NumberField fields[] = {
        {&t.number1, column::Club},
        {&t.number2, column::Fancier},
        {&t.syncDay, column::BasketingDay},
        {&t.syncMonth, column::BasketingMonth},
        {&t.syncHour, column::BasketingHour},
        {&t.syncMinute, column::BasketingMinute},
        {&t.syncSecond, column::BasketingSecond},
        {&t.readDay, column::ReadoutDay},
        {&t.readMonth, column::ReadoutMonth},
        {&t.readHour, column::ReadoutHour},
        {&t.readMinute, column::ReadoutMinute},
        {&t.readSecond, column::ReadoutSecond},
        {&t.clockHour, column::ClockHour},
        {&t.clockMinute, column::ClockMinute},
        {&t.clockSecond, column::ClockSecond},
    };
    if (!ReadNumbers(line, fields)) return std::nullopt;
    t.flag = Field(line, column::Flag) == "1";
    return t;
}

std::optional<PigeonEntry> DecodePigeonLine(std::string_view line) {
    namespace column = ReadoutPigeonColumn;
    PigeonEntry p;
    const NumberField fields[] = {
        {&p.clubNumber, column::Club},
        {&p.fancierNumber, column::Fancier},
        {&p.releasePointNumber, column::ReleasePoint},
        {&p.arrivalDay, column::ArrivalDay},
        {&p.arrivalMonth, column::ArrivalMonth},
        {&p.arrivalHour, column::ArrivalHour},
        {&p.arrivalMinute, column::ArrivalMinute},
        {&p.arrivalSecond, column::ArrivalSecond},
    };
    if (!ReadNumbers(line, fields)) return std::nullopt;
    p.ring = PadRight(Field(line, column::Ring), column::Ring.width());
    p.colour = Field(line, column::Colour);
    p.ringFormat = Field(line, column::RingFormat);
    return p;
}

bool StartsWith(const std::string& line, char kind) { return !line.empty() && line.front() == kind; }

bool HasPosition(std::string_view latitude, std::string_view longitude) {
    return !LatitudeIsZero(latitude) || !LongitudeIsZero(longitude);
}

double DistanceKm(const PigeonEntry& p, const FancierEntry& fancier, const Race& race,
                  const DistanceTable& distances) {
    if (HasPosition(race.releaseLatitude, race.releaseLongitude) &&
        HasPosition(fancier.loftLatitude, fancier.loftLongitude))
        return GeodesicDistanceKm(fancier.loftLatitude, fancier.loftLongitude, race.releaseLatitude,
                                  race.releaseLongitude);
    const double stored = distances.Distance(p.fancierNumber, p.releasePointNumber);
    return distances.UnitFlag(p.fancierNumber, p.releasePointNumber) == kEnteredInKm ? stored : MilesToKm(stored);
}

// Clock dates carry no year; counted in the race's year, a date of the year after has its
// months past December, one of the year before its months below January.
int MonthInRaceYear(int day, int month, const Race& race) {
    return month + 12 * (ClockDateYear(day, month, race.day, race.month, race.year) - race.year);
}


// Night k of a race (k = 1 .. nights) closes from closedFrom on the (k-1)-th day after the
// release to closedTo on the k-th. An arrival in a night counts at its end; the flight loses
// the nights that ended by then, and only those.
struct NightRule {
    long long arrival = 0;     // moved to the end of its night when it fell into one
    long long closedTime = 0;  // of the nights ended at or before that arrival
    bool moved = false;
};

NightRule ApplyNights(long long arrival, const Race& race) {
    NightRule rule{arrival};
    const int from = race.closedFromHour * 3600 + race.closedFromMinute * 60;
    const int to = race.closedToHour * 3600 + race.closedToMinute * 60;
    for (int k = 1; k <= race.nights; ++k) {
        const long long start = SecondsOfYear(race.day + k - 1, race.month, race.year, 0, 0, from);
        const long long end = SecondsOfYear(race.day + k, race.month, race.year, 0, 0, to);
        if (rule.arrival >= start && rule.arrival < end) {
            rule.arrival = end;
            rule.moved = true;
        }
        if (end <= rule.arrival) rule.closedTime += end - start;
    }
    return rule;
}

void EvaluatePigeon(PigeonEntry& p, const FancierEntry& fancier, const Race& race, const DistanceTable& distances) {
    p.speed = 0.0;
    p.dataError = true;
    p.exclusion = Exclusion::NoArrival;
    if (p.arrivalDay == 0 || p.arrivalMonth == 0) return;
    p.exclusion = Exclusion::NoDate;
    const long long release = SecondsOfYear(race.day, race.month, race.year, race.releaseHour, race.releaseMinute, 0);
    const long long clocked =
        ClockSeconds(p.arrivalDay, p.arrivalMonth, p.arrivalHour, p.arrivalMinute, p.arrivalSecond, race);
    p.clockedSeconds = clocked;
    if (release == 0 || clocked == 0) return;
    const NightRule night = ApplyNights(clocked, race);
    if (night.moved) {
        const DateTime end = FromCivilSeconds(CivilSeconds(MakeDateTime(race.year, 1, 1)) + night.arrival);
        p.arrivalDay = end.day;
        p.arrivalMonth = end.month;
        p.arrivalHour = end.hour;
        p.arrivalMinute = end.minute;
        p.arrivalSecond = end.second;
    }
    const ClockTimes clock = ClockTimesOf(fancier.timer, race);
    const long long a = clock.set, b = clock.masterRead, c = clock.clockRead;
    // A clock read out at the moment it was set tells nothing about its deviation.
    p.exclusion = Exclusion::ClockNotRun;
    if (c == a) return;
    const long long corrected = RoundHalfEven(static_cast<double>(a) + static_cast<double>(night.arrival - a) *
                                                                           static_cast<double>(b - a) /
                                                                           static_cast<double>(c - a));
    const long long flight = corrected - release - night.closedTime;
    p.flightSeconds = flight;
    p.exclusion = Exclusion::FlightNotPositive;
    if (flight <= 0) return;
    p.exclusion = Exclusion::None;
    p.dataError = false;
    p.flightTimeText = FlightTimeText(flight);
    p.distanceKm = DistanceKm(p, fancier, race, distances);
    p.speed = p.distanceKm * 1000.0 / static_cast<double>(flight) * 60.0;
}

void Rank(std::vector<PigeonEntry>& pigeons) {
    std::vector<double> speeds;
    speeds.reserve(pigeons.size());
    for (const PigeonEntry& p : pigeons) speeds.push_back(p.speed);
    std::vector<PigeonEntry> ranked;
    ranked.reserve(pigeons.size());
    for (const std::size_t i : ExchangeSortOrder(std::move(speeds))) ranked.push_back(std::move(pigeons[i]));
    pigeons = std::move(ranked);
}

} // namespace

long long ClockSeconds(int day, int month, int hour, int minute, int second, const Race& race) {
    return SecondsOfYear(day, MonthInRaceYear(day, month, race), race.year, hour, minute, second);
}

ClockTimes ClockTimesOf(const TimerEntry& t, const Race& race) {
    ClockTimes times;
    times.set = ClockSeconds(t.syncDay, t.syncMonth, t.syncHour, t.syncMinute, t.syncSecond, race);
    times.masterRead = ClockSeconds(t.readDay, t.readMonth, t.readHour, t.readMinute, t.readSecond, race);
    const int clockDay = ClockReadoutDayOffset(t.readHour * 3600LL + t.readMinute * 60LL + t.readSecond,
                                               t.clockHour * 3600LL + t.clockMinute * 60LL + t.clockSecond);
    times.clockRead =
        ClockSeconds(t.readDay, t.readMonth, t.clockHour, t.clockMinute, t.clockSecond, race) + clockDay * 86400LL;
    return times;
}

std::string RaceNotCalculable(const Race& race) {
    const std::string name = TrimmedRaceName(race);
    const auto time = [](int hour, int minute) { return ZeroPadded(hour, 2) + ":" + ZeroPadded(minute, 2); };
    const int lastWeek = LastRaceWeekOn(race.year, race.month);
    if (race.flightWeek < 1 || race.flightWeek > lastWeek)
        return CatalogueText("RaceCalc.WeekOutOfRange", {name, ZeroPadded(race.flightWeek, 2), std::to_string(lastWeek)});
    if (race.nights <= 0) return {};
    const std::string from = time(race.closedFromHour, race.closedFromMinute);
    const std::string to = time(race.closedToHour, race.closedToMinute);
    if (!ClosedPeriodAcceptable(race)) return CatalogueText("RaceCalc.ClosedPeriodNotOverMidnight", {name, from, to});
    if (race.releaseHour * 60 + race.releaseMinute >= race.closedFromHour * 60 + race.closedFromMinute)
        return CatalogueText("RaceCalc.ReleaseInClosedPeriod", {name, time(race.releaseHour, race.releaseMinute), from});
    return {};
}

std::string CountsBeyondLimits(const Race& race, const RaceCalculation& calculation) {
    const std::string name = TrimmedRaceName(race);
    if (calculation.pigeonsRead > kMaxCountedPigeons)
        return CatalogueText("RaceCalc.TooManyPigeons", {name, std::to_string(calculation.pigeonsRead),
                                                          std::to_string(kMaxCountedPigeons)});
    if (calculation.fanciers.size() > kMaxRaceFanciers)
        return CatalogueText("RaceCalc.TooManyFanciers", {name, std::to_string(calculation.fanciers.size()),
                                                           std::to_string(kMaxRaceFanciers)});
    return {};
}

std::vector<std::size_t> ExchangeSortOrder(std::vector<double> speeds) {
    // The plain loops cost a swap for nearly every other comparison. Their outcome is known
    // without them: speeds fall, and the entries of one speed v end in an order that depends
    // only on where the faster entries stood. Taking the entries of v in file order into a
    // ring, every faster entry met before the next entry of v turns the ring by one (its front
    // entry moved behind the others), which is what each pass does to the entries of v.
    const std::size_t n = speeds.size();
    std::vector<std::size_t> bySpeed(n);
    for (std::size_t i = 0; i < n; ++i) bySpeed[i] = i;
    std::stable_sort(bySpeed.begin(), bySpeed.end(), [&](std::size_t a, std::size_t b) { return speeds[a] > speeds[b]; });

    std::vector<std::size_t> faster(n + 1, 0); // Fenwick tree: positions of the faster entries
    const auto countBefore = [&](std::size_t position) {
        std::size_t count = 0;
        for (std::size_t k = position; k > 0; k -= k & (~k + 1)) count += faster[k];
        return count;
    };
    std::vector<std::size_t> order;
    order.reserve(n);
    for (std::size_t first = 0; first < n;) {
        std::size_t end = first;
        while (end < n && speeds[bySpeed[end]] == speeds[bySpeed[first]]) ++end;
        std::vector<std::size_t> ring;
        std::size_t start = 0; // the ring's front
        for (std::size_t k = first; k < end; ++k) {
            if (start == 0) ring.push_back(bySpeed[k]);
            else ring.insert(ring.begin() + static_cast<std::ptrdiff_t>(start++), bySpeed[k]);
            const std::size_t next = k + 1 < end ? bySpeed[k + 1] : n;
            const std::size_t turns = countBefore(next) - countBefore(bySpeed[k] + 1);
            start = (start + turns) % ring.size();
        }
        for (std::size_t i = 0; i < ring.size(); ++i) order.push_back(ring[(start + i) % ring.size()]);
        for (std::size_t k = first; k < end; ++k)
            for (std::size_t at = bySpeed[k] + 1; at <= n; at += at & (~at + 1)) ++faster[at];
        first = end;
    }
    return order;
}

std::size_t RaceCalculation::Classified() const {
    std::size_t count = 0;
    for (const PigeonEntry& p : pigeons) count += p.dataError ? 0 : 1;
    return count;
}

std::int32_t SecondsOfYear(int day, int month, int year, int hour, int minute, int second) {
    const auto days = RolledDays(day, month, year);
    if (!days) return 0;
    const long long seconds = (*days - DaysFromCivil(year, 1, 1)) * 86400LL + hour * 3600LL + minute * 60LL + second;
    if (seconds < std::numeric_limits<std::int32_t>::min() || seconds > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(seconds);
}

std::string FlightTimeText(long long seconds) {
    const long long hours = seconds / 3600;
    const long long rest = seconds - hours * 3600;
    return ZeroPadded(hours, 3) + "." + ZeroPadded(rest / 60, 2) + "." + ZeroPadded(rest % 60, 2);
}

std::size_t ReadRaceInput(RaceCalculation& calculation, const Race& race, const std::vector<std::string>& lines) {
    // The line, counted from 1, where reading ended; 0 when only blank lines were left.
    const auto endedAt = [&lines](std::size_t k) -> std::size_t {
        for (std::size_t rest = k; rest < lines.size(); ++rest)
            if (!TrimBlanks(lines[rest]).empty()) return k + 1;
        return 0;
    };
    std::size_t k = 1; // the date line is skipped
    while (k < lines.size() && StartsWith(lines[k], kLoftLineKind)) {
        auto pending = DecodeLoftLine(lines[k]);
        if (!pending) return endedAt(k);
        if (++k >= lines.size()) return 0;
        const auto timer = DecodeTimerLine(lines[k]);
        if (!timer) return endedAt(k);
        pending->timer = *timer;
        std::optional<std::size_t> index;
        for (++k; k < lines.size() && StartsWith(lines[k], kArrivalLineKind); ++k) {
            auto pigeon = DecodePigeonLine(lines[k]);
            if (!pigeon) return endedAt(k);
            if (pigeon->clubNumber != race.clubNumber || pigeon->releasePointNumber != race.releasePointNumber)
                continue;
            if (!index) {
                auto& fanciers = calculation.fanciers;
                for (std::size_t f = 0; f < fanciers.size() && !index; ++f)
                    if (fanciers[f].number1 == pending->number1 && fanciers[f].number2 == pending->number2) index = f;
                if (!index) {
                    fanciers.push_back(*pending);
                    index = fanciers.size() - 1;
                }
            }
            // Beyond the limit the pigeons are only counted, so the refusal can say how many.
            ++calculation.pigeonsRead;
            if (calculation.pigeons.size() >= kMaxRacePigeons) continue;
            pigeon->fancierIndex = *index;
            calculation.pigeons.push_back(std::move(*pigeon));
        }
    }
    return endedAt(k);
}

void EvaluatePigeons(RaceCalculation& calculation, const Race& race, const DistanceTable& distances) {
    for (PigeonEntry& p : calculation.pigeons) EvaluatePigeon(p, calculation.fanciers[p.fancierIndex], race, distances);
    Rank(calculation.pigeons);
}

std::vector<Path> RaceInputFiles(const Path& programFolder, const Settings& settings, const Race& race) {
    const std::string week = ZeroPadded(race.flightWeek, 2);
    std::vector<Path> files{ReadoutFilePath(programFolder, settings, week, "00")};
    const Path own = ReadoutFilePath(programFolder, settings, week, ZeroPadded(race.releasePointNumber, 2));
    if (own != files.front()) files.push_back(own); // a race at point 00 would read its pigeons twice
    for (Path& manual : ManualFilesOfRace(programFolder, race.name)) files.push_back(std::move(manual));
    return files;
}

RaceInputRead ReadRaceInputFiles(RaceCalculation& calculation, const Path& programFolder, const Settings& settings,
                                 const Race& race) {
    RaceInputRead read;
    read.files = RaceInputFiles(programFolder, settings, race);
    for (std::size_t f = 0; f < read.files.size(); ++f) {
        const FileContent content = ReadWholeFile(read.files[f]);
        if (content.status == ReadStatus::Unreadable) {
            read.unreadable = read.files[f];
            read.problem = content.problem;
            return read;
        }
        if (content.status != ReadStatus::Ok) continue;
        ++read.filesRead;
        const std::size_t before = calculation.pigeons.size();
        if (const std::size_t line = ReadRaceInput(calculation, race, SplitLines(content.bytes)))
            read.readingEnded.push_back({read.files[f], line});
        for (std::size_t i = before; i < calculation.pigeons.size(); ++i) calculation.pigeons[i].inputFile = f;
    }
    return read;
}

std::vector<ResultLine> ResultLinesOf(const RaceCalculation& calculation) {
    std::vector<ResultLine> lines;
    lines.reserve(calculation.pigeons.size());
    for (const PigeonEntry& p : calculation.pigeons) {
        if (p.dataError) continue;
        lines.push_back({calculation.fanciers[p.fancierIndex].fancierName, FormatRingText(p.ring, p.ringFormat),
                         p.colour, p.flightSeconds, p.flightTimeText, p.distanceKm, p.speed, false});
    }
    return lines;
}

RaceCalcOutcome CalculateRace(RaceList& races, std::size_t number, const DistanceTable& distances,
                              const Path& programFolder, const Settings& settings, char separator,
                              const RaceLogAuthor* author) {
    RaceCalcOutcome outcome;
    const auto refuse = [&outcome](SaveResult refusal) {
        outcome.racesSaved = outcome.resultSaved = std::move(refusal);
        return outcome;
    };
    // No settings yet name no read-out files, so only manual times count; damaged ones name garbage.
    if (!settings.damage.empty()) return refuse(SaveFailed(settings.damage));
    // The list as the file holds it now, so that only this race's counters change.
    CurrentRace current = CurrentRaceOf(programFolder, races, number);
    if (!current.refusal) return refuse(current.refusal);

    // A file that is there but cannot be read would leave its pigeons out of a result that
    // looks whole; nothing is calculated then.
    RaceList calculated = std::move(current.list);
    Race& race = calculated.races[current.number - 1];
    const auto cannot = [&](const std::string& why) {
        return refuse(SaveFailed(CatalogueText("frmRaceSelect.txtNotCalculated", {why}), FileReason::Damaged));
    };
    if (const std::string wrong = RaceNotCalculable(race); !wrong.empty()) return cannot(wrong);
    // The log is read before anything else, so a final list is never changed without its record.
    const RaceLog log = ReadRaceLog(programFolder, race.name);
    if (!log.Sound() || log.State() != RaceState::Provisional) {
        if (const LogAppend check = AmendLog(programFolder, race, author, {}); !check.refusal) return refuse(check.refusal);
    }
    const Race before = race;
    const auto unreadable = [&](const Path& file, const FileProblem& problem) {
        return refuse(SaveFailed(CatalogueText("frmRaceSelect.txtNotCalculated", {CannotReadText(file, problem)}),
                                 problem.reason));
    };
    const Path distanceFile = DistanceFilePath(programFolder, race.clubNumber);
    if (const FileContent table = ReadWholeFile(distanceFile); table.status == ReadStatus::Unreadable)
        return unreadable(distanceFile, table.problem);
    RaceCalculation& calculation = outcome.calculation;
    RaceInputRead read = ReadRaceInputFiles(calculation, programFolder, settings, race);
    if (read.unreadable) return unreadable(*read.unreadable, read.problem);
    outcome.filesRead = read.filesRead;
    outcome.readingEnded = std::move(read.readingEnded);
    if (const std::string over = CountsBeyondLimits(race, calculation); !over.empty()) return cannot(over);
    EvaluatePigeons(calculation, race, distances);

    race.pigeonsEntered = static_cast<int>(calculation.pigeons.size());
    race.pigeonsClassified = static_cast<int>(calculation.Classified());
    race.fanciersEntered = static_cast<int>(calculation.fanciers.size());
    // The counters and the result rows agree on disk, or neither file changes.
    std::error_code ec;
    std::filesystem::create_directories(RacesFilePath(programFolder).parent_path(), ec);
    const std::vector<ResultLine> lines = ResultLinesOf(calculation);
    std::vector<FileToSave> files{{RacesFilePath(programFolder), JoinLinesCrLf(RaceFileLines(calculated))},
                                  {ResultFilePath(programFolder, race.name), JoinLinesCrLf(ResultFileLines(lines, separator))}};
    if (log.State() != RaceState::Provisional) {
        // The list as published, compared as the file holds it (its figures rounded alike).
        const ResultFile old = ReadResultFile(programFolder, race.name);
        if (old.status == ReadStatus::Unreadable) return unreadable(ResultFilePath(programFolder, race.name), old.problem);
        const RaceSeason season = SeasonOfRace(programFolder, race);
        const RacePrizes* prizes = season.Prizes();
        const std::vector<std::string> changes =
            ResultChanges(before, old.lines, race, ParseResultFile(ResultFileLines(lines, separator)).lines,
                          season.season, prizes ? prizes->prizeRatio : 0);
        LogAppend append = AmendLog(programFolder, race, author, changes);
        if (!append.refusal) return refuse(append.refusal);
        if (append.file) files.push_back(std::move(*append.file));
    }
    const SaveResult saved = SaveFilesTogether(programFolder, files);
    if (!saved) return refuse(saved);
    outcome.racesSaved = outcome.resultSaved = saved;
    calculated.outcome = LoadOutcome::Loaded;
    races = std::move(calculated);
    return outcome;
}

std::string NoArrivalsText(const RaceCalcOutcome& outcome, const Race& race) {
    if (!outcome.calculation.pigeons.empty() || !outcome.resultSaved) return {};
    return CatalogueText(outcome.filesRead == 0 ? "frmRaceResultsShow.NoInputFiles" : "frmRaceResultsShow.NoArrivals",
                         {ZeroPadded(race.flightWeek, 2), ZeroPadded(race.releasePointNumber, 2)});
}

std::string ReadingEndedText(std::string_view text, const Path& programFolder, const ReadingEnded& ended) {
    std::error_code ec;
    Path shown = std::filesystem::relative(ended.file, programFolder, ec);
    if (ec || shown.empty()) shown = ended.file;
    const std::string values[] = {shown.make_preferred().string(), std::to_string(ended.line)};
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            filled += values[text[i + 1] - '1'];
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

} // namespace plumet
