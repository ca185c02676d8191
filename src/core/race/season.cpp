#include "core/race/season.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <set>
#include <system_error>
#include <tuple>

#include "core/app/fixedwidth.h"
#include "core/app/timesource.h"
#include "core/race/combinedlist.h"
#include "core/race/racecalcfolder.h"
#include "core/race/racefields.h"
#include "core/race/racelog.h"
#include "core/race/resultfile.h"
#include "core/registers/rings.h"

namespace plumet {
namespace {

// More than any race list holds; keeps the count of a foreign result file in an int.
constexpr std::size_t kMostEntered = 1000000;

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool SameFileOnDisk(const Path& a, const Path& b) {
    std::error_code ec;
    return a == b || std::filesystem::equivalent(a, b, ec);
}

// The settings of the file, in the order the writer puts them.
enum Setting { kName, kPrizeRatio, kCountedPrizes, kFirstRace, kLastRace, kRace, kSettingCount };
constexpr std::array<const char*, kSettingCount> kSettingNames = {"Name", "PrizeRatio", "CountedPrizes",
                                                                  "FirstRace", "LastRace", "Race"};

std::optional<int> NumberIn(std::string_view text, int low, int high) {
    if (!IsAllDigits(text)) return std::nullopt;
    const auto value = ParseInteger(text);
    if (!value || *value < low || *value > high) return std::nullopt;
    return static_cast<int>(*value);
}

const SeasonFile* FileOfSeason(const std::vector<SeasonFile>& files, std::string_view name) {
    for (const SeasonFile& file : files)
        if (file.season && SameNameAnyCase(file.season->name, name)) return &file;
    return nullptr;
}

// Rounds a non-negative quotient half up.
long long RoundedQuotient(long long numerator, long long denominator) {
    return (2 * numerator + denominator) / (2 * denominator);
}

std::string FixedPoint(long long value, long long unit, int decimals, char separator) {
    const bool negative = value < 0;
    const long long magnitude = negative ? -value : value;
    return (negative ? "-" : "") + std::to_string(magnitude / unit) + separator +
           ZeroPadded(magnitude % unit, static_cast<std::size_t>(decimals));
}

// The race as `season` sees it: where it stands, and its ranking when it counts.
SeasonRace EvaluateRace(const Path& programFolder, const Season& season, const Race& race,
                        const std::vector<SeasonFile>& files, std::vector<ResultLine>* lines) {
    SeasonRace entry;
    entry.name = TrimmedRaceName(race);
    entry.race = race;
    for (const SeasonFile& file : files) {
        if (!file.season || SameNameAnyCase(file.season->name, season.name) || !file.season->Lists(entry.name)) continue;
        entry.state = SeasonRaceState::InOtherSeason;
        entry.otherSeason = file.season->name;
        return entry;
    }
    if (!season.Covers(DateOfRace(race))) {
        entry.state = SeasonRaceState::OutsideDates;
        return entry;
    }
    entry.resultFile = ResultFilePath(programFolder, race.name);
    ResultFile result = ReadResultFile(programFolder, race.name);
    if (result.status == ReadStatus::Missing) {
        entry.state = SeasonRaceState::NoResultFile;
        return entry;
    }
    if (result.status != ReadStatus::Ok || !result.whole) {
        entry.state = SeasonRaceState::ResultUnreadable;
        entry.resultProblem = result.problem;
        return entry;
    }
    entry.classified = result.lines.size();
    entry.prizes = PrizesOfRace(season, race, entry.classified);
    entry.listState = RaceStateText(programFolder, race);
    if (lines) *lines = std::move(result.lines);
    return entry;
}

std::vector<SeasonFileProblem> DamagedFiles(const std::vector<SeasonFile>& files) {
    std::vector<SeasonFileProblem> damaged;
    for (const SeasonFile& file : files)
        if (!file.season) damaged.push_back(file.problem);
    return damaged;
}

SeasonStore StoreRefused(int message, std::string focus, std::vector<std::string> names = {}) {
    return {message, std::move(focus), std::move(names), {}, {}};
}

} // namespace

SeasonDate DateOfRace(const Race& race) { return {race.year, race.month, race.day}; }

std::string SeasonDateText(const SeasonDate& date) {
    return ZeroPadded(date.day, 2) + "." + ZeroPadded(date.month, 2) + "." + ZeroPadded(date.year, 4);
}

std::optional<SeasonDate> ParseSeasonDate(std::string_view text) {
    const auto parts = SplitDottedDate(text);
    if (!parts || parts->year.size() != 4) return std::nullopt;
    const auto day = NumberIn(parts->day, 1, 31);
    const auto month = NumberIn(parts->month, 1, 12);
    const auto year = NumberIn(parts->year, 1900, 9999);
    if (!day || !month || !year) return std::nullopt;
    const DateTime date = MakeDateTime(*year, *month, *day);
    if (!IsValidDateTime(date) || date.day != *day || date.month != *month) return std::nullopt;
    return SeasonDate{*year, *month, *day};
}

bool Season::Lists(std::string_view raceName) const {
    return std::any_of(races.begin(), races.end(), [&](const std::string& listed) { return SameNameAnyCase(listed, raceName); });
}

bool IsSeasonName(std::string_view name) {
    if (name.empty() || name.size() > kSeasonNameLength || TrimBlanks(name).empty() || IsDeviceName(TrimBlanks(name)))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) { return RaceNameKey(static_cast<unsigned char>(c)).has_value(); }) &&
           name.find('\b') == std::string_view::npos;
}

