#include "core/app/fieldrules.h"

#include "core/app/fixedwidth.h"

namespace plumet {

std::optional<char> DigitKey(char32_t key) {
    if (key == kBackspaceKey || (key >= U'0' && key <= U'9')) return static_cast<char>(key);
    return std::nullopt;
}

std::string FilteredText(std::u32string_view typed, KeyFilter filter) {
    std::string out;
    for (const char32_t key : typed) {
        if (key == kBackspaceKey) continue;
        if (const auto accepted = filter(key)) out += *accepted;
    }
    return out;
}

std::string TextOnEnter(std::string_view text) { return TrimBlanks(text); }

std::string NumberOnLeave(std::string_view text, std::size_t width) {
    const std::string trimmed = TrimBlanks(text);
    if (trimmed.empty()) return trimmed;
    return PadLeft(trimmed, width, '0');
}

std::string ZeroFilledOnLeave(std::string_view text, std::size_t width) {
    return PadLeft(TrimBlanks(text), width, '0');
}

std::string TextOnLeave(std::string_view text, std::size_t width) { return PadRight(TrimBlanks(text), width); }

std::string PaddedIfNotEmpty(std::string_view text, std::size_t width) {
    if (text.empty()) return {};
    return PadRight(text, width);
}

} // namespace plumet
