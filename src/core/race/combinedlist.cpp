#include "core/race/combinedlist.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <queue>
#include <system_error>
#include <tuple>

#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"
#include "core/race/racecalcfolder.h"
#include "core/race/racelog.h"

namespace plumet {
namespace {

constexpr char kPoint = '.';

std::string ShownPath(const Path& programFolder, const Path& file) {
    std::error_code ec;
    Path shown = std::filesystem::relative(file, programFolder, ec);
    if (ec || shown.empty()) shown = file;
    return PathText(shown.make_preferred());
}

const Race* RaceNamed(const RaceList& list, std::string_view name) {
    const auto race = std::find_if(list.races.begin(), list.races.end(),
                                   [&](const Race& r) { return SameRaceName(r.name, name); });
    return race == list.races.end() ? nullptr : &*race;
}

long long ReleaseSeconds(const Race& race) { return race.releaseHour * 3600LL + race.releaseMinute * 60LL; }

SaveResult Refused(std::string_view key, std::initializer_list<std::string> values = {}) {
    return SaveFailed(CatalogueText(key, values));
}

} // namespace

bool CombinedList::Lists(std::string_view raceName) const {
    return std::any_of(races.begin(), races.end(), [&](const std::string& listed) { return SameNameAnyCase(listed, raceName); });
}

std::vector<std::string> CombinedListFileLines(const CombinedList& list) {
    std::vector<std::string> lines{"Name=" + TrimBlanks(list.name)};
    for (const std::string& race : list.races) lines.push_back("Race=" + TrimBlanks(race));
    return lines;
}

std::optional<CombinedList> ParseCombinedListFile(const std::vector<std::string>& lines, std::size_t& line,
                                                  std::string& reason) {
    CombinedList list;
    bool named = false;
    const auto fail = [&](std::size_t at, std::string why) {
        line = at;
        reason = std::move(why);
        return std::nullopt;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& text = lines[i];
        if (TrimBlanks(text).empty()) continue;
        const std::size_t eq = text.find('=');
        if (eq == std::string::npos || LineWithControlByte({text}))
            return fail(i + 1, CatalogueText("frmSeason.DamageNoSetting"));
        const std::string key = TrimBlanks(text.substr(0, eq));
        const std::string value = TrimBlanks(text.substr(eq + 1));
        if (SameNameAnyCase(key, "Name")) {
            if (named) return fail(i + 1, CatalogueText("frmSeason.DamageTwice", {"Name"}));
            if (!IsSeasonName(value)) return fail(i + 1, CatalogueText("Combined.DamageName"));
            list.name = value;
            named = true;
        } else if (SameNameAnyCase(key, "Race")) {
            if (!IsRaceName(value)) return fail(i + 1, CatalogueText("frmSeason.DamageRaceName"));
            if (list.Lists(value)) return fail(i + 1, CatalogueText("frmSeason.DamageRaceTwice"));
            list.races.push_back(value);
        } else {
            return fail(i + 1, CatalogueText("Combined.DamageUnknownSetting", {key}));
        }
    }
    if (!named) return fail(lines.size() + 1, CatalogueText("Combined.DamageNoName"));
    line = 0;
    reason.clear();
    return list;
}

Path CombinedListPath(const Path& programFolder, std::string_view name) {
    return RaceCalcPath(programFolder, TrimBlanks(name) + kCombinedExtension);
}

std::vector<CombinedFile> LoadCombinedLists(const Path& programFolder) {
    std::vector<CombinedFile> files;
    std::error_code ec;
    const Path folder = ResolvePath(programFolder, kRaceCalcFolder);
    std::filesystem::directory_iterator it(folder, ec);
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string name = AsciiLower(NameOf(it->path()));
        if (name.size() < 4 || name.substr(name.size() - 4) != kCombinedExtension) continue;
        CombinedFile file{it->path(), std::nullopt, {}};
        const FileContent content = ReadWholeFile(file.file);
        if (content.status == ReadStatus::Missing) continue;
        const std::string shown = ShownPath(programFolder, file.file);
        if (content.status != ReadStatus::Ok) {
            file.problem = CatalogueText("Combined.UnreadableFile", {shown, ReasonText(content.problem)});
        } else {
            std::size_t line = 0;
            std::string reason;
            file.list = ParseCombinedListFile(SplitLines(content.bytes), line, reason);
            if (!file.list) file.problem = CatalogueText("Combined.DamagedFile", {shown, std::to_string(line), reason});
        }
        files.push_back(std::move(file));
    }
    // No folder holds no list; one that cannot be listed may hold any.
    std::error_code probe;
    if (ec && (std::filesystem::exists(folder, probe) || probe))
        files.push_back({folder, std::nullopt,
                         CatalogueText("frmSeason.UnreadableFolder", {ShownPath(programFolder, folder),
                                                                      ReasonText(ProblemOfCode(ec))})});
    std::sort(files.begin(), files.end(), [](const CombinedFile& a, const CombinedFile& b) {
        const auto key = [](const CombinedFile& f) {
            return std::tuple(!f.list.has_value(), AsciiLower(f.list ? f.list->name : NameOf(f.file)), NameOf(f.file));
        };
        return key(a) < key(b);
    });
    return files;
}