std::vector<std::string> SeasonFileLines(const Season& season) {
    std::vector<std::string> lines{
        std::string(kSettingNames[kName]) + "=" + TrimBlanks(season.name),
        std::string(kSettingNames[kPrizeRatio]) + "=" + std::to_string(season.prizeRatio),
        std::string(kSettingNames[kCountedPrizes]) + "=" + std::to_string(season.countedPrizes),
        std::string(kSettingNames[kFirstRace]) + "=" + SeasonDateText(season.firstRace),
        std::string(kSettingNames[kLastRace]) + "=" + SeasonDateText(season.lastRace),
    };
    for (const std::string& race : season.races) lines.push_back(std::string(kSettingNames[kRace]) + "=" + TrimBlanks(race));
    return lines;
}

std::optional<Season> ParseSeasonFile(const std::vector<std::string>& lines, SeasonFileProblem& problem) {
    Season season;
    std::array<std::size_t, kSettingCount> seenAt{};
    const auto fail = [&](SeasonDamage damage, std::size_t line, std::string setting) {
        problem.damage = damage;
        problem.line = line;
        problem.setting = std::move(setting);
        return std::nullopt;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t number = i + 1;
        const std::string& line = lines[i];
        if (TrimBlanks(line).empty()) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) return fail(SeasonDamage::NoSetting, number, {});
        const std::string key = TrimBlanks(line.substr(0, eq));
        const std::string value = TrimBlanks(line.substr(eq + 1));
        const auto setting = std::find_if(kSettingNames.begin(), kSettingNames.end(),
                                          [&](const char* name) { return SameNameAnyCase(name, key); });
        if (setting == kSettingNames.end()) return fail(SeasonDamage::UnknownSetting, number, key);
        const auto which = static_cast<std::size_t>(setting - kSettingNames.begin());
        if (which != kRace && seenAt[which] != 0) return fail(SeasonDamage::SettingTwice, number, *setting);
        seenAt[which] = number;
        switch (which) {
        case kName:
            if (!IsSeasonName(value)) return fail(SeasonDamage::Name, number, *setting);
            season.name = value;
            break;
        case kPrizeRatio: {
            const auto ratio = NumberIn(value, kLeastPrizeRatio, kMostPrizeRatio);
            if (!ratio) return fail(SeasonDamage::PrizeRatio, number, *setting);
            season.prizeRatio = *ratio;
            break;
        }
        case kCountedPrizes: {
            const auto counted = NumberIn(value, kLeastCountedPrizes, kMostCountedPrizes);
            if (!counted) return fail(SeasonDamage::CountedPrizes, number, *setting);
            season.countedPrizes = *counted;
            break;
        }
        case kFirstRace:
        case kLastRace: {
            const auto date = ParseSeasonDate(value);
            if (!date) return fail(SeasonDamage::Date, number, *setting);
            (which == kFirstRace ? season.firstRace : season.lastRace) = *date;
            break;
        }
        default:
            if (!IsRaceName(value)) return fail(SeasonDamage::RaceName, number, *setting);
            if (season.Lists(value)) return fail(SeasonDamage::RaceTwice, number, *setting);
            season.races.push_back(value);
        }
    }
    // The prize rules may be left to their defaults in a file written by hand.
    for (const Setting required : {kName, kFirstRace, kLastRace})
        if (seenAt[required] == 0) return fail(SeasonDamage::Missing, lines.size() + 1, kSettingNames[required]);
    if (season.lastRace < season.firstRace) return fail(SeasonDamage::DateOrder, seenAt[kLastRace], kSettingNames[kLastRace]);
    problem = {problem.file, SeasonDamage::None, 0, {}, {}};
    return season;
}

