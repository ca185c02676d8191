#include "core/race/checksheet.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "core/app/catalogue.h"
#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"
#include "core/app/timesource.h"
#include "core/race/decimals.h"
#include "core/race/racecalc.h"
#include "core/race/season.h"
#include "core/registers/pigeons.h"
#include "core/registers/rings.h"

namespace plumet {
namespace {

// "14.05. 12:31:07", a time of the race's year.
std::string MomentText(long long secondsOfYear, const Race& race) {
    const DateTime at = FromCivilSeconds(CivilSeconds(MakeDateTime(race.year, 1, 1)) + secondsOfYear);
    return ZeroPadded(at.day, 2) + "." + ZeroPadded(at.month, 2) + ". " + ZeroPadded(at.hour, 2) + ":" +
           ZeroPadded(at.minute, 2) + ":" + ZeroPadded(at.second, 2);
}

std::string ArrivalText(const PigeonEntry& p) {
    return ZeroPadded(p.arrivalDay, 2) + "." + ZeroPadded(p.arrivalMonth, 2) + ". " + ZeroPadded(p.arrivalHour, 2) +
           ":" + ZeroPadded(p.arrivalMinute, 2) + ":" + ZeroPadded(p.arrivalSecond, 2);
}

std::string LoftText(const FancierEntry& fancier) {
    return ZeroPadded(fancier.number2, 3) + " " + TrimRightBlanks(fancier.fancierName);
}

std::string RingOf(const PigeonEntry& p) { return TrimBlanks(FormatRingText(p.ring, p.ringFormat)); }

std::string ExclusionText(const PigeonEntry& p, const Race& race) {
    switch (p.exclusion) {
    case Exclusion::NoArrival: return CatalogueText("CheckSheet.NoArrival");
    case Exclusion::NoDate: return CatalogueText("CheckSheet.NoDate", {ArrivalText(p)});
    case Exclusion::ClockNotRun: return CatalogueText("CheckSheet.ClockNotRun", {MomentText(p.clockedSeconds, race)});
    case Exclusion::FlightNotPositive:
        return CatalogueText("CheckSheet.FlightNotPositive", {MomentText(p.clockedSeconds, race),
                                                              std::to_string(p.flightSeconds)});
    case Exclusion::None: break;
    }
    return {};
}

// The rings of a fancier's pigeon register, as RingKey compares them, or why it cannot be read.
struct Register {
    std::set<std::string> rings;
    std::string unreadable;
};
Register RegisteredRings(const Path& programFolder, int club, int fancier) {
    const Path file = PigeonFilePath(programFolder, club, fancier);
    PigeonTable table;
    table.Load(file);
    Register known;
    if (table.LastLoad() == LoadOutcome::Unreadable) known.unreadable = CannotReadText(file, table.LoadProblem());
    for (const std::string& record : table.Records())
        known.rings.insert(RingKey(FormatRingText(PigeonRing(record), PigeonRingFormatText(record))));
    return known;
}

// Manual clock-time files are the race's ".man" files; read-out files end in the release point.
bool ByHand(const RaceInputRead& read, const PigeonEntry& p) {
    return EqualAnyCase(read.files.at(p.inputFile).extension().string(), ".man");
}

std::string SpeedUnit(const Race& race) {
    return CatalogueText(race.distanceUnit == kRaceInMiles ? "CheckSheet.YardsPerMinute" : "CheckSheet.MetresPerMinute");
}

std::string SpeedText(double metresPerMinute, const Race& race, char separator) {
    return SpeedFigure(metresPerMinute, race.distanceUnit, separator) + " " + SpeedUnit(race);
}

// A limit is a whole number of metres a minute; in a miles race it shows as whole yards.
std::string BandLimitText(int metresPerMinute, const Race& race, char separator) {
    const double shown = race.distanceUnit == kRaceInMiles ? MetresPerMinuteToYardsPerMinute(metresPerMinute)
                                                           : metresPerMinute;
    return FormatDecimal(shown, 1, 0, separator);
}

std::string DistanceText(double km, const Race& race, char separator) {
    return DistanceFigure(km, race.distanceUnit, separator) + " " +
           CatalogueText(race.distanceUnit == kRaceInMiles ? "CheckSheet.MilesAndYards" : "CheckSheet.Kilometres");
}

class Checker {
public:
    Checker(const Path& programFolder, const Settings& settings, const Race& race, char separator)
        : folder_(programFolder), limits_(settings.checkLimits), race_(race), separator_(separator) {}

