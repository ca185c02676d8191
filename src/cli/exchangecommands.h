#pragma once
// build-exchange fancier|loft and read-exchange fancier|loft.
#include <string>
#include <vector>

#include "cli/cli.h"

namespace plumet::cli {

int RunBuildExchange(CliContext& context, const std::vector<std::string>& args);
int RunReadExchange(CliContext& context, const std::vector<std::string>& args);

} // namespace plumet::cli
