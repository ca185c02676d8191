#include "core/race/racelog.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "core/app/catalogue.h"
#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"
#include "core/race/decimals.h"
#include "core/race/racecalcfolder.h"
#include "core/race/season.h"

namespace plumet {
namespace {

constexpr std::string_view kFinalWord = "Final";
constexpr std::string_view kAmendedWord = "Amended";
constexpr std::string_view kBy = "By: ";
constexpr std::string_view kReason = "Reason: ";
// The kinds of line an amendment may hold after its reason.
constexpr std::string_view kChangeKeys[] = {"Added: ",    "Removed: ",   "Moved: ",   "Entered: ",
                                            "Classified: ", "Fanciers: ", "Prize won: ", "Prize lost: ",
                                            "Renamed: ",  "Altered: ",   "Deleted: "};

bool StartsWithText(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

std::string LogDateText(const DateTime& at) {
    return ZeroPadded(at.day, 2) + "." + ZeroPadded(at.month, 2) + "." + ZeroPadded(at.year, 4);
}

std::string StampText(const DateTime& at) {
    return LogDateText(at) + " " + ZeroPadded(at.hour, 2) + ":" + ZeroPadded(at.minute, 2) + ":" + ZeroPadded(at.second, 2);
}

// "07.12.2026 20:41:05", strictly: two digits each but the year's four.
std::optional<DateTime> ParseStamp(std::string_view text) {
    if (text.size() != 19 || text[2] != '.' || text[5] != '.' || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto digits = [&text](std::size_t at, std::size_t count) -> std::optional<int> {
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9') return std::nullopt;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const auto day = digits(0, 2), month = digits(3, 2), year = digits(6, 4), hour = digits(11, 2),
               minute = digits(14, 2), second = digits(17, 2);
    if (!day || !month || !year || !hour || !minute || !second) return std::nullopt;
    DateTime at = MakeDateTime(*year, *month, *day, *hour, *minute, *second);
    if (!IsValidDateTime(at)) return std::nullopt;
    return at;
}

bool HasControlByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 32; });
}

std::string SpeedText(double speed) { return FormatDecimal(speed, 1, 3, '.'); }

std::string PigeonText(const ResultLine& line) {
    return TrimBlanks(line.ringText) + " (" + TrimBlanks(line.fancierName) + ")";
}

std::string Counter(std::string_view key, int before, int after) {
    return std::string(key) + std::to_string(before) + " -> " + std::to_string(after);
}

SaveResult LogRefusal(const RaceLog& log) {
    return SaveFailed(CatalogueText("Races.LogUnreadable", {CannotReadText(log.file, log.problem)}), log.problem.reason);
}

} // namespace

RaceState RaceLog::State() const { return entries.empty() ? RaceState::Provisional : entries.back().kind; }

Path RaceLogPath(const Path& programFolder, std::string_view raceName) {
    return RaceCalcPath(programFolder, TrimBlanks(raceName) + ".log");
}

Path DeletedRaceLogPath(const Path& programFolder, std::string_view raceName, const DateTime& when) {
    const std::string stamp = ZeroPadded(when.year, 4) + ZeroPadded(when.month, 2) + ZeroPadded(when.day, 2) + "-" +
                              ZeroPadded(when.hour, 2) + ZeroPadded(when.minute, 2) + ZeroPadded(when.second, 2);
    return RaceCalcPath(programFolder, TrimBlanks(raceName) + "." + stamp + ".log");
}

std::optional<std::vector<RaceLogEntry>> ParseRaceLog(std::string_view bytes, FileProblem& problem) {
    const std::vector<std::string> lines = SplitLines(bytes);
    std::vector<RaceLogEntry> entries;
    // An entry cut off at the end is blamed on the last line there is.
    const auto damaged = [&problem, &lines](std::size_t line, FileReason reason = FileReason::Damaged) {
        problem = {reason, std::min(line, lines.size()), {}};
        return std::nullopt;
    };
    if (const auto control = LineWithControlByte(lines)) return damaged(*control, FileReason::ControlBytes);
    // An entry ends with its blank line, so a log cut short shows.
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') return damaged(lines.size());
    std::size_t i = 0;
    while (i < lines.size()) {
        RaceLogEntry entry;
        const std::string& head = lines[i];
        const std::size_t blank = head.find(' ');
        const std::string_view word = std::string_view(head).substr(0, blank);
        if (word == kFinalWord) entry.kind = RaceState::Final;
        else if (word == kAmendedWord) entry.kind = RaceState::Amended;
        else return damaged(i + 1);
        const auto when = blank == std::string::npos ? std::nullopt : ParseStamp(std::string_view(head).substr(blank + 1));
        if (!when) return damaged(i + 1);
        entry.when = *when;
        ++i;
        if (i >= lines.size() || !StartsWithText(lines[i], kBy) || TrimBlanks(lines[i].substr(kBy.size())).empty())
            return damaged(i + 1);
        entry.who = lines[i++].substr(kBy.size());
        if (entry.kind == RaceState::Amended) {
            if (i >= lines.size() || !StartsWithText(lines[i], kReason) ||
                TrimBlanks(lines[i].substr(kReason.size())).empty())
                return damaged(i + 1);
            entry.reason = lines[i++].substr(kReason.size());
            for (; i < lines.size() && !lines[i].empty(); ++i) {
                const bool known = std::any_of(std::begin(kChangeKeys), std::end(kChangeKeys),
                                               [&](std::string_view key) { return StartsWithText(lines[i], key); });
                if (!known) return damaged(i + 1);
                entry.changes.push_back(lines[i]);
            }
        }
        if (i >= lines.size() || !lines[i].empty()) return damaged(i + 1);
        ++i;
        entries.push_back(std::move(entry));
    }
    return entries;
}

RaceLog ReadRaceLog(const Path& programFolder, std::string_view raceName) {
    RaceLog log;
    log.file = RaceLogPath(programFolder, raceName);
    FileContent content = ReadWholeFile(log.file);
    log.status = content.status;
    log.problem = content.problem;
    if (content.status != ReadStatus::Ok) return log;
    auto entries = ParseRaceLog(content.bytes, log.problem);
    if (!entries) {
        log.status = ReadStatus::Unreadable;
        return log;
    }
    log.entries = std::move(*entries);
    log.bytes = std::move(content.bytes);
    return log;
}

std::string RaceLogEntryText(const RaceLogEntry& entry) {
    std::vector<std::string> lines{std::string(entry.kind == RaceState::Final ? kFinalWord : kAmendedWord) + " " +
                                   StampText(entry.when)};
    lines.push_back(std::string(kBy) + entry.who);
    if (entry.kind == RaceState::Amended) {
        lines.push_back(std::string(kReason) + entry.reason);
        lines.insert(lines.end(), entry.changes.begin(), entry.changes.end());
    }
    lines.emplace_back();
    return JoinLinesCrLf(lines);
}

std::string LoginName() {
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value) continue;
        // A name Windows-1252 cannot hold keeps its bytes rather than go unsigned.
        return Utf8ToCp1252(value).value_or(value);
    }
    return "?";
}

