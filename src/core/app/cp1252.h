#pragma once
// The one place where Windows-1252 bytes meet Unicode. Data files and the catalogue are
// Windows-1252; everything in core stays bytes, and the edges convert through here.
#include <optional>
#include <string>
#include <string_view>

namespace plumet {

// Every byte maps to a code point; the five bytes Windows-1252 leaves undefined
// (0x81 0x8D 0x8F 0x90 0x9D) pass through as the C1 controls of the same value.
std::string Cp1252ToUtf8(std::string_view bytes);

// Nothing when the text holds a character that Windows-1252 cannot hold (or is not UTF-8).
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// Whether one Unicode code point has a Windows-1252 byte.
bool IsCp1252Representable(char32_t codePoint);
// The Windows-1252 byte of a code point, or -1.
int Cp1252ByteOf(char32_t codePoint);

} // namespace plumet
