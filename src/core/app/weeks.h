#pragma once
// The one week numbering of the program: weeks start on Sunday and week 1 is the week that
// holds 1 January, so the last days of December fall into week 53 (or 54 in a leap year
// that begins on a Saturday). Read-out files, the XML export and race definitions all name
// their week by this rule.
#include <string>

#include "core/app/timesource.h"

namespace plumet {

inline constexpr int kLastPossibleWeek = 54;

// 1 to 54. The date must be a real one.
int WeekNumber(int year, int month, int day);
int WeekNumber(const DateTime& date);
// The week of 31 December: 53, or 54 in a leap year that begins on a Saturday.
int LastWeekOfYear(int year);
// The highest week a race can carry on a day of `month` of `year`: the last week of that year,
// or in January of the year before, whose last race is read out in the new year.
int LastRaceWeekOn(int year, int month);
// The week of `date` as two digits ("07").
std::string WeekText(const DateTime& date);

} // namespace plumet