    std::vector<CheckFlag> Flags(const RaceCalculation& calculation, const RaceInputRead& read) {
        std::map<std::string, std::vector<const PigeonEntry*>> byRing;
        for (const PigeonEntry& p : calculation.pigeons) {
            byRing[RingKey(FormatRingText(p.ring, p.ringFormat))].push_back(&p);
            CheckPigeon(p, calculation.fanciers[p.fancierIndex], ByHand(read, p));
        }
        for (const auto& [key, pigeons] : byRing)
            if (pigeons.size() > 1) ClockedTwice(calculation, read, pigeons);
        for (const FancierEntry& fancier : calculation.fanciers) CheckClock(fancier);
        for (const ReadingEnded& ended : read.readingEnded)
            flags_.push_back({CheckKind::LineUnreadable, 0, 0, {}, {},
                              CatalogueText("CheckSheet.LineUnreadable", {ReadingEndedText("%1", folder_, ended),
                                                                          std::to_string(ended.line)})});
        // Loft by loft as the race's club numbers them; the lines of files have none and go last.
        std::stable_sort(flags_.begin(), flags_.end(), [](const CheckFlag& a, const CheckFlag& b) {
            return std::tuple(a.loft.empty(), a.club, a.fancier, a.kind) <
                   std::tuple(b.loft.empty(), b.club, b.fancier, b.kind);
        });
        return std::move(flags_);
    }

private:
    void Flag(CheckKind kind, const FancierEntry& fancier, std::string ring, std::string figures) {
        flags_.push_back({kind, fancier.number1, fancier.number2, LoftText(fancier), std::move(ring), std::move(figures)});
    }

    void CheckPigeon(const PigeonEntry& p, const FancierEntry& fancier, bool byHand) {
        const std::string ring = RingOf(p);
        if (p.exclusion != Exclusion::None) Flag(CheckKind::LeftOut, fancier, ring, ExclusionText(p, race_));
        auto registered = registers_.find({p.clubNumber, p.fancierNumber});
        if (registered == registers_.end())
            registered = registers_.emplace(std::pair(p.clubNumber, p.fancierNumber),
                                            RegisteredRings(folder_, p.clubNumber, p.fancierNumber)).first;
        const Register& known = registered->second;
        if (!known.rings.contains(RingKey(FormatRingText(p.ring, p.ringFormat))))
            Flag(CheckKind::NotInRegister, fancier, ring,
                 !known.unreadable.empty() ? known.unreadable
                                           : CatalogueText("CheckSheet.NotInRegister",
                                                           {PathText(PigeonFilePath(folder_, p.clubNumber, p.fancierNumber).filename())}));
        if (p.exclusion == Exclusion::NoArrival || p.exclusion == Exclusion::NoDate) return;
        const long long release = SecondsOfYear(race_.day, race_.month, race_.year, race_.releaseHour, race_.releaseMinute, 0);
        if (p.clockedSeconds < release)
            Flag(CheckKind::BeforeRelease, fancier, ring,
                 CatalogueText("CheckSheet.BeforeRelease", {MomentText(p.clockedSeconds, race_), MomentText(release, race_)}));
        const ClockTimes clock = ClockTimesOf(fancier.timer, race_);
        if (HasReadout(fancier.timer) && p.clockedSeconds > clock.clockRead)
            Flag(CheckKind::ReadBeforeArrival, fancier, ring,
                 CatalogueText("CheckSheet.ReadBeforeArrival",
                               {MomentText(clock.clockRead, race_), MomentText(p.clockedSeconds, race_)}));
        if (p.exclusion == Exclusion::None &&
            (p.speed < limits_.slowestSpeed || p.speed > limits_.fastestSpeed))
            Flag(CheckKind::SpeedOutsideBand, fancier, ring,
                 CatalogueText("CheckSheet.SpeedOutsideBand",
                               {SpeedText(p.speed, race_, separator_), BandLimitText(limits_.slowestSpeed, race_, separator_),
                                BandLimitText(limits_.fastestSpeed, race_, separator_), SpeedUnit(race_),
                                DistanceText(p.distanceKm, race_, separator_), p.flightTimeText}));
        if (byHand)
            Flag(CheckKind::HandEntered, fancier, ring,
                 CatalogueText("CheckSheet.HandEntered", {MomentText(p.clockedSeconds, race_)}));
    }

