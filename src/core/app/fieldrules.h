#pragma once
// What the entry fields of the register dialogs do with keys, on entering and on leaving.
// The dialogs only wire these to their widgets, so every field behaves the same.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace plumet {

inline constexpr char32_t kBackspaceKey = U'\b';
inline constexpr char kBackspaceChar = '\b'; // the same, as filters on single bytes answer it

// A key filter answers the character to put into the field (Backspace as '\b'), or
// nothing when the key is to be discarded.
using KeyFilter = std::optional<char> (*)(char32_t key);

// Digits and Backspace.
std::optional<char> DigitKey(char32_t key);

// Pasted or programmatically set text run through a key filter, character by character;
// Backspace has no meaning there and is dropped.
std::string FilteredText(std::u32string_view typed, KeyFilter filter);

// Entering a text field: its blanks at both ends go.
std::string TextOnEnter(std::string_view text);

// Leaving a number field: trimmed and padded on the left with "0" to `width`. An empty
// field stays empty, so that a missing number is refused rather than read as zero.
std::string NumberOnLeave(std::string_view text, std::size_t width);

// Leaving a number field that always holds a number (week, release point): trimmed and
// padded on the left with "0" to `width`; an empty field becomes all zeros.
std::string ZeroFilledOnLeave(std::string_view text, std::size_t width);

// Leaving a name or note field: trimmed and padded on the right with blanks to `width`.
std::string TextOnLeave(std::string_view text, std::size_t width);

// Leaving a field that is padded only when it holds something (release point name and place).
std::string PaddedIfNotEmpty(std::string_view text, std::size_t width);

} // namespace plumet
