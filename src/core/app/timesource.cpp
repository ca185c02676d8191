#include "core/app/timesource.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace plumet {

namespace {

std::chrono::sys_days DaysOf(const DateTime& at) {
    return std::chrono::sys_days(std::chrono::year(at.year) / std::chrono::month(static_cast<unsigned>(at.month)) /
                                 std::chrono::day(static_cast<unsigned>(at.day)));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

} // namespace

DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second) {
    DateTime at{year, month, day, hour, minute, second, 0, 0};
    at.weekday = static_cast<int>(std::chrono::weekday(DaysOf(at)).c_encoding());
    return at;
}

bool IsValidDateTime(const DateTime& at) {
    if (at.month < 1 || at.month > 12 || at.day < 1 || at.day > 31) return false;
    const auto date = std::chrono::year(at.year) / std::chrono::month(static_cast<unsigned>(at.month)) /
                      std::chrono::day(static_cast<unsigned>(at.day));
    return date.ok() && at.hour >= 0 && at.hour < 24 && at.minute >= 0 && at.minute < 60 && at.second >= 0 &&
           at.second < 60;
}

std::int64_t CivilSeconds(const DateTime& at) {
    const std::int64_t days = DaysOf(at).time_since_epoch().count();
    return days * 86400 + at.hour * 3600 + at.minute * 60 + at.second;
}

DateTime FromCivilSeconds(std::int64_t seconds, int utcOffsetMinutes) {
    const std::int64_t days = FloorDiv(seconds, 86400);
    const std::int64_t rest = seconds - days * 86400;
    const std::chrono::sys_days date{std::chrono::days(days)};
    const std::chrono::year_month_day ymd(date);
    DateTime at{static_cast<int>(ymd.year()),
                static_cast<int>(static_cast<unsigned>(ymd.month())),
                static_cast<int>(static_cast<unsigned>(ymd.day())),
                static_cast<int>(rest / 3600),
                static_cast<int>(rest / 60 % 60),
                static_cast<int>(rest % 60),
                static_cast<int>(std::chrono::weekday(date).c_encoding()),
                utcOffsetMinutes};
    return at;
}

int LocalUtcOffsetMinutes(const DateTime& local) {
    std::tm tm{};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    tm.tm_isdst = -1;
    const std::time_t instant = std::mktime(&tm);
    if (instant == static_cast<std::time_t>(-1)) return 0;
    // mktime has normalised the fields to the wall-clock time of that instant.
    const DateTime normalised = MakeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                                             std::min(tm.tm_sec, 59));
    return static_cast<int>((CivilSeconds(normalised) - static_cast<std::int64_t>(instant)) / 60);
}

UtcOffsetAt FixedUtcOffset(int minutes) {
    return [minutes](const DateTime&) { return minutes; };
}

DateTime SystemTimeSource::Now() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    std::tm utc{};
#ifdef _WIN32
    localtime_s(&local, &now);
    gmtime_s(&utc, &now);
#else
    localtime_r(&now, &local);
    gmtime_r(&now, &utc);
#endif
    DateTime at = MakeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                               std::min(local.tm_sec, 59));
    const DateTime asUtc =
        MakeDateTime(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, std::min(utc.tm_sec, 59));
    at.utcOffsetMinutes = static_cast<int>((CivilSeconds(at) - CivilSeconds(asUtc)) / 60);
    return at;
}

DateTime FrozenTimeSource::Now() const {
    const std::lock_guard lock(mutex_);
    return at_;
}

void FrozenTimeSource::Set(DateTime at) {
    const std::lock_guard lock(mutex_);
    at_ = at;
}

void FrozenTimeSource::Advance(std::int64_t seconds) {
    const std::lock_guard lock(mutex_);
    at_ = FromCivilSeconds(CivilSeconds(at_) + seconds, at_.utcOffsetMinutes);
}

} // namespace plumet