const CombinedFile* FindCombinedList(const std::vector<CombinedFile>& files, std::string_view name) {
    for (const CombinedFile& file : files)
        if (file.list && SameNameAnyCase(file.list->name, name)) return &file;
    return nullptr;
}

std::string CombineRefusal(const Race& first, const Race& race) {
    std::vector<std::string> differs;
    if (std::tie(first.year, first.month, first.day) != std::tie(race.year, race.month, race.day))
        differs.push_back(CatalogueText("Combined.DiffersDate"));
    if (first.releasePointNumber != race.releasePointNumber) differs.push_back(CatalogueText("Combined.DiffersPoint"));
    if (first.nights != race.nights) differs.push_back(CatalogueText("Combined.DiffersNights"));
    // Only a race over night has a closed period to compare.
    const auto closed = [](const Race& r) {
        return r.overNight ? std::tuple(r.closedFromHour, r.closedFromMinute, r.closedToHour, r.closedToMinute)
                           : std::tuple(-1, -1, -1, -1);
    };
    if (closed(first) != closed(race)) differs.push_back(CatalogueText("Combined.DiffersClosed"));
    if (differs.empty()) return {};
    std::string what;
    for (const std::string& d : differs) what += (what.empty() ? "" : ", ") + d;
    return CatalogueText("Combined.Differs", {TrimmedRaceName(race), TrimmedRaceName(first), what});
}

SaveResult StoreCombinedList(const Path& programFolder, const CombinedList& list, const std::optional<std::string>& altered) {
    CombinedList stored{TrimBlanks(list.name), {}};
    if (!IsSeasonName(stored.name)) return Refused("Combined.NameMissing");
    for (const std::string& race : list.races)
        if (!TrimBlanks(race).empty() && !stored.Lists(race)) stored.races.push_back(TrimBlanks(race));
    if (stored.races.empty()) return Refused("Combined.NoRace");

    const std::vector<CombinedFile> files = LoadCombinedLists(programFolder);
    // A damaged file might hold one of the races, and is never saved over.
    for (const CombinedFile& file : files)
        if (!file.list) return Refused("Combined.FileDamaged", {file.problem});
    const CombinedFile* own = altered ? FindCombinedList(files, *altered) : nullptr;
    if (altered && !own) return Refused("Combined.NoSuchList", {*altered});
    for (const CombinedFile& file : files)
        if (&file != own && SameNameAnyCase(file.list->name, stored.name))
            return Refused("Combined.NameUsed", {stored.name});

    const RaceList races = LoadRaces(programFolder);
    if (races.outcome == LoadOutcome::Unreadable) return SaveFailed(RaceListProblemText(races), races.problem.reason);
    if (RaceNamed(races, stored.name)) return Refused("Combined.NameIsRace", {stored.name});
    const Race* first = nullptr;
    for (const std::string& name : stored.races) {
        const Race* race = RaceNamed(races, name);
        if (!race) return Refused("Combined.NoSuchRace", {name});
        if (!first) first = race;
        if (const std::string refusal = CombineRefusal(*first, *race); !refusal.empty()) return SaveFailed(refusal);
        for (const CombinedFile& file : files)
            if (&file != own && file.list->Lists(name)) return Refused("Combined.RaceInOtherList", {name, file.list->name});
    }

    Path target = CombinedListPath(programFolder, stored.name);
    if (own && AsciiLower(NameOf(own->file)) == AsciiLower(NameOf(target))) target = own->file;
    // A file of that name that holds another name is never saved over.
    std::error_code ec;
    const bool ownFile = own && target == own->file;
    if (!ownFile && std::filesystem::exists(target, ec)) return Refused("Combined.NameUsed", {stored.name});
    if (own && !ownFile)
        // A new name: the new file and the old one's removal together or not at all.
        return SaveFilesTogether(programFolder,
                                 {{target, JoinLinesCrLf(CombinedListFileLines(stored)), false}, {own->file, {}, true}});
    return SaveRaceCalcLines(target, CombinedListFileLines(stored));
}

