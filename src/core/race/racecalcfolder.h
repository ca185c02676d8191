#pragma once
// The folder "racecalc" under the program folder, where race definitions, distance tables,
// manual clock times and result files live. It is not one of the data folders made at start,
// so every writer here creates it when it is missing.
#include <string_view>
#include <vector>

#include "core/app/files.h"

namespace plumet {

inline constexpr const char* kRaceCalcFolder = "racecalc";

// "racecalc\" + fileName, matched to an existing entry of any letter case.
Path RaceCalcPath(const Path& programFolder, std::string_view fileName);

// Writes the lines (CR LF) through the atomic save, creating the folder first when needed.
SaveResult SaveRaceCalcLines(const Path& target, const std::vector<std::string>& lines);

// Removes a file; succeeds when none is left (a missing one included), else says why.
SaveResult RemoveRaceCalcFile(const Path& file);

} // namespace plumet