std::string AuthorProblem(const RaceLogAuthor* author, std::string_view raceName, bool reasonNeeded) {
    const std::string name = TrimBlanks(raceName);
    if (reasonNeeded && (!author || TrimBlanks(author->reason).empty()))
        return CatalogueText("Races.ReasonNeeded", {name});
    if (author && (HasControlByte(author->reason) || HasControlByte(author->who)))
        return CatalogueText("Races.ReasonNotFit", {name});
    return {};
}

std::vector<std::string> ResultChanges(const Race& before, const std::vector<ResultLine>& oldLines, const Race& after,
                                       const std::vector<ResultLine>& newLines, const std::string& season,
                                       int prizeRatio) {
    // A ring listed twice (a clock and a hand-entered time) pairs off in the order of the lists.
    const auto pairing = [](const std::vector<ResultLine>& from, const std::vector<ResultLine>& to) {
        std::map<std::string, std::vector<std::size_t>> places;
        for (std::size_t i = 0; i < to.size(); ++i) places[RingKey(to[i].ringText)].push_back(i);
        std::map<std::string, std::size_t> seen;
        std::vector<std::optional<std::size_t>> other(from.size());
        for (std::size_t i = 0; i < from.size(); ++i) {
            const std::string ring = RingKey(from[i].ringText);
            const std::size_t n = seen[ring]++;
            if (const auto it = places.find(ring); it != places.end() && n < it->second.size()) other[i] = it->second[n];
        }
        return other;
    };
    const std::vector<std::optional<std::size_t>> oldOfNew = pairing(newLines, oldLines), newOfOld = pairing(oldLines, newLines);
    std::vector<std::string> changes;
    for (std::size_t i = 0; i < newLines.size(); ++i) {
        const ResultLine& line = newLines[i];
        if (!oldOfNew[i]) {
            changes.push_back("Added: " + PigeonText(line) + " place " + std::to_string(i + 1) + ", " +
                              SpeedText(line.speed) + " m/min");
            continue;
        }
        const std::size_t old = *oldOfNew[i];
        const std::string oldSpeed = SpeedText(oldLines[old].speed), newSpeed = SpeedText(line.speed);
        if (old == i && oldSpeed == newSpeed) continue;
        changes.push_back("Moved: " + PigeonText(line) + " place " + std::to_string(old + 1) + " -> " +
                          std::to_string(i + 1) + ", " + oldSpeed + " -> " + newSpeed + " m/min");
    }
    for (std::size_t i = 0; i < oldLines.size(); ++i)
        if (!newOfOld[i])
            changes.push_back("Removed: " + PigeonText(oldLines[i]) + " place " + std::to_string(i + 1) + ", " +
                              SpeedText(oldLines[i].speed) + " m/min");
    const std::pair<std::string_view, std::pair<int, int>> counters[] = {
        {"Entered: ", {before.pigeonsEntered, after.pigeonsEntered}},
        {"Classified: ", {before.pigeonsClassified, after.pigeonsClassified}},
        {"Fanciers: ", {before.fanciersEntered, after.fanciersEntered}},
    };
    for (const auto& [key, figures] : counters) changes.push_back(Counter(key, figures.first, figures.second));
    if (prizeRatio <= 0) return changes;
    // As the season counts them: entered is never fewer than the pigeons listed.
    const auto prizes = [prizeRatio](const Race& race, std::size_t listed) {
        return static_cast<std::size_t>(
            PrizeCount(std::max(race.pigeonsEntered, static_cast<int>(listed)), listed, prizeRatio));
    };
    const std::size_t oldPrizes = prizes(before, oldLines.size()), newPrizes = prizes(after, newLines.size());
    for (std::size_t i = 0; i < newLines.size() && i < newPrizes; ++i) {
        if (!oldOfNew[i] || *oldOfNew[i] >= oldPrizes)
            changes.push_back("Prize won: " + season + ", " + PigeonText(newLines[i]) + " place " + std::to_string(i + 1));
    }
    for (std::size_t i = 0; i < oldLines.size() && i < oldPrizes; ++i) {
        if (!newOfOld[i] || *newOfOld[i] >= newPrizes)
            changes.push_back("Prize lost: " + season + ", " + PigeonText(oldLines[i]) + " place " + std::to_string(i + 1));
    }
    return changes;
}

