#pragma once
// A drop-down list of clubs, release points or fanciers, each entry carrying its number.
#include <vector>

#include "core/race/racelists.h"

class QComboBox;

namespace plumet::ui {

// Replaces the entries without a change signal; the first is chosen.
void FillChoices(QComboBox* combo, const std::vector<ListItem>& items);

} // namespace plumet::ui