SaveResult DeleteCombinedList(const Path& programFolder, std::string_view name) {
    const std::vector<CombinedFile> files = LoadCombinedLists(programFolder);
    const CombinedFile* file = FindCombinedList(files, name);
    if (!file) return Refused("Combined.NoSuchList", {std::string(name)});
    return SaveFilesTogether(programFolder, {{file->file, {}, true}});
}

CombinedListsOfRace CombinedListsRenamingRace(const Path& programFolder, std::string_view name, std::string_view newName) {
    CombinedListsOfRace result;
    for (const CombinedFile& file : LoadCombinedLists(programFolder)) {
        if (!file.list) {
            result.refusal = Refused("Combined.FileDamaged", {file.problem});
            return result;
        }
        if (!file.list->Lists(name)) continue;
        CombinedList list = *file.list;
        std::erase_if(list.races, [&](const std::string& race) { return newName.empty() && SameNameAnyCase(race, name); });
        for (std::string& race : list.races)
            if (SameNameAnyCase(race, name)) race = std::string(newName);
        result.files.push_back({file.file, JoinLinesCrLf(CombinedListFileLines(list)), list.races.empty()});
    }
    return result;
}

std::vector<MergedLine> MergeRankings(const std::vector<ClubRanking>& rankings) {
    struct Next {
        double speed;
        long long arrival;
        int club;
        std::size_t ranking;
    };
    // The queue's top is the one that comes next.
    const auto later = [](const Next& a, const Next& b) {
        return std::tuple(-a.speed, a.arrival, a.club, a.ranking) > std::tuple(-b.speed, b.arrival, b.club, b.ranking);
    };
    std::priority_queue<Next, std::vector<Next>, decltype(later)> queue(later);
    std::vector<std::size_t> place(rankings.size(), 0);
    std::size_t total = 0;
    const auto push = [&](std::size_t r) {
        const ClubRanking& ranking = rankings[r];
        if (place[r] >= ranking.lines->size()) return;
        const ResultLine& line = (*ranking.lines)[place[r]];
        queue.push({line.speed, ReleaseSeconds(*ranking.race) + line.flightSeconds, ranking.race->clubNumber, r});
    };
    for (std::size_t r = 0; r < rankings.size(); ++r) {
        total += rankings[r].lines->size();
        push(r);
    }
    std::vector<MergedLine> merged;
    merged.reserve(total);
    while (!queue.empty()) {
        const std::size_t r = queue.top().ranking;
        queue.pop();
        merged.push_back({r, place[r]++});
        push(r);
    }
    return merged;
}

bool CombinedResult::Complete() const {
    return raceListWhole && std::all_of(races.begin(), races.end(), [](const CombinedRace& race) {
               return race.state == CombinedRaceState::Counted;
           });
}

