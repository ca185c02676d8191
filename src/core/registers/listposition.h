#pragma once
// Keeps the main list's selected line across a change that rebuilds the list.

namespace plumet {

struct ListPosition {
    int selectedLine = -1; // 0-based, -1 for none
    int lineCount = 0;
};

// The line to select after the rebuild (0-based), or -1 for none. `showsEmptyText` is true
// when the rebuilt list holds only its empty-register text.
int RestoredListLine(const ListPosition& remembered, int lineCount, bool showsEmptyText);

} // namespace plumet
