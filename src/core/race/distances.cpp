#include "core/race/distances.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/race/decimals.h"
#include "core/race/distancecolumns.h"
#include "core/race/racecalcfolder.h"

namespace plumet {
namespace {

constexpr std::size_t kRacePointSpan = kHighestDistanceRacePoint + 1;
constexpr std::size_t kEntries = (kHighestDistanceFancier + 1) * kRacePointSpan;

bool InTable(int fancier, int racePoint) {
    return fancier >= 0 && fancier <= kHighestDistanceFancier && racePoint >= 0 &&
           racePoint <= kHighestDistanceRacePoint;
}

// The distance figure: from its first column to the end of the line, however long.
std::string DistanceField(std::string_view line) {
    const Column column = DistanceColumn::Distance;
    return Field(line, {column.first, std::max(column.last, line.size())});
}

} // namespace

DistanceTable::DistanceTable() { Reset(); }

void DistanceTable::Reset() {
    distance_.assign(kEntries, 0.0);
    flag_.assign(kEntries, static_cast<unsigned char>(kEnteredInMiles));
    kmAsRead_.assign(kEntries, std::numeric_limits<double>::quiet_NaN());
}

std::size_t DistanceTable::Index(int fancier, int racePoint) {
    return static_cast<std::size_t>(fancier) * kRacePointSpan + static_cast<std::size_t>(racePoint);
}

double DistanceTable::Distance(int fancier, int racePoint) const {
    return InTable(fancier, racePoint) ? distance_[Index(fancier, racePoint)] : 0.0;
}

int DistanceTable::UnitFlag(int fancier, int racePoint) const {
    return InTable(fancier, racePoint) ? flag_[Index(fancier, racePoint)] : kEnteredInMiles;
}

bool DistanceTable::Set(int fancier, int racePoint, double distance, int unitFlag) {
    if (!InTable(fancier, racePoint)) return false;
    distance_[Index(fancier, racePoint)] = distance;
    const int flag = unitFlag == kEnteredInKm ? kEnteredInKm : kEnteredInMiles;
    flag_[Index(fancier, racePoint)] = static_cast<unsigned char>(flag);
    kmAsRead_[Index(fancier, racePoint)] = std::numeric_limits<double>::quiet_NaN();
    return true;
}

Path DistanceFilePath(const Path& programFolder, int clubNumber) {
    return RaceCalcPath(programFolder, "dist" + ZeroPadded(clubNumber, 3) + ".dat");
}

LoadOutcome LoadDistanceTable(DistanceTable& table, const Path& programFolder, int clubNumber) {
    table.Reset();
    const Path file = DistanceFilePath(programFolder, clubNumber);
    table.loadedFrom_ = file;
    const FileContent content = ReadWholeFile(file);
    if (content.status == ReadStatus::Missing) return table.outcome_ = LoadOutcome::Missing;
    table.outcome_ = LoadOutcome::Unreadable;
    if (content.status != ReadStatus::Ok) return table.outcome_;
    const std::vector<std::string> lines = SplitLines(content.bytes);
    if (lines.size() < 2) return table.outcome_;
    const auto fanciers = ParseInteger(lines[0]);
    const auto racePoints = ParseInteger(lines[1]);
    if (!fanciers || !racePoints || *fanciers < 0 || *racePoints < 0) return table.outcome_;
    // Counts beyond the file's lines (whose product may not even fit) read what is there and then
    // find the file ended early.
    const long long available = static_cast<long long>(lines.size()) - 2;
    const long long entries =
        *racePoints != 0 && *fanciers > available / *racePoints ? available + 1 : *fanciers * *racePoints;
    for (long long i = 0; i < entries; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) + 2;
        if (at >= lines.size()) return table.outcome_;
        const std::string& line = lines[at];
        const auto fancier = ParseInteger(Field(line, DistanceColumn::Fancier));
        const auto racePoint = ParseInteger(Field(line, DistanceColumn::ReleasePoint));
        const auto flag = ParseInteger(Field(line, DistanceColumn::UnitFlag));
        const auto value = ParseDecimal(DistanceField(line));
        if (!fancier || !racePoint || !flag || !value ||
            !InTable(static_cast<int>(*fancier), static_cast<int>(*racePoint)))
            return table.outcome_;
        const int unit = *flag != 0 ? kEnteredInMiles : kEnteredInKm;
        const int f = static_cast<int>(*fancier);
        const int r = static_cast<int>(*racePoint);
        table.Set(f, r, unit == kEnteredInMiles ? *value * kLoadKmToMiles : *value, unit);
        if (unit == kEnteredInMiles) table.kmAsRead_[DistanceTable::Index(f, r)] = *value;
    }
    return table.outcome_ = LoadOutcome::Loaded;
}

