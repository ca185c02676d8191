#include "core/race/readoutfile.h"

#include <algorithm>
#include <optional>

#include "core/app/catalogue.h"
#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"
#include "core/app/weeks.h"

namespace plumet {

namespace {

constexpr std::size_t kFieldWidth = 2;
constexpr std::uint8_t kDayBits = 31;
constexpr std::uint8_t kInvalidArrivalFlag = 128;
constexpr std::uint8_t kTimerFlag = 64;

// Every byte field of the file has two columns; a larger value must not shift the rest.
std::string TwoDigits(int value) { return ZeroPadded(value % 100, kFieldWidth); }

long long FieldValue(std::string_view padded) { return ParseInteger(padded).value_or(0); }

// Replaces a zero (or, with `limit`, a value of `limit` or more) by today's.
std::string DateFieldOnLeave(std::string_view text, int today, long long limit) {
    const std::string padded = ZeroFilledOnLeave(text, kFieldWidth);
    const long long value = FieldValue(padded);
    if (value == 0 || (limit > 0 && value >= limit)) return ZeroPadded(today, kFieldWidth);
    return padded;
}

// A half-byte as one digit; 10 to 15 as the hex letters, so the columns stay where they are.
char HalfByteDigit(std::uint8_t value) { return "0123456789ABCDEF"[value & 15]; }

} // namespace

ReadoutFields ReadoutFieldsFor(const DateTime& today) {
    return ReadoutFieldsOnLeave(ReadoutFields{"00", "00", "00", "00", "00"}, today);
}

std::string ReadoutPointOnLeave(std::string_view text) { return ZeroFilledOnLeave(text, kFieldWidth); }

std::string ReadoutWeekOnLeave(std::string_view text, const DateTime& today, int readoutYear) {
    const std::string padded = ZeroFilledOnLeave(text, kFieldWidth);
    long long week = FieldValue(padded);
    if (week == 0) week = WeekNumber(today);
    return ZeroPadded(std::min<long long>(week, LastWeekOfYear(readoutYear)), kFieldWidth);
}

std::string ReadoutDayOnLeave(std::string_view text, const DateTime& today) {
    return DateFieldOnLeave(text, today.day, 32);
}

std::string ReadoutMonthOnLeave(std::string_view text, const DateTime& today) {
    return DateFieldOnLeave(text, today.month, 13);
}

std::string ReadoutYearOnLeave(std::string_view text, const DateTime& today) {
    return DateFieldOnLeave(text, today.year % 100, 0);
}

int ReadoutYear(std::string_view yearField) { return 2000 + static_cast<int>(FieldValue(yearField) % 100); }

ReadoutFields ReadoutFieldsOnLeave(const ReadoutFields& fields, const DateTime& today) {
    const std::string year = ReadoutYearOnLeave(fields.year, today);
    return {ReadoutPointOnLeave(fields.point), ReadoutWeekOnLeave(fields.week, today, ReadoutYear(year)),
            ReadoutDayOnLeave(fields.day, today), ReadoutMonthOnLeave(fields.month, today), year};
}

int ClockDateYear(int day, int month, int referenceDay, int referenceMonth, int referenceYear) {
    const auto daysOf = [](int y, int m, int d) -> std::optional<long long> {
        const DateTime at{y, m, d};
        if (!IsValidDateTime(at)) return std::nullopt;
        return CivilSeconds(at) / 86400;
    };
    const auto reference = daysOf(referenceYear, referenceMonth, referenceDay);
    if (!reference) return referenceYear;
    int best = referenceYear;
    long long bestDistance = -1;
    for (const int year : {referenceYear - 1, referenceYear, referenceYear + 1}) {
        // 29 February counts in the years that have it.
        const auto days = daysOf(year, month, day);
        if (!days) continue;
        const long long distance = *days > *reference ? *days - *reference : *reference - *days;
        if (bestDistance < 0 || distance < bestDistance) best = year, bestDistance = distance;
    }
    return best;
}

std::string ReadoutFileName(const Settings& settings, std::string_view week, std::string_view point) {
    return "W" + Mid(settings.region, 1, 3) + Mid(settings.federation, 2, 3) + std::string(week) + ".d" +
           std::string(point);
}

Path ReadoutFilePath(const Path& programFolder, const Settings& settings, std::string_view week,
                     std::string_view point) {
    return ResolvePath(programFolder, "race\\" + ReadoutFileName(settings, week, point));
}

ReadoutFile LoadReadoutFile(const Path& file) {
    FileContent content = ReadWholeFile(file);
    if (content.status != ReadStatus::Ok) return {content.status, {}, content.problem};
    return {ReadStatus::Ok, SplitLines(content.bytes), {}};
}

SaveResult SaveReadoutFile(const Path& file, const std::vector<std::string>& lines) { return SaveLines(file, lines); }

SaveResult StoreReadoutCopy(const std::vector<std::string>& lines, const Path& folder, std::string_view fileName) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return SaveFailed(CatalogueText("Files.NoFolder", {PathText(folder)}));
    return SaveLines(ResolvePath(folder, fileName), lines);
}

