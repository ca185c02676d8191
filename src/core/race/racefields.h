#pragma once
// Field rules of the race dialogs: the race name, the time and date boxes and the week.
// Boxes that hold a time or date part take digits, become "00" when left blank and must then
// hold a value of their range, or the focus stays in them.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/fieldrules.h"

namespace plumet {

// The race name becomes part of file names: letters A-Z and a-z, digits, "_", blank, Backspace.
std::optional<char> RaceNameKey(char32_t key);

bool IsHourText(std::string_view text);     // 0 to 23
bool IsMinuteText(std::string_view text);   // 0 to 59, for seconds too
bool IsRaceWeekText(std::string_view text, int year, int month); // 1 to LastRaceWeekOn(year, month)
// The manual clock times: a day or month of 0 stands for "not entered".
bool IsDayText(std::string_view text);      // 0 to 31
bool IsMonthText(std::string_view text);    // 0 to 12

// The closed period matters only for a race over one night or more.
bool ClosedPeriodApplies(std::string_view nightsText);

} // namespace plumet
