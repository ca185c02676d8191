#include "core/race/decimals.h"

#include <charconv>
#include <cmath>

#include "core/app/fixedwidth.h"

namespace plumet {

char FileDecimalSeparator(char32_t localeSeparator) { return localeSeparator == U',' ? ',' : '.'; }

std::string FormatDecimal(double value, int integerDigits, int decimals, char separator) {
    if (!std::isfinite(value)) value = 0.0;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed,
                                      decimals);
    std::string text(buffer, result.ec == std::errc() ? result.ptr : buffer);
    const auto point = text.find('.');
    std::string whole = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    whole = PadLeft(whole, static_cast<std::size_t>(integerDigits), '0');
    const bool showsZero = text.find_first_of("123456789") == std::string::npos;
    std::string out = (value < 0 && !showsZero ? "-" : "") + whole;
    if (decimals > 0) out += separator + fraction;
    return out;
}

std::optional<double> ParseDecimal(std::string_view text) {
    std::string number = TrimBlanks(text);
    std::size_t start = 0;
    if (!number.empty() && (number[0] == '+' || number[0] == '-')) start = 1;
    if (number.size() == start) return std::nullopt;
    int separators = 0;
    bool digits = false;
    for (std::size_t i = start; i < number.size(); ++i) {
        char& c = number[i];
        if (c == ',' || c == '.') {
            c = '.';
            ++separators;
        } else if (c >= '0' && c <= '9') {
            digits = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits || separators > 1) return std::nullopt;
    if (number[0] == '+') number.erase(0, 1);
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size()) return std::nullopt;
    return value;
}

} // namespace plumet