Path SeasonFilePath(const Path& programFolder, std::string_view seasonName) {
    return RaceCalcPath(programFolder, TrimBlanks(seasonName) + kSeasonExtension);
}

std::vector<SeasonFile> LoadSeasons(const Path& programFolder) {
    std::vector<SeasonFile> files;
    std::error_code ec;
    const Path folder = ResolvePath(programFolder, kRaceCalcFolder);
    std::filesystem::directory_iterator it(folder, ec);
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
        if (!EndsWith(AsciiLower(NameOf(it->path())), kSeasonExtension)) continue;
        SeasonFile file{it->path(), std::nullopt, {it->path(), SeasonDamage::None, 0, {}, {}}};
        const FileContent content = ReadWholeFile(file.file);
        if (content.status == ReadStatus::Missing) continue;
        if (content.status != ReadStatus::Ok) {
            file.problem.damage = SeasonDamage::Unreadable;
            file.problem.read = content.problem;
        } else {
            file.season = ParseSeasonFile(SplitLines(content.bytes), file.problem);
        }
        files.push_back(std::move(file));
    }
    // No folder holds no season; one that cannot be listed may hold any.
    std::error_code probe;
    if (ec && (std::filesystem::exists(folder, probe) || probe))
        files.push_back({folder, std::nullopt, {folder, SeasonDamage::FolderUnreadable, 0, {}, ProblemOfCode(ec)}});
    std::sort(files.begin(), files.end(), [](const SeasonFile& a, const SeasonFile& b) {
        const auto key = [](const SeasonFile& f) {
            return std::tuple(!f.season.has_value(), AsciiLower(f.season ? f.season->name : NameOf(f.file)), NameOf(f.file));
        };
        return key(a) < key(b);
    });
    return files;
}

int PrizeCount(int entered, std::size_t classified, int prizeRatio) {
    if (entered <= 0 || prizeRatio <= 0) return 0;
    const int prizes = (entered + prizeRatio - 1) / prizeRatio;
    return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(prizes), classified));
}

long long AcePointsHundredths(int prizes, std::size_t place) {
    if (prizes <= 0 || place < 1 || place > static_cast<std::size_t>(prizes)) return 0;
    return RoundedQuotient((static_cast<long long>(prizes) + 1 - static_cast<long long>(place)) * 10000, prizes);
}

long long CoefficientThousandths(std::size_t place, int entered) {
    if (entered <= 0) return 0;
    return RoundedQuotient(static_cast<long long>(place) * 1000000, entered);
}

std::string HundredthsText(long long hundredths, char separator) { return FixedPoint(hundredths, 100, 2, separator); }
std::string ThousandthsText(long long thousandths, char separator) { return FixedPoint(thousandths, 1000, 3, separator); }

RacePrizes PrizesOfRace(const Season& season, const Race& race, std::size_t classified) {
    RacePrizes prizes;
    prizes.season = season.name;
    prizes.prizeRatio = season.prizeRatio;
    prizes.entered = std::max(race.pigeonsEntered, static_cast<int>(std::min<std::size_t>(classified, kMostEntered)));
    const int count = PrizeCount(prizes.entered, classified, season.prizeRatio);
    for (int place = 1; place <= count; ++place) {
        prizes.points.push_back(AcePointsHundredths(count, static_cast<std::size_t>(place)));
        prizes.coefficients.push_back(CoefficientThousandths(static_cast<std::size_t>(place), prizes.entered));
    }
    return prizes;
}

