#include "core/app/weeks.h"

#include <chrono>

#include "core/app/fixedwidth.h"

namespace plumet {

int WeekNumber(int year, int month, int day) {
    using namespace std::chrono;
    const sys_days date{std::chrono::year(year) / std::chrono::month(static_cast<unsigned>(month)) /
                        std::chrono::day(static_cast<unsigned>(day))};
    const sys_days firstOfYear{std::chrono::year(year) / January / 1};
    const int dayOfYear = static_cast<int>((date - firstOfYear).count()); // 0-based
    const int firstWeekday = static_cast<int>(weekday(firstOfYear).c_encoding()); // 0 = Sunday
    return (dayOfYear + firstWeekday) / 7 + 1;
}

int LastWeekOfYear(int year) { return WeekNumber(year, 12, 31); }

int LastRaceWeekOn(int year, int month) { return LastWeekOfYear(month == 1 ? year - 1 : year); }

int WeekNumber(const DateTime& date) { return WeekNumber(date.year, date.month, date.day); }

std::string WeekText(const DateTime& date) { return ZeroPadded(WeekNumber(date), 2); }

} // namespace plumet
