#pragma once
// plumet-cli commands of the race evaluation.
#include <string>
#include <vector>

#include "cli/cli.h"

namespace plumet::cli {

// distance LAT LON LAT LON: the geodesic from the loft (first pair) to the release point, in
// kilometres with four decimals.
int RunDistance(CliContext& context, const std::vector<std::string>& args);

} // namespace plumet::cli