std::vector<std::string> ReadoutListLines(const std::vector<std::string>& lines) {
    std::vector<std::string> entries;
    for (const std::string& line : lines) {
        if (line.empty() || line.front() != kLoftLineKind) continue;
        entries.push_back(ZeroPadded(static_cast<long long>(entries.size() + 1), 3) + ":    " + Mid(line, 2, 4) + " " +
                          Mid(line, 5, 7) + " " + Mid(line, 11, 30));
    }
    return entries;
}

bool HoldsLoft(const std::vector<std::string>& lines, int club, int fancier) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return !line.empty() && line.front() == kLoftLineKind && ParseInteger(Mid(line, 2, 4)) == club &&
               ParseInteger(Mid(line, 5, 7)) == fancier;
    });
}

std::string ReadoutDateLine(const ReadoutFields& fields) {
    return kDateLineKind + fields.day + fields.month + fields.year;
}

std::string ReadoutLoftLine(int club, int fancier, std::size_t arrivalCount, std::string_view fancierRecord) {
    return kLoftLineKind + ZeroPadded(club, 3) + ZeroPadded(fancier, 3) +
           ZeroPadded(static_cast<long long>(arrivalCount % 1000), 3) + PadRight(Mid(fancierRecord, 4, 23), 20) +
           PadRight(Mid(fancierRecord, 24, 32), 9) + PadRight(Mid(fancierRecord, 33, 42), 10);
}

std::string ReadoutTimerLine(int club, int fancier, const TimerBlock& timer) {
    std::string line = kTimerLineKind + ZeroPadded(club, 3) + ZeroPadded(fancier, 3) + "1";
    line += TwoDigits(timer[0] & kDayBits);
    for (std::size_t i = 1; i <= 4; ++i) line += TwoDigits(timer[i]);
    line += TwoDigits(timer[5] & kDayBits);
    for (std::size_t i = 6; i <= 9; ++i) line += TwoDigits(timer[i]);
    for (std::size_t i = 12; i <= 14; ++i) line += TwoDigits(timer[i]);
    line += (timer[10] & kTimerFlag) ? '1' : '0';
    return line;
}

bool ArrivalKept(const ArrivalRecord& arrival, std::string_view point) {
    return point == "00" || ZeroPadded(arrival[16], kFieldWidth) == point;
}

std::string ArrivalMonth(int arrivalDay, int readoutDay, int readoutMonth) {
    if (arrivalDay == 0) return "00";
    int month = arrivalDay > readoutDay ? readoutMonth - 1 : readoutMonth;
    if (month < 1) month = 12;
    return TwoDigits(month);
}

std::string ReadoutArrivalLine(int club, int fancier, const ArrivalRecord& arrival, const TimerBlock& timer,
                               const PigeonsConvert& convert) {
    RingRecord ring{};
    std::copy_n(arrival.begin(), ring.size(), ring.begin());
    const PigeonsConvert::DecodedRing decoded = convert.Decode(ring);
    const int day = arrival[17] & kDayBits;
    const bool valid = day != 0 && (arrival[17] & kInvalidArrivalFlag) == 0;

    std::string line = kArrivalLineKind + ZeroPadded(club, 3) + ZeroPadded(fancier, 3) + decoded.ring;
    line += TwoDigits(arrival[16]);
    line += valid ? '1' : '0';
    line += TwoDigits(day);
    line += ArrivalMonth(day, timer[5] & kDayBits, timer[6]);
    for (std::size_t i = 18; i <= 20; ++i) line += TwoDigits(arrival[i]);
    for (int bit = 7; bit >= 0; --bit) line += ((arrival[21] >> bit) & 1) ? '1' : '0';
    for (std::size_t i = 22; i <= 27; ++i) {
        line += HalfByteDigit(static_cast<std::uint8_t>(arrival[i] >> 4));
        line += HalfByteDigit(arrival[i]);
    }
    line += "00000000";
    line += decoded.colour;
    line += decoded.format;
    return line;
}

} // namespace plumet
