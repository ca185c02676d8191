#pragma once
// plumet-cli commands that talk to the clock over the configured port.
#include <string>
#include <vector>

#include "cli/cli.h"

namespace plumet::cli {

// send-loft CLUB FANCIER
int RunSendLoft(CliContext& context, const std::vector<std::string>& args);
// get-loft
int RunGetLoft(CliContext& context, const std::vector<std::string>& args);
// send-points
int RunSendPoints(CliContext& context, const std::vector<std::string>& args);

} // namespace plumet::cli
