#pragma once
// Printed pages and window lines as text, to compare with golden files.
#include <string>
#include <vector>

#include "core/race/resultlayout.h"

namespace plumet {

// One line per text: page, place, alignment, weight, size and the text.
inline std::string PagesText(const std::vector<PrintPage>& pages) {
    std::string text;
    for (const PrintPage& page : pages)
        for (const PrintText& t : page.texts)
            text += std::to_string(page.number) + " " + std::to_string(t.x) + " " + std::to_string(t.y) + " " +
                    std::to_string(static_cast<int>(t.align)) + (t.bold ? " bold " : " ") + std::to_string(t.pointSize) + " " +
                    t.text + "\n";
    return text;
}

// Lines joined with LF, for a golden file of window lines.
inline std::string LinesText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

} // namespace plumet
