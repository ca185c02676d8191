#include "core/race/races.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <system_error>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/race/manualtimes.h"
#include "core/race/racecalcfolder.h"

namespace plumet {
namespace {

// A number in exactly `width` digits; what does not fit becomes the largest that does.
std::string Digits(long long value, std::size_t width) {
    long long largest = 1;
    for (std::size_t i = 0; i < width; ++i) largest *= 10;
    return ZeroPadded(std::clamp(value, 0LL, largest - 1), width);
}

// Columns from..to as a number; blanks around it allowed. The writer has no sign, so a negative
// figure marks a broken line rather than a value to keep.
std::optional<int> Number(std::string_view line, std::size_t from, std::size_t to) {
    const auto value = ParseInteger(Mid(line, from, to));
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
    std::string line;
    line.reserve(kRaceLineLength);
    line += PadRight(race.name, kRaceNameLength);
    line += Digits(race.day, 2) + Digits(race.month, 2) + Digits(race.year, 4);
    line += PadRight(race.clubName, kRaceClubNameLength);
    line += PadRight(race.releasePointName, kRacePointNameInRaceLength);
    line += Digits(race.releaseHour, 2) + Digits(race.releaseMinute, 2);
    line += Digits(race.distanceUnit, 2);
    line += race.overNight ? "01" : "00";
    line += Digits(race.closedFromHour, 2) + Digits(race.closedFromMinute, 2);
    line += Digits(race.closedToHour, 2) + Digits(race.closedToMinute, 2);
    line += PadRight(race.headerComment, kRaceCommentLength);
    line += PadRight(race.footerComment, kRaceCommentLength);
    line += Digits(race.clubNumber, 3) + Digits(race.releasePointNumber, 2);
    line += PadRight(race.releaseLatitude, 9);
    line += PadRight(race.releaseLongitude, 10);
    line += PadRight(PadLeft(race.meanDistance, kMeanDistanceLength, '0'), kMeanDistanceLength);
    line += Digits(race.pigeonsEntered, 4) + Digits(race.pigeonsClassified, 4) + Digits(race.fanciersEntered, 3);
    line += Digits(race.nights, 1) + Digits(race.flightWeek, 2);
    return line;
}

std::optional<Race> LineToRace(std::string_view line) {
    if (line.size() < kRaceLineLength) return std::nullopt;
    Race race;
    race.name = Mid(line, 1, 30);
    race.clubName = Mid(line, 39, 68);
    race.releasePointName = Mid(line, 69, 111);
    race.headerComment = Mid(line, 128, 187);
    race.footerComment = Mid(line, 188, 247);
    race.releaseLatitude = Mid(line, 253, 261);
    race.releaseLongitude = Mid(line, 262, 271);
    race.meanDistance = Mid(line, 272, 275);
    const struct {
        int* field;
        std::size_t from;
        std::size_t to;
    } numbers[] = {
        {&race.day, 31, 32},           {&race.month, 33, 34},          {&race.year, 35, 38},
        {&race.releaseHour, 112, 113}, {&race.releaseMinute, 114, 115}, {&race.distanceUnit, 116, 117},
        {&race.closedFromHour, 120, 121}, {&race.closedFromMinute, 122, 123}, {&race.closedToHour, 124, 125},
        {&race.closedToMinute, 126, 127}, {&race.clubNumber, 248, 250}, {&race.releasePointNumber, 251, 252},
        {&race.pigeonsEntered, 276, 279}, {&race.pigeonsClassified, 280, 283}, {&race.fanciersEntered, 284, 286},
        {&race.nights, 287, 287},      {&race.flightWeek, 288, 289},
    };
    for (const auto& number : numbers) {
        const auto value = Number(line, number.from, number.to);
        if (!value) return std::nullopt;
        *number.field = *value;
    }
    const auto overNight = Number(line, 118, 119);
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
    if (content.status != ReadStatus::Ok) return list;
    const std::vector<std::string> lines = SplitLines(content.bytes);
    if (lines.empty()) return list;
    const auto count = ParseInteger(lines.front());
    if (!count || *count < 0) return list;
    const std::size_t wanted = static_cast<std::size_t>(*count);
    for (std::size_t i = 1; i <= wanted && i <= kRaceCapacity; ++i) {
        if (i >= lines.size()) return list;
        auto race = LineToRace(lines[i]);
        if (!race) return list;
        list.races.push_back(std::move(*race));
    }
    if (wanted <= kRaceCapacity) list.outcome = LoadOutcome::Loaded;
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