std::string RingKey(std::string_view ringText) {
    // Every ring layout ends in the sex letter, which the catalogue of the read-out words.
    std::string key = TrimBlanks(PadRight(ringText, kRingTextLength).substr(0, kRingTextLength - 1));
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

Standings StandingsOf(const std::vector<CountedRace>& races, int countedPrizes) {
    struct Pigeon {
        PigeonStanding standing;
        std::tuple<SeasonDate, std::string> lofted; // the race that named its loft
    };
    std::map<std::string, Pigeon> pigeons;
    std::map<std::pair<int, std::string>, LoftStanding> lofts;
    std::set<int> clubs;
    for (const CountedRace& race : races) clubs.insert(race.clubs.begin(), race.clubs.end());
    for (const CountedRace& race : races) {
        std::map<std::pair<int, std::string>, int> countedInRace;
        const std::size_t prizes = std::min(race.prizes.Count(), race.lines.size());
        for (std::size_t i = 0; i < prizes; ++i) {
            const int club = i < race.clubs.size() ? race.clubs[i] : 0;
            const std::string name = TrimBlanks(race.lines[i].fancierName);
            const std::string loft = clubs.size() > 1 ? name + " (" + ZeroPadded(club, 3) + ")" : name;
            const auto loftKey = std::pair(club, name);
            const long long points = race.prizes.points[i];
            Pigeon& pigeon = pigeons[RingKey(race.lines[i].ringText)];
            PigeonStanding& p = pigeon.standing;
            const auto lofted = std::tuple(race.date, race.name);
            if (p.prizes == 0 || lofted > pigeon.lofted) {
                p.loft = loft;
                p.ring = TrimBlanks(race.lines[i].ringText);
                pigeon.lofted = lofted;
            }
            p.points += points;
            p.prizes += 1;
            p.coefficients += race.prizes.coefficients[i];
            LoftStanding& l = lofts[loftKey];
            l.loft = loft;
            // Places come best first, so the first prizes of a loft are its best.
            if (countedInRace[loftKey]++ < countedPrizes) {
                l.points += points;
                l.countedPrizes += 1;
            }
        }
    }
    Standings standings;
    for (auto& [ring, pigeon] : pigeons) standings.pigeons.push_back(pigeon.standing);
    for (auto& [name, loft] : lofts) standings.lofts.push_back(loft);
    std::sort(standings.pigeons.begin(), standings.pigeons.end(), [](const PigeonStanding& a, const PigeonStanding& b) {
        return std::tuple(-a.points, -a.prizes, a.coefficients, a.ring) < std::tuple(-b.points, -b.prizes, b.coefficients, b.ring);
    });
    std::sort(standings.lofts.begin(), standings.lofts.end(), [](const LoftStanding& a, const LoftStanding& b) {
        return std::tuple(-a.points, -a.countedPrizes, a.loft) < std::tuple(-b.points, -b.countedPrizes, b.loft);
    });
    for (std::size_t i = 0; i < standings.pigeons.size(); ++i) standings.pigeons[i].place = i + 1;
    for (std::size_t i = 0; i < standings.lofts.size(); ++i) standings.lofts[i].place = i + 1;
    return standings;
}

SeasonStandings CalculateSeason(const Path& programFolder, const Season& season, const std::vector<SeasonFile>& files) {
    SeasonStandings result;
    result.season = season;
    result.damaged = DamagedFiles(files);
    const RaceList list = LoadRaces(programFolder);
    result.raceListWhole = list.outcome != LoadOutcome::Unreadable;
    result.raceListProblem = RaceListProblemText(list);
    std::vector<CountedRace> counted;
    const std::vector<CombinedFile> combined = LoadCombinedLists(programFolder);
    for (const std::string& name : season.races) {
        const auto race = std::find_if(list.races.begin(), list.races.end(),
                                       [&](const Race& r) { return SameRaceName(r.name, name); });
        if (const CombinedFile* file = FindCombinedList(combined, name); race == list.races.end() && file) {
            CombinedResult merged = CalculateCombined(programFolder, *file->list, combined, list);
            SeasonRace entry{file->list->name, SeasonRaceState::Counted, merged.head, {}, {}, merged.lines.size(), {}, {},
                             ListsStateText(programFolder, merged.list.races)};
            for (const SeasonFile& other : files)
                if (other.season && !SameNameAnyCase(other.season->name, season.name) && other.season->Lists(entry.name)) {
                    entry.state = SeasonRaceState::InOtherSeason;
                    entry.otherSeason = other.season->name;
                }
            // A race of the list that the season also counts directly would count twice.
            const bool twice = std::any_of(merged.list.races.begin(), merged.list.races.end(),
                                           [&](const std::string& r) { return season.Lists(r); });
            const bool counts = entry.state == SeasonRaceState::Counted;
            if (counts && (!merged.Complete() || twice)) entry.state = SeasonRaceState::Incomplete;
            else if (counts && !season.Covers(DateOfRace(merged.head))) entry.state = SeasonRaceState::OutsideDates;
            if (entry.state == SeasonRaceState::Counted) {
                entry.prizes = PrizesOfRace(season, merged.head, merged.lines.size());
                counted.push_back({entry.name, DateOfRace(merged.head), entry.prizes, std::move(merged.lines),
                                   std::move(merged.clubs)});
            }
            result.races.push_back(std::move(entry));
            continue;
        }
        if (race == list.races.end()) {
            result.races.push_back({name, SeasonRaceState::NoSuchRace, std::nullopt, {}, {}, 0, {}, {}, {}});
            continue;
        }
        std::vector<ResultLine> lines;
        result.races.push_back(EvaluateRace(programFolder, season, *race, files, &lines));
        const SeasonRace& entry = result.races.back();
        if (entry.state == SeasonRaceState::Counted) {
            std::vector<int> clubs(lines.size(), race->clubNumber);
            counted.push_back({entry.name, DateOfRace(*race), entry.prizes, std::move(lines), std::move(clubs)});
        }
    }
    result.standings = StandingsOf(counted, season.countedPrizes);
    return result;
}

std::optional<SeasonStandings> CurrentStandings(const Path& programFolder, std::string_view name) {
    const std::vector<SeasonFile> files = LoadSeasons(programFolder);
    const SeasonFile* file = FileOfSeason(files, name);
    if (!file) return std::nullopt;
    return CalculateSeason(programFolder, *file->season, files);
}

SeasonsOfRace SeasonsRenamingRace(const Path& programFolder, std::string_view name, std::string_view newName) {
    SeasonsOfRace result;
    for (const SeasonFile& file : LoadSeasons(programFolder)) {
        if (!file.season) {
            const bool unread = file.problem.damage == SeasonDamage::Unreadable || file.problem.damage == SeasonDamage::FolderUnreadable;
            const FileProblem problem = unread ? file.problem.read : FileProblem{FileReason::Damaged, file.problem.line, {}};
            result.refusal = SaveFailed(CatalogueText("Races.SeasonUnreadable", {CannotReadText(file.file, problem)}), problem.reason);
            return result;
        }
        if (!file.season->Lists(name)) continue;
        Season season = *file.season;
        for (auto it = season.races.begin(); it != season.races.end();) {
            if (!SameNameAnyCase(*it, name)) {
                ++it;
            } else if (newName.empty()) {
                it = season.races.erase(it);
            } else {
                *it++ = std::string(newName);
            }
        }
        result.seasons.push_back(season.name);
        result.files.push_back({file.file, JoinLinesCrLf(SeasonFileLines(season))});
    }
    return result;
}

const RacePrizes* RaceSeason::Prizes() const {
    return race && race->state == SeasonRaceState::Counted ? &race->prizes : nullptr;
}

RaceSeason SeasonOfRace(const Path& programFolder, const Race& race) {
    const std::vector<SeasonFile> files = LoadSeasons(programFolder);
    RaceSeason result;
    result.damaged = DamagedFiles(files);
    for (const SeasonFile& file : files) {
        if (!file.season || !file.season->Lists(TrimmedRaceName(race))) continue;
        result.season = file.season->name;
        result.race = EvaluateRace(programFolder, *file.season, race, files, nullptr);
        break;
    }
    return result;
}

SeasonStore StoreSeason(const Path& programFolder, const Season& season, const std::optional<std::string>& altered) {
    const std::vector<SeasonFile> files = LoadSeasons(programFolder);
    const SeasonFile* own = altered ? FileOfSeason(files, *altered) : nullptr;
    Season stored = season;
    stored.name = TrimBlanks(season.name);
    if (!IsSeasonName(stored.name)) return StoreRefused(kSeasonNameMissing, "Text1");
    for (const SeasonFile& file : files)
        if (&file != own && file.season && SameNameAnyCase(file.season->name, stored.name))
            return StoreRefused(kSeasonNameUsed, "Text1", {stored.name});
    if (stored.prizeRatio < kLeastPrizeRatio || stored.prizeRatio > kMostPrizeRatio)
        return StoreRefused(kSeasonPrizeRatio, "Text2");
    if (stored.countedPrizes < kLeastCountedPrizes || stored.countedPrizes > kMostCountedPrizes)
        return StoreRefused(kSeasonCountedPrizes, "Text3");
    if (stored.lastRace < stored.firstRace) return StoreRefused(kSeasonDateOrder, "DTPicker2");
    // A damaged file might list one of the races, and the file of the name is never saved over.
    for (const SeasonFile& file : files)
        if (!file.season) return {kSeasonFileDamaged, {}, {}, file.problem, {}};

    stored.races.clear();
    for (const std::string& name : season.races)
        if (!stored.Lists(name) && !TrimBlanks(name).empty()) stored.races.push_back(TrimBlanks(name));
    const RaceList list = LoadRaces(programFolder);
    const std::vector<CombinedFile> combined = LoadCombinedLists(programFolder);
    for (const std::string& name : stored.races) {
        if (const CombinedFile* file = FindCombinedList(combined, name)) {
            for (const std::string& race : file->list->races)
                if (stored.Lists(race)) return StoreRefused(kSeasonRaceTwice, "List1", {race, file->list->name});
            for (const std::string& race : file->list->races)
                for (const Race& r : list.races)
                    if (SameRaceName(r.name, race) && !stored.Covers(DateOfRace(r)))
                        return StoreRefused(kSeasonRaceOutsideDates, "List1", {name, SeasonDateText(DateOfRace(r))});
        }
        for (const Race& race : list.races)
            if (SameRaceName(race.name, name) && !stored.Covers(DateOfRace(race)))
                return StoreRefused(kSeasonRaceOutsideDates, "List1", {name, SeasonDateText(DateOfRace(race))});
        for (const SeasonFile& file : files)
            if (&file != own && file.season && file.season->Lists(name))
                return StoreRefused(kSeasonRaceInOtherSeason, "List1", {name, file.season->name});
    }

    Path target = SeasonFilePath(programFolder, stored.name);
    if (own && AsciiLower(NameOf(own->file)) == AsciiLower(NameOf(target))) target = own->file;
    std::error_code ec;
    if (std::filesystem::exists(target, ec) && !(own && SameFileOnDisk(target, own->file)))
        return StoreRefused(kSeasonNameUsed, "Text1", {stored.name});
    SeasonStore done;
    if (own && !SameFileOnDisk(target, own->file)) {
        // A new name: the new file and the old one's removal happen together or not at all.
        done.saved = SaveFilesTogether(programFolder, {{target, JoinLinesCrLf(SeasonFileLines(stored)), false},
                                                       {own->file, {}, true}});
    } else {
        done.saved = SaveRaceCalcLines(target, SeasonFileLines(stored));
    }
    return done;
}

SaveResult DeleteSeason(const Path& programFolder, std::string_view name) {
    const std::vector<SeasonFile> files = LoadSeasons(programFolder);
    const SeasonFile* file = FileOfSeason(files, name);
    if (!file) return SaveFailed(CatalogueText("frmSeason.NoSuchSeason", {std::string(name)}));
    return SaveFilesTogether(programFolder, {{file->file, {}, true}});
}

std::string FillPlaceholders(std::string text, const std::vector<std::string>& values) {
    // From the highest number down, so that %1 does not eat the start of %10.
    for (std::size_t i = values.size(); i-- > 0;) {
        const std::string mark = "%" + std::to_string(i + 1);
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + values[i].size()))
            text.replace(at, mark.size(), values[i]);
    }
    return text;
}

