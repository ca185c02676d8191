#pragma once
// Numbers and dates in the user's locale, as the race files and lists write them.
#include <string>

#include "core/race/races.h"
#include "core/race/season.h"

namespace plumet {

// The decimal separator of the user's locale, as the race files and lists write it.
char LocaleSeparator();
// The race date, or a date of a season, in the user's short date form.
std::string RaceShortDate(const Race& race);
std::string ShortDate(const SeasonDate& date);

} // namespace plumet
