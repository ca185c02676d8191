#include "core/race/races.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <system_error>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/race/combinedlist.h"
#include "core/race/manualtimes.h"
#include "core/race/racecalcfolder.h"
#include "core/race/racecolumns.h"
#include "core/race/racefields.h"
#include "core/race/racelog.h"
#include "core/race/season.h"

namespace plumet {
namespace {

// A number in exactly `width` digits; what does not fit becomes the largest that does.
std::string Digits(long long value, std::size_t width) {
    long long largest = 1;
    for (std::size_t i = 0; i < width; ++i) largest *= 10;
    return ZeroPadded(std::clamp(value, 0LL, largest - 1), width);
}

// A number field; blanks around it allowed. The writer has no sign, so a negative figure marks a
// broken line rather than a value to keep.
std::optional<int> Number(std::string_view line, Column column) {
    const auto value = ParseInteger(Field(line, column));
    if (!value || *value < 0) return std::nullopt;
    return static_cast<int>(*value);
}

// A list that was not read whole is never written over the file it came from.
SaveResult BrokenListKept(const RaceList& list, const Path& file) {
    if (list.outcome == LoadOutcome::Unreadable && IsFileLoadedFrom(file, list.loadedFrom))
        return SaveFailed(CatalogueText("Files.NotSavedDamaged", {PathText(file)}));
    return {};
}

// The files in racecalc that belong to a race of this name, in any letter case: its result file
// and its manual clock-time files, and with `withLog` its log.
std::vector<Path> FilesOfRaceName(const Path& programFolder, const std::string& trimmedName, bool withLog = true) {
    std::vector<Path> files = ManualFilesOfRace(programFolder, trimmedName);
    const std::string result = AsciiLower(trimmedName + ".flt"), log = AsciiLower(trimmedName + ".log");
    std::error_code ec;
    const Path folder = ResolvePath(programFolder, kRaceCalcFolder);
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (const std::string name = AsciiLower(NameOf(it->path())); name == result || (withLog && name == log))
            files.push_back(it->path());
    return files;
}

// The log as a change of the race leaves it: moved to `target` (or kept where it is), with the
// change appended when the race is final or amended.
SaveResult AddLogFiles(std::vector<FileToSave>& files, const Path& programFolder, const Race& race,
                       const RaceLogAuthor* author, const std::vector<std::string>& changes, const Path& target = {}) {
    LogAppend log = AmendLog(programFolder, race, author, changes, target);
    if (!log.refusal) return log.refusal;
    if (!log.file) return {};
    const Path old = RaceLogPath(programFolder, race.name);
    std::error_code ec;
    const bool moved = !target.empty() && !std::filesystem::equivalent(old, target, ec);
    files.push_back(std::move(*log.file));
    if (moved) files.push_back({old, {}, true});
    return {};
}

// "a.flt, a_wf001.man", the file names as a message lists them.
std::string FileNames(const std::vector<Path>& files) {
    std::string names;
    for (const Path& file : files) names += (names.empty() ? "" : ", ") + NameOf(file);
    return names;
}

ActionResult NameInFiles(const std::string& name, const std::vector<Path>& files) {
    return {0, "Text1", SaveFailed(CatalogueText("Races.NameInFiles", {name, FileNames(files)}))};
}

// Writes the race file, the race's files under the new name, removes them under the old one and
// renames the race in the seasons that list it, all in one save. Files of the new name that are
// not the race's own stop the rename.
ActionResult SaveRenamed(const RaceList& changed, const Path& programFolder, const Race& before,
                         const std::string& newName, const RaceLogAuthor* author, const std::vector<std::string>& changes) {
    const std::string oldName = TrimmedRaceName(before);
    const std::vector<Path> own = FilesOfRaceName(programFolder, oldName);
    std::vector<Path> foreign;
    for (const Path& file : FilesOfRaceName(programFolder, newName))
        if (std::find(own.begin(), own.end(), file) == own.end()) foreign.push_back(file);
    if (!foreign.empty()) return NameInFiles(newName, foreign);
    std::vector<FileToSave> files;
    if (const SaveResult log = AddLogFiles(files, programFolder, before, author, changes,
                                           RaceLogPath(programFolder, newName));
        !log)
        return {0, {}, log};
    const SeasonsOfRace seasons = SeasonsRenamingRace(programFolder, oldName, newName);
    if (!seasons.refusal) return {0, {}, seasons.refusal};
    const CombinedListsOfRace lists = CombinedListsRenamingRace(programFolder, oldName, newName);
    if (!lists.refusal) return {0, {}, lists.refusal};

    std::vector<FileToSave> removals;
    std::set<std::string> targets;
    std::error_code ec;
    // The log went with the change appended, above.
    for (const Path& file : FilesOfRaceName(programFolder, oldName, false)) {
        const Path target = file.parent_path() / NamePath(newName + NameOf(file).substr(oldName.size()));
        // Two spellings of one file would meet under the new name.
        if (!targets.insert(AsciiLower(NameOf(target))).second) return Refused(kRaceNameInFiles, "Text1");
        FileContent content = ReadWholeFile(file);
        if (content.status != ReadStatus::Ok)
            return {0, {}, SaveFailed(CatalogueText("Races.NotRenamedUnreadable", {PathText(file), ReasonText(content.problem)}))};
        // Where letter case does not tell names apart the new name is the file itself.
        if (!std::filesystem::equivalent(file, target, ec)) removals.push_back({file, {}, true});
        files.push_back({target, std::move(content.bytes)});
    }
    files.push_back({RacesFilePath(programFolder), JoinLinesCrLf(RaceFileLines(changed))});
    files.insert(files.end(), seasons.files.begin(), seasons.files.end());
    files.insert(files.end(), lists.files.begin(), lists.files.end());
    files.insert(files.end(), removals.begin(), removals.end());
    return {0, {}, SaveFilesTogether(programFolder, files)};
}

// Everything but the counters, which the calculation changes, as the file holds it.
bool SameBarCounters(Race a, const Race& b) {
    a.pigeonsEntered = b.pigeonsEntered;
    a.pigeonsClassified = b.pigeonsClassified;
    a.fanciersEntered = b.fanciersEntered;
    return RaceToLine(a) == RaceToLine(b);
}

} // namespace

bool SameRaceName(std::string_view a, std::string_view b) { return SameNameAnyCase(a, b); }

bool IsDeviceName(std::string_view name) {
    const std::string lower = AsciiLower(name);
    for (const char* device : {"con", "prn", "aux", "nul"})
        if (lower == device) return true;
    return lower.size() == 4 && (lower.rfind("com", 0) == 0 || lower.rfind("lpt", 0) == 0) && lower[3] >= '1' &&
           lower[3] <= '9';
}

bool IsRaceName(std::string_view name) {
    const std::string trimmed = TrimBlanks(name);
    if (trimmed.empty() || trimmed.size() > kRaceNameLength || IsDeviceName(trimmed)) return false;
    // The editor's key filter lets a backspace through as an editing key, never as a character.
    return std::all_of(trimmed.begin(), trimmed.end(), [](char c) {
        return c != '\b' && RaceNameKey(static_cast<unsigned char>(c)).has_value();
    });
}

bool ClosedPeriodAcceptable(const Race& race) {
    if (race.nights <= 0) return true;
    return race.closedToHour * 60 + race.closedToMinute < race.closedFromHour * 60 + race.closedFromMinute;
}

std::string RaceToLine(const Race& race) {
    namespace column = RaceColumn;
    std::string line;
    line.reserve(kRaceLineLength);
    const auto number = [&line](Column field, long long value) { SetField(line, field, Digits(value, field.width())); };
    SetField(line, column::Name, race.name);
    number(column::Day, race.day);
    number(column::Month, race.month);
    number(column::Year, race.year);
    SetField(line, column::ClubName, race.clubName);
    SetField(line, column::ReleasePointName, race.releasePointName);
    number(column::ReleaseHour, race.releaseHour);
    number(column::ReleaseMinute, race.releaseMinute);
    number(column::DistanceUnit, race.distanceUnit);
    number(column::OverNight, race.overNight ? 1 : 0);
    number(column::ClosedFromHour, race.closedFromHour);
    number(column::ClosedFromMinute, race.closedFromMinute);
    number(column::ClosedToHour, race.closedToHour);
    number(column::ClosedToMinute, race.closedToMinute);
    SetField(line, column::HeaderComment, race.headerComment);
    SetField(line, column::FooterComment, race.footerComment);
    number(column::ClubNumber, race.clubNumber);
    number(column::ReleasePointNumber, race.releasePointNumber);
    SetField(line, column::ReleaseLatitude, race.releaseLatitude);
    SetField(line, column::ReleaseLongitude, race.releaseLongitude);
    SetField(line, column::MeanDistance, PadLeft(race.meanDistance, column::MeanDistance.width(), '0'));
    number(column::PigeonsEntered, race.pigeonsEntered);
    number(column::PigeonsClassified, race.pigeonsClassified);
    number(column::FanciersEntered, race.fanciersEntered);
    number(column::Nights, race.nights);
    number(column::FlightWeek, race.flightWeek);
    return line;
}

std::optional<Race> LineToRace(std::string_view line) {
    namespace column = RaceColumn;
    if (line.size() < kRaceLineLength) return std::nullopt;
    Race race;
    race.name = Field(line, column::Name);
    race.clubName = Field(line, column::ClubName);
    race.releasePointName = Field(line, column::ReleasePointName);
    race.headerComment = Field(line, column::HeaderComment);
    race.footerComment = Field(line, column::FooterComment);
    race.releaseLatitude = Field(line, column::ReleaseLatitude);
    race.releaseLongitude = Field(line, column::ReleaseLongitude);
    race.meanDistance = Field(line, column::MeanDistance);
    const struct {
        int* target;
        Column field;
    } numbers[] = {
        {&race.day, column::Day},
        {&race.month, column::Month},
        {&race.year, column::Year},
        {&race.releaseHour, column::ReleaseHour},
        {&race.releaseMinute, column::ReleaseMinute},
        {&race.distanceUnit, column::DistanceUnit},
        {&race.closedFromHour, column::ClosedFromHour},
        {&race.closedFromMinute, column::ClosedFromMinute},
        {&race.closedToHour, column::ClosedToHour},
        {&race.closedToMinute, column::ClosedToMinute},
        {&race.clubNumber, column::ClubNumber},
        {&race.releasePointNumber, column::ReleasePointNumber},
        {&race.pigeonsEntered, column::PigeonsEntered},
        {&race.pigeonsClassified, column::PigeonsClassified},
        {&race.fanciersEntered, column::FanciersEntered},
        {&race.nights, column::Nights},
        {&race.flightWeek, column::FlightWeek},
    };
    for (const auto& [target, field] : numbers) {
        const auto value = Number(line, field);
        if (!value) return std::nullopt;
        *target = *value;
    }
    const auto overNight = Number(line, column::OverNight);
    if (!overNight) return std::nullopt;
    race.overNight = *overNight != 0;
    return race;
}

std::string TrimmedRaceName(const Race& race) { return TrimBlanks(race.name); }

Path RacesFilePath(const Path& programFolder) { return RaceCalcPath(programFolder, "races.dat"); }
Path DefaultRaceFilePath(const Path& programFolder) { return RaceCalcPath(programFolder, "RaceCalcDef.dat"); }
Path ResultFilePath(const Path& programFolder, std::string_view raceName) {
    return RaceCalcPath(programFolder, TrimBlanks(raceName) + ".flt");
}

RaceList LoadRaces(const Path& programFolder) {
    RaceList list;
    list.loadedFrom = RacesFilePath(programFolder);
    const FileContent content = ReadWholeFile(list.loadedFrom);
    if (content.status == ReadStatus::Missing) return list;
    list.outcome = LoadOutcome::Unreadable;
    if (content.status != ReadStatus::Ok) {
        list.problem = content.problem;
        return list;
    }
    const auto damaged = [&list](std::size_t line, FileReason reason = FileReason::Damaged) {
        list.problem = {reason, line, {}};
        return list;
    };
    const std::vector<std::string> lines = SplitLines(content.bytes);
    if (lines.empty()) return damaged(1);
    const auto count = ParseInteger(lines.front());
    if (!count || *count < 0) return damaged(1);
    const std::size_t wanted = static_cast<std::size_t>(*count);
    for (std::size_t i = 1; i <= wanted && i <= kRaceCapacity; ++i) {
        // A file that ends early has no line to blame.
        if (i >= lines.size()) return damaged(0);
        if (LineWithControlByte({lines[i]})) return damaged(i + 1, FileReason::ControlBytes);
        auto race = LineToRace(lines[i]);
        if (!race || !IsRaceName(race->name)) return damaged(i + 1);
        list.races.push_back(std::move(*race));
    }
    if (wanted > kRaceCapacity) return damaged(1);
    list.outcome = LoadOutcome::Loaded;
    return list;
}

std::string RaceListProblemText(const RaceList& list) {
    if (list.outcome != LoadOutcome::Unreadable) return {};
    return CannotReadText(list.loadedFrom, list.problem);
}

CurrentRace CurrentRaceOf(const Path& programFolder, const RaceList& earlier, std::size_t number) {
    CurrentRace current{LoadRaces(programFolder), 0, {}};
    if (current.list.outcome == LoadOutcome::Unreadable) {
        current.refusal = SaveFailed(RaceListProblemText(current.list), current.list.problem.reason);
        return current;
    }
    if (number < 1 || number > earlier.Count()) {
        current.refusal = SaveFailed(CatalogueText("Races.NoSuchRace", {std::to_string(number)}));
        return current;
    }
    const Race& chosen = earlier.races[number - 1];
    const std::string name = TrimmedRaceName(chosen);
    const auto changed = [&current](std::string text) {
        current.refusal = SaveFailed(std::move(text), FileReason::Changed);
        return current;
    };
    for (std::size_t i = 0; i < current.list.Count(); ++i) {
        if (!SameBarCounters(current.list.races[i], chosen)) continue;
        current.number = i + 1;
        return current;
    }
    for (Race race : current.list.races) {
        const std::string nameNow = TrimmedRaceName(race);
        race.name = chosen.name;
        if (SameBarCounters(race, chosen)) return changed(CatalogueText("Races.ChosenRenamed", {name, nameNow}));
        if (SameRaceName(nameNow, name)) return changed(CatalogueText("Races.ChosenAltered", {name}));
    }
    return changed(CatalogueText("Races.ChosenGone", {name}));
}

std::vector<std::string> RaceFileLines(const RaceList& list) {
    std::vector<std::string> lines;
    lines.push_back(FormatCountLine(static_cast<long long>(list.races.size())));
    for (const Race& race : list.races) lines.push_back(RaceToLine(race));
    return lines;
}

SaveResult SaveRaces(const RaceList& list, const Path& programFolder) {
    const Path file = RacesFilePath(programFolder);
    if (const SaveResult kept = BrokenListKept(list, file); !kept) return kept;
    return SaveRaceCalcLines(file, RaceFileLines(list));
}

std::optional<Race> LoadDefaultRace(const Path& programFolder) {
    const FileContent content = ReadWholeFile(DefaultRaceFilePath(programFolder));
    if (content.status != ReadStatus::Ok) return std::nullopt;
    const std::vector<std::string> lines = SplitLines(content.bytes);
    if (lines.size() < 2) return std::nullopt;
    return LineToRace(lines[1]);
}

SaveResult SaveDefaultRace(const Path& programFolder, const Race& race) {
    return SaveRaceCalcLines(DefaultRaceFilePath(programFolder), {FormatCountLine(1), RaceToLine(race)});
}

ActionResult StoreRace(RaceList& list, const Path& programFolder, const Race& race,
                       std::optional<std::size_t> alteredNumber, const RaceLogAuthor* author) {
    const std::string name = TrimmedRaceName(race);
    if (name.empty()) return Refused(kRaceNameMissing, "Text1");
    if (!IsRaceName(name)) return Refused(kRaceNameNotFit, "Text1");
    if (!ClosedPeriodAcceptable(race)) return Refused(kRaceClosedPeriodNotOverMidnight, "Text4");
    // Another task may have changed the list since the window read it: only this race changes.
    CurrentRace current = alteredNumber ? CurrentRaceOf(programFolder, list, *alteredNumber)
                                        : CurrentRace{LoadRaces(programFolder), 0, {}};
    if (!alteredNumber && current.list.outcome == LoadOutcome::Unreadable)
        current.refusal = SaveFailed(RaceListProblemText(current.list), current.list.problem.reason);
    if (!current.refusal) return {0, {}, current.refusal};
    RaceList changed = std::move(current.list);
    // Names that differ in letter case only would share their files.
    for (std::size_t number = 1; number <= changed.races.size(); ++number) {
        if (number == current.number) continue;
        if (SameRaceName(changed.races[number - 1].name, name)) return Refused(kRaceNameUsed, "Text1");
    }
    // A season's Race= line takes either name.
    if (FindCombinedList(LoadCombinedLists(programFolder), name))
        return {0, "Text1", SaveFailed(CatalogueText("Races.NameIsCombinedList", {name}))};
    ActionResult result;
    if (alteredNumber) {
        Race& slot = changed.races[current.number - 1];
        const Race before = slot;
        const std::string oldName = TrimmedRaceName(slot);
        Race altered = race;
        altered.pigeonsEntered = slot.pigeonsEntered;
        altered.pigeonsClassified = slot.pigeonsClassified;
        altered.fanciersEntered = slot.fanciersEntered;
        slot = altered;
        const std::vector<std::string> changes = DefinitionChanges(before, altered);
        if (oldName != name) {
            result = SaveRenamed(changed, programFolder, before, name, author, changes);
        } else {
            std::vector<FileToSave> files{{RacesFilePath(programFolder), JoinLinesCrLf(RaceFileLines(changed))}};
            // An alter that changes nothing leaves the log as it is.
            const SaveResult log = changes.empty() ? SaveResult{} : AddLogFiles(files, programFolder, before, author, changes);
            result.saved = !log ? log : SaveFilesTogether(programFolder, files);
        }
    } else {
        if (changed.Full())
            return {0, {}, SaveFailed(CatalogueText("Races.ListFull", {std::to_string(kRaceCapacity)}))};
        // Files left under the name by an earlier race would join this one.
        if (const std::vector<Path> left = FilesOfRaceName(programFolder, name); !left.empty())
            return NameInFiles(name, left);
        changed.races.push_back(race);
        result.saved = SaveRaces(changed, programFolder);
    }
    if (result.Done()) list = std::move(changed);
    return result;
}

SaveResult DeleteRace(RaceList& list, const Path& programFolder, std::size_t number, const RaceLogAuthor* author) {
    CurrentRace current = CurrentRaceOf(programFolder, list, number);
    if (!current.refusal) return current.refusal;
    RaceList changed = std::move(current.list);
    const Race deleted = changed.races[current.number - 1];
    const std::string name = TrimmedRaceName(deleted);
    changed.races.erase(changed.races.begin() + static_cast<std::ptrdiff_t>(current.number - 1));
    // A season keeping the name would take in a later race of that name.
    const SeasonsOfRace seasons = SeasonsRenamingRace(programFolder, name, "");
    if (!seasons.refusal) return seasons.refusal;
    const CombinedListsOfRace lists = CombinedListsRenamingRace(programFolder, name, "");
    if (!lists.refusal) return lists.refusal;
    std::vector<FileToSave> files{{RacesFilePath(programFolder), JoinLinesCrLf(RaceFileLines(changed))}};
    DateTime when = author ? author->when : SystemTimeSource().Now();
    // A log kept from a race of the same name deleted in the same second stays too.
    std::error_code ec;
    while (std::filesystem::exists(DeletedRaceLogPath(programFolder, name, when), ec))
        when = FromCivilSeconds(CivilSeconds(when) + 1, when.utcOffsetMinutes);
    if (const SaveResult log = AddLogFiles(files, programFolder, deleted, author, {"Deleted: " + name},
                                           DeletedRaceLogPath(programFolder, name, when));
        !log)
        return log;
    files.insert(files.end(), seasons.files.begin(), seasons.files.end());
    files.insert(files.end(), lists.files.begin(), lists.files.end());
    for (const Path& file : FilesOfRaceName(programFolder, name, false)) files.push_back({file, {}, true});
    const SaveResult saved = SaveFilesTogether(programFolder, files);
    if (saved) list = std::move(changed);
    return saved;
}

} // namespace plumet
