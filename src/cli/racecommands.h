#pragma once
// plumet-cli commands of the race evaluation.
#include <string>
#include <vector>

#include "cli/cli.h"

namespace plumet::cli {

// distance LAT LON LAT LON: the geodesic from the loft (first pair) to the release point, in
// kilometres with four decimals.
int RunDistance(CliContext& context, const std::vector<std::string>& args);

// calculate NAME: calculates the race, writes the race file and its result file, and prints the
// result list as the result window shows it. A warning for each input file whose reading ended
// early goes to standard error.
int RunCalculate(CliContext& context, const std::vector<std::string>& args);

// results NAME [--pdf FILE] [--csv FILE] [--html FILE]: the stored result list as the window
// shows it, or its printed pages as a PDF file, and the list as a CSV table and a web page.
inline constexpr const char* kResultsArguments = "RACE [--pdf FILE] [--csv FILE] [--html FILE]";
int RunResults(CliContext& context, const std::vector<std::string>& args);

} // namespace plumet::cli