std::string SeasonProblemText(const TextCatalogue& catalogue, const Path& programFolder, const SeasonFileProblem& problem) {
    std::error_code ec;
    Path shown = std::filesystem::relative(problem.file, programFolder, ec);
    if (ec || shown.empty()) shown = problem.file;
    const std::string file = PathText(shown.make_preferred());
    const auto text = [&](const std::string& key) { return catalogue.LookupText("frmSeason." + key); };
    switch (problem.damage) {
    case SeasonDamage::None: return {};
    case SeasonDamage::Unreadable: return FillPlaceholders(text("UnreadableFile"), {file, ReasonText(problem.read)});
    case SeasonDamage::FolderUnreadable:
        return FillPlaceholders(text("UnreadableFolder"), {file, ReasonText(problem.read)});
    case SeasonDamage::Missing: return FillPlaceholders(text("MissingSetting"), {file, problem.setting});
    default: break;
    }
    static const std::map<SeasonDamage, const char*> kReasons = {
        {SeasonDamage::NoSetting, "DamageNoSetting"},   {SeasonDamage::UnknownSetting, "DamageUnknownSetting"},
        {SeasonDamage::SettingTwice, "DamageTwice"},    {SeasonDamage::Name, "DamageName"},
        {SeasonDamage::PrizeRatio, "DamagePrizeRatio"}, {SeasonDamage::CountedPrizes, "DamageCountedPrizes"},
        {SeasonDamage::Date, "DamageDate"},             {SeasonDamage::DateOrder, "DamageDateOrder"},
        {SeasonDamage::RaceName, "DamageRaceName"},     {SeasonDamage::RaceTwice, "DamageRaceTwice"},
    };
    const std::string reason = FillPlaceholders(text(kReasons.at(problem.damage)), {problem.setting});
    return FillPlaceholders(text("DamagedFile"), {file, std::to_string(problem.line), reason});
}

