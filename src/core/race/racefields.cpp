#include "core/race/racefields.h"

#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"
#include "core/app/weeks.h"

namespace plumet {
namespace {

bool InRange(std::string_view text, long long low, long long high) {
    const std::string trimmed = TrimBlanks(text);
    if (!IsAllDigits(trimmed)) return false;
    const auto value = ParseInteger(trimmed);
    return value && *value >= low && *value <= high;
}

} // namespace

std::optional<char> RaceNameKey(char32_t key) {
    if (key == kBackspaceKey || key == U' ' || key == U'_' || (key >= U'0' && key <= U'9') ||
        (key >= U'A' && key <= U'Z') || (key >= U'a' && key <= U'z'))
        return static_cast<char>(key);
    return std::nullopt;
}

bool IsHourText(std::string_view text) { return InRange(text, 0, 23); }
bool IsMinuteText(std::string_view text) { return InRange(text, 0, 59); }
bool IsRaceWeekText(std::string_view text, int year, int month) {
    return InRange(text, 1, LastRaceWeekOn(year, month));
}
bool IsDayText(std::string_view text) { return InRange(text, 0, 31); }
bool IsMonthText(std::string_view text) { return InRange(text, 0, 12); }

bool ClosedPeriodApplies(std::string_view nightsText) { return ParseInteger(nightsText).value_or(0) >= 1; }

} // namespace plumet
