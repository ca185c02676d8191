#include "core/clock/readoutfile.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "core/app/catalogue.h"
#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"
#include "core/app/weeks.h"
#include "core/clock/readoutcolumns.h"
#include "core/registers/fanciers.h"

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

// A new line holding only its kind.
std::string LineOf(char kind, Column kindColumn) {
    std::string line;
    SetField(line, kindColumn, std::string_view(&kind, 1));
    return line;
}

void SetNumber(std::string& line, Column column, long long value) {
    SetField(line, column, ZeroPadded(value, column.width()));
}

} // namespace

ReadoutFields ReadoutFieldsFor(const DateTime& today) {
    return ReadoutFieldsOnLeave(ReadoutFields{"00", "00", "00", "00", "00"}, today);
}

std::string ReadoutPointOnLeave(std::string_view text) { return ZeroFilledOnLeave(text, kFieldWidth); }

std::string ReadoutWeekOnLeave(std::string_view text, const DateTime& today, int readoutYear, int readoutMonth) {
    const std::string padded = ZeroFilledOnLeave(text, kFieldWidth);
    long long week = FieldValue(padded);
    if (week == 0) week = WeekNumber(today);
    return ZeroPadded(std::min<long long>(week, LastRaceWeekOn(readoutYear, readoutMonth)), kFieldWidth);
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
    const std::string month = ReadoutMonthOnLeave(fields.month, today);
    return {ReadoutPointOnLeave(fields.point),
            ReadoutWeekOnLeave(fields.week, today, ReadoutYear(year), static_cast<int>(FieldValue(month))),
            ReadoutDayOnLeave(fields.day, today), month, year};
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

int ClockReadoutDayOffset(long long masterSecondsOfDay, long long clockSecondsOfDay) {
    constexpr long long kDay = 86400;
    int best = 0;
    for (const int offset : {-1, 1}) {
        const auto distance = [&](int d) { return std::llabs(clockSecondsOfDay + d * kDay - masterSecondsOfDay); };
        if (distance(offset) < distance(best)) best = offset;
    }
    return best;
}

std::string ReadoutFileName(const Settings& settings, std::string_view week, std::string_view point) {
    return "W" + settings.RegionNumber() + settings.FederationNumber() + std::string(week) + ".d" + std::string(point);
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
        entries.push_back(ZeroPadded(static_cast<long long>(entries.size() + 1), 3) + ":    " +
                          Field(line, ReadoutFancierColumn::Club) + " " + Field(line, ReadoutFancierColumn::Fancier) +
                          " " + Field(line, ReadoutFancierColumn::Name));
    }
    return entries;
}

bool HoldsLoft(const std::vector<std::string>& lines, int club, int fancier) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return !line.empty() && line.front() == kLoftLineKind &&
               ParseInteger(Field(line, ReadoutFancierColumn::Club)) == club &&
               ParseInteger(Field(line, ReadoutFancierColumn::Fancier)) == fancier;
    });
}

std::string ReadoutDateLine(const ReadoutFields& fields) {
    std::string line = LineOf(kDateLineKind, ReadoutDateColumn::Kind);
    SetField(line, ReadoutDateColumn::Day, fields.day);
    SetField(line, ReadoutDateColumn::Month, fields.month);
    SetField(line, ReadoutDateColumn::Year, fields.year);
    return line;
}

std::string ReadoutLoftLine(int club, int fancier, std::size_t arrivalCount, std::string_view fancierRecord) {
    namespace column = ReadoutFancierColumn;
    std::string line = LineOf(kLoftLineKind, column::Kind);
    SetNumber(line, column::Club, club);
    SetNumber(line, column::Fancier, fancier);
    SetNumber(line, column::ArrivalCount, static_cast<long long>(arrivalCount % 1000));
    SetField(line, column::Name, FancierNameOf(fancierRecord));
    SetField(line, column::Latitude, LoftLatitudeOf(fancierRecord));
    SetField(line, column::Longitude, LoftLongitudeOf(fancierRecord));
    return line;
}

std::string ReadoutTimerLine(int club, int fancier, const TimerBlock& timer) {
    namespace column = ReadoutTimerColumn;
    std::string line = LineOf(kTimerLineKind, column::Kind);
    SetNumber(line, column::Club, club);
    SetNumber(line, column::Fancier, fancier);
    SetField(line, column::Flag, "1");
    SetField(line, column::BasketingDay, TwoDigits(timer[0] & kDayBits));
    SetField(line, column::ReadoutDay, TwoDigits(timer[5] & kDayBits));
    // Every other field is one byte of the block, modulo 100.
    const struct {
        Column field;
        std::size_t byte;
    } bytes[] = {{column::BasketingMonth, 1}, {column::BasketingHour, 2}, {column::BasketingMinute, 3},
                 {column::BasketingSecond, 4}, {column::ReadoutMonth, 6},  {column::ReadoutHour, 7},
                 {column::ReadoutMinute, 8},   {column::ReadoutSecond, 9}, {column::ClockHour, 12},
                 {column::ClockMinute, 13},    {column::ClockSecond, 14}};
    for (const auto& [field, byte] : bytes) SetField(line, field, TwoDigits(timer[byte]));
    SetField(line, column::ClockFlag, (timer[10] & kTimerFlag) ? "1" : "0");
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
    namespace column = ReadoutPigeonColumn;
    RingRecord ring{};
    std::copy_n(arrival.begin(), ring.size(), ring.begin());
    const PigeonsConvert::DecodedRing decoded = convert.Decode(ring);
    const int day = arrival[17] & kDayBits;
    const bool valid = day != 0 && (arrival[17] & kInvalidArrivalFlag) == 0;

    std::string line = LineOf(kArrivalLineKind, column::Kind);
    SetNumber(line, column::Club, club);
    SetNumber(line, column::Fancier, fancier);
    SetField(line, column::Ring, decoded.ring);
    SetField(line, column::ReleasePoint, TwoDigits(arrival[16]));
    SetField(line, column::Valid, valid ? "1" : "0");
    SetField(line, column::ArrivalDay, TwoDigits(day));
    SetField(line, column::ArrivalMonth, ArrivalMonth(day, timer[5] & kDayBits, timer[6]));
    SetField(line, column::ArrivalHour, TwoDigits(arrival[18]));
    SetField(line, column::ArrivalMinute, TwoDigits(arrival[19]));
    SetField(line, column::ArrivalSecond, TwoDigits(arrival[20]));
    std::string flags;
    for (int bit = 7; bit >= 0; --bit) flags += ((arrival[21] >> bit) & 1) ? '1' : '0';
    SetField(line, column::Flags, flags);
    std::string digits;
    for (std::size_t i = 22; i <= 27; ++i) {
        digits += HalfByteDigit(static_cast<std::uint8_t>(arrival[i] >> 4));
        digits += HalfByteDigit(arrival[i]);
    }
    SetField(line, column::PackedDigits, digits);
    SetField(line, column::Reserved, std::string(column::Reserved.width(), '0'));
    SetField(line, column::Colour, decoded.colour);
    SetField(line, column::RingFormat, decoded.format);
    return line;
}

} // namespace plumet