std::vector<std::string> SeasonNotWhole(const TextCatalogue& catalogue, const Path& programFolder,
                                        const SeasonStandings& standings) {
    std::vector<std::string> notes;
    if (!standings.raceListWhole)
        notes.push_back(FillPlaceholders(catalogue.LookupText("frmSeason.RaceListNotWhole"), {standings.raceListProblem}));
    for (const SeasonFileProblem& problem : standings.damaged)
        notes.push_back(SeasonProblemText(catalogue, programFolder, problem));
    for (const SeasonRace& race : standings.races)
        if (race.state == SeasonRaceState::ResultUnreadable)
            notes.push_back(FillPlaceholders(catalogue.LookupText("frmSeason.RaceLeftOut"),
                                             {race.name, CannotReadText(race.resultFile, race.resultProblem)}));
    return notes;
}

std::string SeasonRaceStateText(const TextCatalogue& catalogue, const SeasonRace& race) {
    const auto text = [&](const char* key) { return catalogue.LookupText(std::string("frmSeason.") + key); };
    switch (race.state) {
    case SeasonRaceState::Counted: return race.listState;
    case SeasonRaceState::NoSuchRace: return text("StateNoSuchRace");
    case SeasonRaceState::NoResultFile: return text("StateNoResultFile");
    case SeasonRaceState::ResultUnreadable:
        return FillPlaceholders(text("StateResultUnreadable"), {NameOf(race.resultFile), ReasonText(race.resultProblem)});
    case SeasonRaceState::OutsideDates: return text("StateOutsideDates");
    case SeasonRaceState::InOtherSeason: return FillPlaceholders(text("StateInOtherSeason"), {race.otherSeason});
    case SeasonRaceState::Incomplete: return text("StateIncomplete");
    }
    return {};
}

std::vector<std::string> RaceSeasonWarnings(const TextCatalogue& catalogue, const Path& programFolder,
                                            const RaceSeason& season) {
    std::vector<std::string> warnings;
    for (const SeasonFileProblem& problem : season.damaged)
        warnings.push_back(SeasonProblemText(catalogue, programFolder, problem));
    if (season.race && season.race->state != SeasonRaceState::Counted)
        warnings.push_back(FillPlaceholders(catalogue.LookupText("frmRaceResultsShow.SeasonNotCounted"),
                                            {season.season, SeasonRaceStateText(catalogue, *season.race)}));
    return warnings;
}

std::string RaceSeasonText(const TextCatalogue& catalogue, const RacePrizes& prizes) {
    return FillPlaceholders(catalogue.LookupText("frmRaceResultsShow.SeasonValue"),
                            {prizes.season, std::to_string(prizes.Count()), std::to_string(prizes.prizeRatio)});
}

} // namespace plumet