    // Listed once under every loft that clocked the ring, each naming all the clockings.
    void ClockedTwice(const RaceCalculation& calculation, const RaceInputRead& read,
                      const std::vector<const PigeonEntry*>& pigeons) {
        std::string clockings;
        for (const PigeonEntry* p : pigeons) {
            clockings += (clockings.empty() ? "" : "; ") + LoftText(calculation.fanciers[p->fancierIndex]) + " " +
                         (p->clockedSeconds ? MomentText(p->clockedSeconds, race_) : ArrivalText(*p)) + " " +
                         CatalogueText(ByHand(read, *p) ? "CheckSheet.ByHand" : "CheckSheet.ByClock");
        }
        const std::string figures = CatalogueText("CheckSheet.ClockedTwice", {std::to_string(pigeons.size()), clockings});
        std::set<std::size_t> lofts;
        for (const PigeonEntry* p : pigeons)
            if (lofts.insert(p->fancierIndex).second)
                Flag(CheckKind::ClockedTwice, calculation.fanciers[p->fancierIndex], RingOf(*p), figures);
    }

    static bool HasReadout(const TimerEntry& t) {
        return t.syncDay > 0 && t.syncMonth > 0 && t.readDay > 0 && t.readMonth > 0;
    }

    // The clock's lead over the master clock at read-out, over the time it ran, scaled to a day.
    void CheckClock(const FancierEntry& fancier) {
        if (!HasReadout(fancier.timer)) return;
        const ClockTimes clock = ClockTimesOf(fancier.timer, race_);
        const long long ran = clock.masterRead - clock.set;
        if (ran <= 0) return;
        const long long off = clock.clockRead - clock.masterRead;
        const double perDay = static_cast<double>(off) * 86400.0 / static_cast<double>(ran);
        if (std::abs(perDay) <= limits_.clockDeviation) return;
        Flag(CheckKind::ClockDeviation, fancier, {},
             CatalogueText("CheckSheet.ClockDeviation",
                           {(perDay > 0 ? "+" : "-") + FormatDecimal(std::abs(perDay), 1, 1, separator_),
                            (off > 0 ? "+" : "") + std::to_string(off), MomentText(clock.set, race_),
                            MomentText(clock.masterRead, race_), std::to_string(limits_.clockDeviation)}));
    }

    const Path& folder_;
    CheckLimits limits_;
    const Race& race_;
    char separator_;
    std::map<std::pair<int, int>, Register> registers_;
    std::vector<CheckFlag> flags_;
};

std::vector<std::string> Cells(const CheckFlag& flag) {
    return {flag.loft, flag.ring, CheckKindText(flag.kind), flag.figures};
}

} // namespace

CheckSheet CheckSheetOf(const Path& programFolder, const Settings& settings, const Race& race,
                        const DistanceTable& distances, char separator) {
    CheckSheet sheet;
    if (!settings.damage.empty()) return {settings.damage, {}};
    if (const std::string wrong = RaceNotCalculable(race); !wrong.empty()) return {wrong, {}};
    const Path distanceFile = DistanceFilePath(programFolder, race.clubNumber);
    if (const FileContent table = ReadWholeFile(distanceFile); table.status == ReadStatus::Unreadable)
        return {CannotReadText(distanceFile, table.problem), {}};
    RaceCalculation calculation;
    const RaceInputRead read = ReadRaceInputFiles(calculation, programFolder, settings, race);
    if (read.unreadable) return {CannotReadText(*read.unreadable, read.problem), {}};
    EvaluatePigeons(calculation, race, distances);
    sheet.flags = Checker(programFolder, settings, race, separator).Flags(calculation, read);
    return sheet;
}

std::string CheckKindText(CheckKind kind) {
    static const char* const keys[] = {"CheckSheet.Kind1", "CheckSheet.Kind2", "CheckSheet.Kind3",
                                       "CheckSheet.Kind4", "CheckSheet.Kind5", "CheckSheet.Kind6",
                                       "CheckSheet.Kind7", "CheckSheet.Kind8", "CheckSheet.Kind9"};
    return CatalogueText(keys[static_cast<int>(kind)]);
}

std::vector<std::string> CheckSheetHeads() {
    return {CatalogueText("CheckSheet.HeadLoft"), CatalogueText("CheckSheet.HeadRing"),
            CatalogueText("CheckSheet.HeadCheck"), CatalogueText("CheckSheet.HeadFigures")};
}

std::vector<std::string> CheckSheetLines(const CheckSheet& sheet) {
    if (!sheet.refusal.empty()) return {sheet.refusal};
    if (sheet.flags.empty()) return {CatalogueText("CheckSheet.Nothing")};
    std::vector<std::vector<std::string>> rows{CheckSheetHeads()};
    for (const CheckFlag& flag : sheet.flags) rows.push_back(Cells(flag));
    std::vector<std::size_t> widths(4, 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    std::vector<std::string> lines;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c + 1 < row.size(); ++c) line += PadRight(row[c], widths[c]) + "  ";
        lines.push_back(TrimRightBlanks(line + row.back()));
    }
    return lines;
}

