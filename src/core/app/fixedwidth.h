#pragma once
// Helpers for the fixed-width text records. All strings are Windows-1252 byte strings:
// one byte is one character, so widths are byte counts.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace plumet {

// Characters `from` (1-based) to `to` inclusive, clipped to the text; "" when out of range.
std::string Mid(std::string_view text, std::size_t from, std::size_t to);

// One field of a fixed-width record: first and last column, 1-based, inclusive. Each record kind
// names its fields once, in its own columns header, so a column moves in one place.
struct Column {
    std::size_t first;
    std::size_t last;
    constexpr std::size_t width() const { return last - first + 1; }
};

// The field's text, clipped to the record; "" when the record is shorter.
std::string Field(std::string_view record, Column column);
// Puts `value` into the field, padded with blanks or cut to its width; a shorter record is
// first filled with blanks up to the field.
void SetField(std::string& record, Column column, std::string_view value);

std::string TrimBlanks(std::string_view text);
// Names of files, races and lists compare without regard to ASCII letter case.
std::string AsciiLower(std::string_view text);
// Equal texts, ASCII letter case aside.
bool EqualAnyCase(std::string_view a, std::string_view b);
// Equal names, blanks around and letter case aside.
bool SameNameAnyCase(std::string_view a, std::string_view b);
std::string TrimRightBlanks(std::string_view text);

// Pads on the right with blanks to `width`, cutting a longer text.
std::string PadRight(std::string_view text, std::size_t width);
// Pads on the left with `fill` to `width`; a longer text is kept whole.
std::string PadLeft(std::string_view text, std::size_t width, char fill = '0');

bool IsAllDigits(std::string_view text);

// The digits of a dotted date, "DD.MM.YY" or "DD.MM.YYYY", as written (views into `text`);
// nothing when the text is not one. Whether it is a calendar day is the caller's to check.
struct DottedDate {
    std::string_view day;
    std::string_view month;
    std::string_view year;
};
std::optional<DottedDate> SplitDottedDate(std::string_view text);

// The text after its first character (a sign, a mark or a control byte); "" when it has none.
std::string_view AfterFirstChar(std::string_view text);
// Whole-number value of a digit text with optional surrounding blanks; nothing when it is not one.
std::optional<long long> ParseInteger(std::string_view text);

// "0042" style: `value` as decimal zero-padded to `width` digits.
std::string ZeroPadded(long long value, std::size_t width);

} // namespace plumet