std::vector<std::string> DefinitionChanges(const Race& before, const Race& after) {
    namespace column = RaceColumn;
    const std::pair<const char*, Column> fields[] = {
        {"date", column::Day},  {"date", column::Month},        {"date", column::Year},
        {"club", column::ClubName}, {"release point", column::ReleasePointName},
        {"release time", column::ReleaseHour}, {"release time", column::ReleaseMinute},
        {"unit", column::DistanceUnit}, {"nights", column::Nights},
        {"closed period", column::ClosedFromHour}, {"closed period", column::ClosedFromMinute},
        {"closed period", column::ClosedToHour}, {"closed period", column::ClosedToMinute},
        {"head comment", column::HeaderComment}, {"foot comment", column::FooterComment},
        {"club number", column::ClubNumber}, {"release point number", column::ReleasePointNumber},
        {"latitude", column::ReleaseLatitude}, {"longitude", column::ReleaseLongitude},
        {"mean distance", column::MeanDistance}, {"week", column::FlightWeek},
    };
    const std::string oldLine = RaceToLine(before), newLine = RaceToLine(after);
    std::vector<std::string> changes;
    if (TrimmedRaceName(before) != TrimmedRaceName(after))
        changes.push_back("Renamed: " + TrimmedRaceName(before) + " -> " + TrimmedRaceName(after));
    std::string named;
    for (const auto& [label, field] : fields) {
        if (Field(oldLine, field) == Field(newLine, field) || named.find(label) != std::string::npos) continue;
        named += (named.empty() ? "" : ", ") + std::string(label);
    }
    if (!named.empty()) changes.push_back("Altered: " + named);
    return changes;
}

