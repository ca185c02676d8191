#include "core/app/fixedwidth.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace plumet {

std::string Mid(std::string_view text, std::size_t from, std::size_t to) {
    if (from == 0 || from > text.size() || to < from) return {};
    if (to > text.size()) to = text.size();
    return std::string(text.substr(from - 1, to - from + 1));
}

std::string Field(std::string_view record, Column column) { return Mid(record, column.first, column.last); }

void SetField(std::string& record, Column column, std::string_view value) {
    if (record.size() < column.last) record.resize(column.last, ' ');
    record.replace(column.first - 1, column.width(), PadRight(value, column.width()));
}

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool EqualAnyCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool SameNameAnyCase(std::string_view a, std::string_view b) { return EqualAnyCase(TrimBlanks(a), TrimBlanks(b)); }

std::string TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string TrimRightBlanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    if (last == std::string_view::npos) return {};
    return std::string(text.substr(0, last + 1));
}

std::string PadRight(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

std::string PadLeft(std::string_view text, std::size_t width, char fill) {
    if (text.size() >= width) return std::string(text);
    return std::string(width - text.size(), fill) + std::string(text);
}

bool IsAllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

std::optional<DottedDate> SplitDottedDate(std::string_view text) {
    if ((text.size() != 8 && text.size() != 10) || text[2] != '.' || text[5] != '.') return std::nullopt;
    const DottedDate date{text.substr(0, 2), text.substr(3, 2), text.substr(6)};
    if (!IsAllDigits(date.day) || !IsAllDigits(date.month) || !IsAllDigits(date.year)) return std::nullopt;
    return date;
}

std::string_view AfterFirstChar(std::string_view text) { return text.empty() ? text : text.substr(1); }

std::optional<long long> ParseInteger(std::string_view text) {
    const std::string trimmed = TrimBlanks(text);
    std::string_view digits = trimmed;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (!IsAllDigits(digits) || digits.size() > 18) return std::nullopt;
    long long value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return negative ? -value : value;
}

std::string ZeroPadded(long long value, std::size_t width) {
    if (value < 0) return "-" + PadLeft(std::to_string(-value), width > 0 ? width - 1 : 0);
    return PadLeft(std::to_string(value), width);
}

} // namespace plumet