std::string DistanceLine(int fancier, int racePoint, int unitFlag, double km, char decimalSeparator) {
    // Joined rather than set into place: a figure of 10000 km or more runs on past its columns.
    namespace column = DistanceColumn;
    return ZeroPadded(fancier, column::Fancier.width()) + ZeroPadded(racePoint, column::ReleasePoint.width()) +
           std::string(column::Separator.width(), ' ') + (unitFlag == kEnteredInKm ? "0" : "1") +
           std::string(column::Gap.width(), ' ') + FormatDecimal(km, 4, 4, decimalSeparator);
}

SaveResult SaveDistanceTable(const DistanceTable& table, const Path& programFolder, int clubNumber,
                             const std::vector<int>& fanciers, const std::vector<int>& racePoints,
                             char decimalSeparator) {
    const Path file = DistanceFilePath(programFolder, clubNumber);
    if (table.outcome_ == LoadOutcome::Unreadable && IsFileLoadedFrom(file, table.loadedFrom_))
        return SaveFailed(CatalogueText("Files.NotSavedDamaged", {PathText(file)}));
    std::vector<std::string> lines;
    lines.reserve(fanciers.size() * racePoints.size() + 2);
    lines.push_back(FormatCountLine(static_cast<long long>(fanciers.size())));
    lines.push_back(FormatCountLine(static_cast<long long>(racePoints.size())));
    for (const int fancier : fanciers)
        for (const int racePoint : racePoints) {
            const int flag = table.UnitFlag(fancier, racePoint);
            const double stored = table.Distance(fancier, racePoint);
            double km = flag == kEnteredInKm ? stored : stored * kSaveMilesToKm;
            if (flag != kEnteredInKm && InTable(fancier, racePoint)) {
                const double asRead = table.kmAsRead_[DistanceTable::Index(fancier, racePoint)];
                if (!std::isnan(asRead)) km = asRead;
            }
            lines.push_back(DistanceLine(fancier, racePoint, flag, km, decimalSeparator));
        }
    return SaveRaceCalcLines(file, lines);
}

double KmToMiles(double km) { return km * (1.0 / 1.609); }
double MilesToKm(double miles) { return miles * 1.609; }
double MetresPerMinuteToYardsPerMinute(double metresPerMinute) { return metresPerMinute * (1760.0 / 1609.0); }

int PartBoxWidth(int unitFlag) { return unitFlag == kEnteredInKm ? 3 : 4; }

DistanceBoxes DistanceForBoxes(double distance, int unitFlag) {
    if (!std::isfinite(distance) || distance < 0.0) distance = 0.0;
    const long long perUnit = unitFlag == kEnteredInKm ? kMetresPerKm : kYardsPerMile;
    const double largestWhole = std::pow(10.0, kWholeBoxWidth) - 1.0;
    distance = std::min(distance, largestWhole + static_cast<double>(perUnit - 1) / static_cast<double>(perUnit));
    long long whole = static_cast<long long>(std::floor(distance));
    long long part = std::llround((distance - static_cast<double>(whole)) * static_cast<double>(perUnit));
    if (part >= perUnit) {
        ++whole;
        part -= perUnit;
    }
    return {std::to_string(whole), ZeroPadded(part, static_cast<std::size_t>(PartBoxWidth(unitFlag)))};
}

double DistanceFromBoxes(std::string_view whole, std::string_view part, int unitFlag) {
    const double wholeValue = static_cast<double>(ParseInteger(whole).value_or(0));
    const double partValue = static_cast<double>(ParseInteger(part).value_or(0));
    return wholeValue + partValue / (unitFlag == kEnteredInKm ? kMetresPerKm : kYardsPerMile);
}

} // namespace plumet
