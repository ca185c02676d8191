#include "core/records/listposition.h"

namespace plumet {

int RestoredListLine(const ListPosition& remembered, int lineCount, bool showsEmptyText) {
    if (showsEmptyText || lineCount < 1) return -1;
    if (remembered.selectedLine >= 0 && remembered.selectedLine < lineCount) return remembered.selectedLine;
    if (lineCount < remembered.lineCount) return lineCount - 1;
    return -1;
}

} // namespace plumet