CombinedResult CalculateCombined(const Path& programFolder, const CombinedList& list,
                                 const std::vector<CombinedFile>& files, const RaceList& raceList) {
    CombinedResult result;
    result.list = list;
    result.raceListWhole = raceList.outcome != LoadOutcome::Unreadable;
    result.raceListProblem = RaceListProblemText(raceList);
    std::vector<Race> races;
    std::vector<std::vector<ResultLine>> rankings;
    for (const std::string& name : list.races) {
        CombinedRace entry{name, CombinedRaceState::Counted, std::nullopt, {}, {}, {}, {}};
        const Race* race = RaceNamed(raceList, name);
        if (!race) {
            entry.state = CombinedRaceState::NoSuchRace;
            result.races.push_back(std::move(entry));
            continue;
        }
        entry.name = TrimmedRaceName(*race);
        entry.race = *race;
        entry.resultFile = ResultFilePath(programFolder, race->name);
        entry.listState = RaceStateText(programFolder, *race);
        for (const CombinedFile& file : files)
            if (file.list && !SameNameAnyCase(file.list->name, list.name) && file.list->Lists(name)) {
                entry.state = CombinedRaceState::InOtherList;
                entry.otherList = file.list->name;
            }
        ResultFile read = ReadResultFile(programFolder, race->name);
        if (read.status == ReadStatus::Missing) {
            entry.state = CombinedRaceState::NoResultFile;
        } else if (read.status != ReadStatus::Ok || !read.whole) {
            entry.state = CombinedRaceState::ResultUnreadable;
            entry.problem = read.problem;
        } else {
            races.push_back(*race);
            rankings.push_back(std::move(read.lines));
        }
        result.races.push_back(std::move(entry));
    }

    Race& head = result.head;
    bool allMiles = false;
    for (const CombinedRace& entry : result.races) {
        if (!entry.race) continue;
        const Race& race = *entry.race;
        if (head.name.empty()) {
            head = race;
            head.clubName.clear();
            head.pigeonsEntered = head.pigeonsClassified = head.fanciersEntered = 0;
            allMiles = true;
        }
        if (!head.clubName.empty()) head.clubName += ", ";
        head.clubName += TrimRightBlanks(race.clubName);
        head.pigeonsEntered += race.pigeonsEntered;
        head.pigeonsClassified += race.pigeonsClassified;
        head.fanciersEntered += race.fanciersEntered;
        allMiles = allMiles && race.distanceUnit == kRaceInMiles;
    }
    head.name = list.name;
    head.distanceUnit = allMiles ? kRaceInMiles : kRaceInKm;
    // One club's comments are not the federation's.
    head.headerComment.clear();
    head.footerComment.clear();
    result.state = ListsStateText(programFolder, list.races);

    std::vector<ClubRanking> clubs;
    for (std::size_t i = 0; i < races.size(); ++i) clubs.push_back({&races[i], &rankings[i]});
    const std::vector<MergedLine> merged = MergeRankings(clubs);
    result.lines.reserve(merged.size());
    result.clubs.reserve(merged.size());
    for (const MergedLine& m : merged) {
        result.lines.push_back(std::move(rankings[m.ranking][m.place]));
        result.clubs.push_back(races[m.ranking].clubNumber);
    }
    return result;
}

std::optional<CombinedResult> CurrentCombined(const Path& programFolder, std::string_view name) {
    const std::vector<CombinedFile> files = LoadCombinedLists(programFolder);
    const CombinedFile* file = FindCombinedList(files, name);
    if (!file) return std::nullopt;
    return CalculateCombined(programFolder, *file->list, files, LoadRaces(programFolder));
}

RaceSeason SeasonOfCombined(const Path& programFolder, const CombinedResult& result) {
    const std::vector<SeasonFile> files = LoadSeasons(programFolder);
    RaceSeason season;
    for (const SeasonFile& file : files) {
        if (!file.season) {
            season.damaged.push_back(file.problem);
            continue;
        }
        if (!season.season.empty() || !file.season->Lists(result.list.name)) continue;
        season.season = file.season->name;
        SeasonRace entry{result.list.name, SeasonRaceState::Counted, result.head, {}, {}, result.lines.size(), {}, {},
                         result.state};
        if (!result.Complete()) entry.state = SeasonRaceState::Incomplete;
        else if (!file.season->Covers(DateOfRace(result.head))) entry.state = SeasonRaceState::OutsideDates;
        else entry.prizes = PrizesOfRace(*file.season, result.head, result.lines.size());
        season.race = std::move(entry);
    }
    return season;
}

