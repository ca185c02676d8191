#include "core/race/races.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <system_error>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/race/manualtimes.h"
#include "core/race/racecalcfolder.h"
#include "core/race/racecolumns.h"

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

bool SameFile(const Path& a, const Path& b) { return !b.empty() && a.lexically_normal() == b.lexically_normal(); }

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// A list that was not read whole is never written over the file it came from.
SaveResult BrokenListKept(const RaceList& list, const Path& file) {
    if (list.outcome == LoadOutcome::Unreadable && SameFile(file, list.loadedFrom))
        return SaveFailed(CatalogueText("Files.NotSavedDamaged", {PathText(file)}));
    return {};
}

// The files in racecalc that belong to a race of this name, in any letter case: its result file
// and its manual clock-time files.
std::vector<Path> FilesOfRaceName(const Path& programFolder, const std::string& trimmedName) {
    std::vector<Path> files = ManualFilesOfRace(programFolder, trimmedName);
    const std::string result = Lower(trimmedName + ".flt");
    std::error_code ec;
    const Path folder = ResolvePath(programFolder, kRaceCalcFolder);
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (Lower(NameOf(it->path())) == result) files.push_back(it->path());
    return files;
}

struct RenameSave {
    ActionResult result;
    bool listWritten = false;
};

// Writes the race file, the race's files under the new name and removes them under the old one,
// all in one save. Files of the new name that are not the race's own stop the rename.
RenameSave SaveRenamed(const RaceList& changed, const Path& programFolder, const std::string& oldName,
                       const std::string& newName) {
    const Path racesFile = RacesFilePath(programFolder);
    const std::vector<Path> own = FilesOfRaceName(programFolder, oldName);
    for (const Path& file : FilesOfRaceName(programFolder, newName))
        if (std::find(own.begin(), own.end(), file) == own.end()) return {Refused(kRaceNameInFiles, "Text1")};
    if (own.empty()) {
        const SaveResult saved = SaveRaces(changed, programFolder);
        return {{0, {}, saved}, saved.ok};
    }
    if (const SaveResult kept = BrokenListKept(changed, racesFile); !kept) return {{0, {}, kept}};

    std::vector<FileToSave> files;
    std::vector<FileToSave> removals;
    std::set<std::string> targets;
    std::error_code ec;
    for (const Path& file : own) {
        const Path target = file.parent_path() / NamePath(newName + NameOf(file).substr(oldName.size()));
        // Two spellings of one file would meet under the new name.
        if (!targets.insert(Lower(NameOf(target))).second) return {Refused(kRaceNameInFiles, "Text1")};
        FileContent content = ReadWholeFile(file);
        if (content.status != ReadStatus::Ok)
            return {{0, {}, SaveFailed(CatalogueText("Races.NotRenamedUnreadable", {PathText(file), ReasonText(content.problem)}))}};
        // Where letter case does not tell names apart the new name is the file itself.
        if (!std::filesystem::equivalent(file, target, ec)) removals.push_back({file, {}, true});
        files.push_back({target, std::move(content.bytes)});
    }
    files.push_back({racesFile, JoinLinesCrLf(RaceFileLines(changed))});
    files.insert(files.end(), removals.begin(), removals.end());
    const SaveResult saved = SaveFilesTogether(programFolder, files);
    if (!saved) return {{0, {}, saved}};
    return {{}, true};
}

} // namespace

bool SameRaceName(std::string_view a, std::string_view b) { return Lower(TrimBlanks(a)) == Lower(TrimBlanks(b)); }

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
    list.problem = content.problem;
    if (content.status != ReadStatus::Ok) return list;
    const std::vector<std::string> lines = SplitLines(content.bytes);
    list.problem = {FileReason::Damaged, 1, {}};
    if (lines.empty()) return list;
    const auto count = ParseInteger(lines.front());
    if (!count || *count < 0) return list;
    const std::size_t wanted = static_cast<std::size_t>(*count);
    for (std::size_t i = 1; i <= wanted && i <= kRaceCapacity; ++i) {
        // A file that ends early has no line to blame.
        list.problem.line = i < lines.size() ? i + 1 : 0;
        if (i >= lines.size()) return list;
        auto race = LineToRace(lines[i]);
        if (!race) return list;
        list.races.push_back(std::move(*race));
    }
    if (wanted <= kRaceCapacity) list.outcome = LoadOutcome::Loaded, list.problem = {};
    return list;
}

std::vector<std::string> RaceFileLines(const RaceList& list) {
    std::vector<std::string> lines;
    lines.push_back(FormatCountLine(static_cast<long long>(list.races.size())));
    for (const Race& race : list.races) lines.push_back(RaceToLine(race));
    return lines;
}

SaveResult RaceFileWritable(const RaceList& list, const Path& programFolder) {
    return BrokenListKept(list, RacesFilePath(programFolder));
}

std::string RaceListProblemText(const RaceList& list) {
    if (list.outcome != LoadOutcome::Unreadable) return {};
    return CannotReadText(list.loadedFrom, list.problem);
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
                       std::optional<std::size_t> alteredNumber) {
    const std::string name = TrimmedRaceName(race);
    if (name.empty()) return Refused(kRaceNameMissing, "Text1");
    // Names that differ in letter case only would share their files.
    for (std::size_t number = 1; number <= list.races.size(); ++number) {
        if (alteredNumber && *alteredNumber == number) continue;
        if (SameRaceName(list.races[number - 1].name, name)) return Refused(kRaceNameUsed, "Text1");
    }
    if (!ClosedPeriodAcceptable(race)) return Refused(kRaceClosedPeriodNotOverMidnight, "Text4");
    RaceList changed = list;
    std::string oldName;
    if (alteredNumber) {
        if (*alteredNumber < 1 || *alteredNumber > changed.races.size())
            return {0, {}, SaveFailed(CatalogueText("Races.AlteredGone"))};
        Race& slot = changed.races[*alteredNumber - 1];
        oldName = TrimmedRaceName(slot);
        Race altered = race;
        altered.pigeonsEntered = slot.pigeonsEntered;
        altered.pigeonsClassified = slot.pigeonsClassified;
        altered.fanciersEntered = slot.fanciersEntered;
        slot = altered;
    } else {
        if (changed.Full())
            return {0, {}, SaveFailed(CatalogueText("Races.ListFull", {std::to_string(kRaceCapacity)}))};
        changed.races.push_back(race);
    }
    RenameSave save;
    if (alteredNumber && oldName != name) {
        save = SaveRenamed(changed, programFolder, oldName, name);
    } else {
        save.result.saved = SaveRaces(changed, programFolder);
        save.listWritten = save.result.saved.ok;
    }
    if (save.listWritten) {
        changed.outcome = LoadOutcome::Loaded;
        list = std::move(changed);
    }
    return save.result;
}

SaveResult DeleteRace(RaceList& list, const Path& programFolder, std::size_t number) {
    if (number < 1 || number > list.races.size()) return SaveFailed(CatalogueText("Races.NoSuchRace", {std::to_string(number)}));
    RaceList changed = list;
    const Race removed = changed.races[number - 1];
    changed.races.erase(changed.races.begin() + static_cast<std::ptrdiff_t>(number - 1));
    SaveResult saved = SaveRaces(changed, programFolder);
    if (!saved) return saved;
    changed.outcome = LoadOutcome::Loaded;
    list = std::move(changed);
    RemoveRaceCalcFile(ResultFilePath(programFolder, removed.name));
    for (const Path& file : ManualFilesOfRace(programFolder, TrimmedRaceName(removed))) RemoveRaceCalcFile(file);
    return saved;
}

} // namespace plumet
