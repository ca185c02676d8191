#pragma once
// The one week-number rule of the program: weeks start on Sunday and week 1 is the week that
// holds 1 January. Race weeks, read-out file names and the race editor all count this way.
namespace plumet {

// 1 to 54: a leap year that starts on a Saturday ends on a Sunday of week 54.
int WeekOfYear(int year, int month, int day);

inline constexpr int kLastPossibleWeek = 54;

} // namespace plumet