std::string CheckSheetCsv(const CheckSheet& sheet) {
    std::string csv = CsvRecord(CheckSheetHeads());
    for (const CheckFlag& flag : sheet.flags) csv += CsvRecord(Cells(flag));
    return kCsvByteOrderMark + Cp1252ToUtf8(csv);
}

std::string CheckSheetHtml(const Race& race, const CheckSheet& sheet, const PrintTexts& texts,
                           const std::string& dateText) {
    const std::string title = CatalogueText("CheckSheet.Title");
    std::string html = HtmlPageStart(title + ": " + TrimRightBlanks(race.name));
    html += "<h1>" + HtmlEscaped(title) + "</h1>\n" + HtmlHeadTable(ResultHeadLines(race, texts, dateText));
    if (sheet.flags.empty()) {
        html += "<p>" + HtmlEscaped(CatalogueText("CheckSheet.Nothing")) + "</p>\n";
    } else {
        std::vector<std::vector<std::string>> rows;
        for (const CheckFlag& flag : sheet.flags) rows.push_back(Cells(flag));
        html += HtmlTable(CheckSheetHeads(), rows, {});
    }
    return Cp1252ToUtf8(html + "</body>\n</html>\n");
}

std::vector<PrintPage> CheckSheetPages(const Race& race, const CheckSheet& sheet, const PrintTexts& texts,
                                       const std::string& dateText) {
    // Loft, ring, check and figures; the figures take the rest of the line.
    constexpr int kColumnX[] = {kPrintLeft, 1500, 2450, 3250};
    constexpr int kRowSize = 7;
    const std::string title = CatalogueText("CheckSheet.Title");
    const std::vector<HeadLine> headLines = ResultHeadLines(race, texts, dateText);
    const std::size_t pageCount = PageCount(sheet.flags.size());
    std::vector<PrintPage> pages;
    for (std::size_t number = 1; number <= pageCount; ++number) {
        PrintPage page{number, {}};
        auto& t = page.texts;
        const int headY = AddPageHead(t, race, texts, title, headLines, number, pageCount);
        const std::vector<std::string> heads = CheckSheetHeads();
        for (std::size_t c = 0; c < heads.size(); ++c) t.push_back({kColumnX[c], headY, heads[c], true, PrintAlign::Start, 9});
        if (sheet.flags.empty())
            t.push_back({kPrintLeft, kPrintFirstRowY, CatalogueText("CheckSheet.Nothing"), false, PrintAlign::Start, 10});
        const std::size_t from = (number - 1) * kRowsPerPage;
        for (std::size_t row = from; row < std::min(from + kRowsPerPage, sheet.flags.size()); ++row) {
            const std::vector<std::string> cells = Cells(sheet.flags[row]);
            const int y = kPrintFirstRowY + static_cast<int>(row - from) * kPrintRowStep;
            for (std::size_t c = 0; c < cells.size(); ++c)
                t.push_back({kColumnX[c], y, cells[c], false, PrintAlign::Start, kRowSize});
        }
        t.push_back({kPrintLeft, kPrintFooterY, TrimRightBlanks(race.footerComment), false, PrintAlign::Start, 10});
        pages.push_back(std::move(page));
    }
    return pages;
}

SaveResult ExportCheckSheet(const Path& programFolder, const Race& race, const CheckSheet& sheet,
                            const PrintTexts& texts, const std::string& dateText,
                            const std::vector<ExportTarget>& targets) {
    if (!sheet.refusal.empty()) return SaveFailed(sheet.refusal);
    std::vector<FileToSave> files;
    for (const ExportTarget& target : targets)
        files.push_back({target.file, target.format == ExportFormat::Csv ? CheckSheetCsv(sheet)
                                                                         : CheckSheetHtml(race, sheet, texts, dateText)});
    return SaveFilesTogether(programFolder, files);
}

} // namespace plumet
