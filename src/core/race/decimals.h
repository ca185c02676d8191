#pragma once
// Decimal numbers in the race files. A writer uses the separator of the user's locale; a
// reader takes "," and "." alike, so a file written on a machine of the other kind is still
// read as the same number rather than silently as another one.
#include <optional>
#include <string>
#include <string_view>

namespace plumet {

// The separator to write for a locale whose decimal symbol is `localeSeparator`: "," for a
// comma, "." for everything else (readers know only these two).
char FileDecimalSeparator(char32_t localeSeparator);

// `value` with `decimals` places, the integer part padded on the left with "0" to at least
// `integerDigits`: FormatDecimal(20.1168, 4, 4, ',') is "0020,1168".
std::string FormatDecimal(double value, int integerDigits, int decimals, char separator);

// Digits with at most one "," or "." between them, blanks around allowed, an optional sign.
std::optional<double> ParseDecimal(std::string_view text);

} // namespace plumet