std::vector<std::string> CombinedNotes(const TextCatalogue& catalogue, const CombinedResult& result) {
    const auto text = [&](const char* key, const std::vector<std::string>& values) {
        return FillPlaceholders(catalogue.LookupText(std::string("Combined.") + key), values);
    };
    std::vector<std::string> notes;
    if (!result.raceListWhole) notes.push_back(result.raceListProblem);
    for (const CombinedRace& race : result.races) {
        switch (race.state) {
        case CombinedRaceState::Counted: break;
        case CombinedRaceState::NoSuchRace: notes.push_back(text("RaceGone", {race.name})); break;
        case CombinedRaceState::NoResultFile: notes.push_back(text("RaceNoResult", {race.name})); break;
        case CombinedRaceState::ResultUnreadable:
            notes.push_back(text("RaceUnreadable", {race.name, CannotReadText(race.resultFile, race.problem)}));
            break;
        case CombinedRaceState::InOtherList: notes.push_back(text("RaceInOtherListNote", {race.name, race.otherList})); break;
        }
    }
    return notes;
}

std::vector<std::string> CombinedRaceStates(const TextCatalogue& catalogue, const CombinedResult& result) {
    std::vector<std::string> lines;
    for (const CombinedRace& race : result.races)
        if (race.race)
            lines.push_back(FillPlaceholders(catalogue.LookupText("Combined.RaceState"),
                                             {race.name, ClubColumnText(race.race->clubNumber),
                                              TrimRightBlanks(race.race->clubName), race.listState}));
    return lines;
}

std::vector<PrintPage> CombinedRacePages(const TextCatalogue& catalogue, const CombinedResult& result,
                                         std::size_t firstNumber) {
    return LinePages(CombinedRaceStates(catalogue, result),
                     catalogue.LookupText("Combined.RacesHead") + ": " + result.list.name, firstNumber);
}

std::string ClubColumnText(int clubNumber) { return ZeroPadded(clubNumber, 3); }

namespace {

// The club's number takes three places; a longer head widens the column.
std::size_t ClubColumnWidth(const std::string& clubHead) { return std::max<std::size_t>(clubHead.size() + 1, 5); }

} // namespace

std::vector<std::string> CombinedWindowLines(const CombinedResult& result, char separator, const RacePrizes* prizes,
                                             const std::string& mark, const ResultWindowSpread& spread,
                                             const std::string& clubHead) {
    std::vector<std::string> lines =
        ResultWindowLines(result.lines, result.head.distanceUnit, separator, prizes, mark, spread);
    const std::size_t width = ClubColumnWidth(clubHead);
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = PadRight(ClubColumnText(result.clubs[i]), width) + lines[i];
    return lines;
}

std::array<std::string, 2> CombinedWindowHeads(const std::string& clubHead, const std::array<std::string, 8>& heads,
                                               const std::array<std::string, 2>& units,
                                               const std::array<std::string, 2>* prizeHeads) {
    const std::size_t width = ClubColumnWidth(clubHead);
    std::array<std::string, 2> lines = ResultWindowHeads(heads, units, prizeHeads);
    lines[0] = PadRight(clubHead, width) + lines[0];
    if (!lines[1].empty()) lines[1] = std::string(width, ' ') + lines[1];
    return lines;
}

std::vector<ResultLine> CombinedPrintLines(const CombinedResult& result) {
    std::vector<ResultLine> lines = result.lines;
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i].fancierName = ClubColumnText(result.clubs[i]) + " " + TrimRightBlanks(lines[i].fancierName);
    return lines;
}

