#include "race/weeks.h"

#include <chrono>

namespace plumet {

int WeekOfYear(int year, int month, int day) {
    using namespace std::chrono;
    const sys_days date{std::chrono::year(year) / std::chrono::month(static_cast<unsigned>(month)) /
                        std::chrono::day(static_cast<unsigned>(day))};
    const sys_days newYear{std::chrono::year(year) / January / 1};
    const int dayOfYear = static_cast<int>((date - newYear).count()); // 0 for 1 January
    const int newYearWeekday = static_cast<int>(weekday(newYear).c_encoding()); // 0 = Sunday
    return (dayOfYear + newYearWeekday) / 7 + 1;
}

} // namespace plumet
