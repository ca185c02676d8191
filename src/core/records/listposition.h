#pragma once
// The main list: its lines with what each stands for, and the selected line kept across a
// change that rebuilds the list.
#include <string>

namespace plumet {

// One line of the main list. The key and the name come from the record, so a selection never
// depends on how the line is laid out.
struct ListEntry {
    std::string line; // as shown
    std::string key;  // the number that selects the entry: club, fancier, list slot or release point
    std::string name; // club or fancier name, blank-padded; "" where the list has none
    bool operator==(const ListEntry&) const = default;
};

// Between the number and the name in a club's or fancier's line of the main list.
inline constexpr const char* kListSeparator = ":     ";

struct ListPosition {
    int selectedLine = -1; // 0-based, -1 for none
    int lineCount = 0;
};

// The line to select after the rebuild (0-based), or -1 for none. `showsEmptyText` is true
// when the rebuilt list holds only its empty-register text.
int RestoredListLine(const ListPosition& remembered, int lineCount, bool showsEmptyText);

} // namespace plumet
