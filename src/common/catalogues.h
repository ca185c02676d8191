#pragma once
// The catalogues the program's windows and its command line companion word their texts from.
#include <string>
#include <vector>

#include "core/app/catalogue.h"
#include "core/app/files.h"
#include "core/race/racecalc.h"

namespace plumet {

// The catalogue as the program folder holds it now (read afresh, so edits take effect when
// a window opens), with the shipped English text for every key it lacks; the shipped English
// catalogue when the folder has none.
TextCatalogue LoadCatalogue();
const TextCatalogue& ShippedCatalogue();

// One warning per input file whose reading ended before its end, in the words of `catalogue`
// (the shipped text where an older catalogue lacks them).
std::vector<std::string> ReadingEndedWarnings(const TextCatalogue& catalogue, const Path& programFolder,
                                              const std::vector<ReadingEnded>& ended);

} // namespace plumet