LogAppend AmendLog(const Path& programFolder, const Race& race, const RaceLogAuthor* author,
                   const std::vector<std::string>& changes, const Path& target) {
    LogAppend append;
    const RaceLog log = ReadRaceLog(programFolder, race.name);
    // Without the old entries the new file would lose them.
    if (!log.Sound()) {
        append.refusal = LogRefusal(log);
        return append;
    }
    if (log.status == ReadStatus::Missing) return append;
    const Path file = target.empty() ? log.file : target;
    if (log.State() == RaceState::Provisional) {
        if (file != log.file) append.file = FileToSave{file, log.bytes};
        return append;
    }
    if (const std::string problem = AuthorProblem(author, race.name, true); !problem.empty()) {
        append.refusal = SaveFailed(problem);
        return append;
    }
    const RaceLogEntry entry{RaceState::Amended, author->when,
                             TrimBlanks(author->who).empty() ? LoginName() : author->who, author->reason, changes};
    append.file = FileToSave{file, log.bytes + RaceLogEntryText(entry)};
    return append;
}

SaveResult FinaliseRace(const Path& programFolder, const Race& race, const RaceLogAuthor& author,
                        const std::optional<std::string>& shownResult) {
    const std::string name = TrimmedRaceName(race);
    const Path resultFile = ResultFilePath(programFolder, race.name);
    const FileContent result = ReadWholeFile(resultFile);
    if (result.status == ReadStatus::Missing) return SaveFailed(CatalogueText("Races.NotCalculated", {name}));
    if (result.status != ReadStatus::Ok) return SaveFailed(CannotReadText(resultFile, result.problem), result.problem.reason);
    if (shownResult && *shownResult != result.bytes)
        return SaveFailed(CatalogueText("Races.ResultChanged", {name}), FileReason::Changed);
    const RaceLog log = ReadRaceLog(programFolder, race.name);
    if (!log.Sound()) return LogRefusal(log);
    if (log.State() == RaceState::Final) return SaveFailed(CatalogueText("Races.AlreadyFinal", {name}));
    if (const std::string problem = AuthorProblem(&author, race.name, false); !problem.empty())
        return SaveFailed(problem);
    const RaceLogEntry entry{RaceState::Final, author.when, TrimBlanks(author.who).empty() ? LoginName() : author.who,
                             {}, {}};
    return SaveFilesTogether(programFolder, {{log.file, log.bytes + RaceLogEntryText(entry)}});
}

std::string RaceStateText(const RaceLog& log) {
    if (!log.Sound()) return CatalogueText("RaceState.Unknown", {CannotReadText(log.file, log.problem)});
    if (log.entries.empty()) return CatalogueText("RaceState.Provisional");
    const RaceLogEntry& last = log.entries.back();
    if (last.kind == RaceState::Final) return CatalogueText("RaceState.Final", {LogDateText(last.when)});
    return CatalogueText("RaceState.Amended", {LogDateText(last.when), last.reason});
}

std::string RaceStateText(const Path& programFolder, const Race& race) {
    return RaceStateText(ReadRaceLog(programFolder, race.name));
}

std::string ListsStateText(const Path& programFolder, const std::vector<std::string>& raceNames) {
    std::optional<DateTime> latest;
    for (const std::string& name : raceNames) {
        const RaceLog log = ReadRaceLog(programFolder, name);
        if (!log.Sound()) return RaceStateText(log);
        if (log.entries.empty()) return CatalogueText("RaceState.Provisional");
        const DateTime& when = log.entries.back().when;
        if (!latest || CivilSeconds(when) > CivilSeconds(*latest)) latest = when;
    }
    return latest ? CatalogueText("RaceState.Final", {LogDateText(*latest)}) : CatalogueText("RaceState.Provisional");
}

std::vector<PrintPage> LogPages(const RaceLog& log, const std::string& title, std::string_view raceName,
                                std::size_t firstNumber) {
    if (log.entries.empty()) return {};
    return LinePages(SplitLines(log.bytes), title + ": " + TrimBlanks(raceName), firstNumber);
}

} // namespace plumet