namespace {

struct CombinedTable {
    std::vector<std::string> heads;
    std::vector<bool> figures;
    std::vector<std::vector<std::string>> rows;
};

// The race's table with the club's number after the position.
CombinedTable CombinedTableOf(const CombinedResult& result, const ExportTexts& texts, const RacePrizes* prizes) {
    const int unit = result.head.distanceUnit;
    CombinedTable table{ExportHeads(texts, unit, prizes != nullptr), ExportFigureColumns(unit, prizes != nullptr), {}};
    table.heads.insert(table.heads.begin() + 1, TrimBlanks(texts.catalogue.LookupText("Combined.ClubHead")));
    table.figures.insert(table.figures.begin() + 1, true);
    const std::vector<ResultRow> rows = ResultRows(result.lines, unit, kPoint, prizes);
    table.rows.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::vector<std::string> cells = ExportCells(rows[i], unit, prizes != nullptr, texts.prizeMark);
        cells.insert(cells.begin() + 1, ClubColumnText(result.clubs[i]));
        table.rows.push_back(std::move(cells));
    }
    return table;
}

} // namespace

std::string CombinedCsv(const CombinedResult& result, const ExportTexts& texts, const RacePrizes* prizes) {
    const CombinedTable table = CombinedTableOf(result, texts, prizes);
    // As a race's list: a row read alone still tells whether the list may change.
    std::vector<std::string> heads = table.heads;
    heads.push_back(TrimBlanks(texts.stateHead));
    std::string csv = CsvRecord(heads);
    for (std::vector<std::string> row : table.rows) {
        row.push_back(result.state);
        csv += CsvRecord(row, table.figures);
    }
    return kCsvByteOrderMark + Cp1252ToUtf8(csv);
}

std::string CombinedHtml(const CombinedResult& result, const ExportTexts& texts, const std::string& dateText,
                         const std::vector<std::string>& notes, const RacePrizes* prizes) {
    const PrintTexts& p = texts.print;
    const std::string name = TrimRightBlanks(result.head.name);
    std::string html = HtmlPageStart(p.listHead.empty() ? name : TrimBlanks(p.listHead) + ": " + name);
    html += "<h1>" + HtmlEscaped(p.listHead) + "</h1>\n";
    if (!result.state.empty()) html += "<p class=\"state\">" + HtmlEscaped(result.state) + "</p>\n";
    html += HtmlHeadTable(ResultHeadLines(result.head, p, dateText, prizes));
    if (const std::vector<std::string> races = CombinedRaceStates(texts.catalogue, result); !races.empty()) {
        html += "<ul class=\"races\">\n";
        for (const std::string& race : races) html += "<li>" + HtmlEscaped(race) + "</li>\n";
        html += "</ul>\n";
    }
    for (const std::string& note : notes) html += "<p class=\"warning\">" + HtmlEscaped(note) + "</p>\n";
    const CombinedTable table = CombinedTableOf(result, texts, prizes);
    html += "<table class=\"results\">\n<thead>\n" + HtmlRow("th", table.heads, table.figures) + "</thead>\n<tbody>\n";
    for (const auto& row : table.rows) html += HtmlRow("td", row, table.figures);
    html += "</tbody>\n</table>\n</body>\n</html>\n";
    return Cp1252ToUtf8(html);
}

ExportOutcome ExportCombined(const Path& programFolder, const CombinedResult& result, const ExportTexts& texts,
                             const std::string& dateText, const std::vector<ExportTarget>& targets,
                             const RacePrizes* prizes) {
    const std::vector<std::string> notes = CombinedNotes(texts.catalogue, result);
    if (!notes.empty())
        return {ExportStatus::NotWritten,
                FillPlaceholders(texts.catalogue.LookupText("Combined.Incomplete"), {result.list.name, notes.front()}),
                notes};
    std::vector<FileToSave> files;
    for (const ExportTarget& target : targets)
        files.push_back({target.file, target.format == ExportFormat::Csv
                                          ? CombinedCsv(result, texts, prizes)
                                          : CombinedHtml(result, texts, dateText, notes, prizes)});
    const SaveResult saved = SaveFilesTogether(programFolder, files);
    if (!saved) return {ExportStatus::NotWritten, saved.error, notes};
    return {ExportStatus::Written, {}, notes};
}

} // namespace plumet
