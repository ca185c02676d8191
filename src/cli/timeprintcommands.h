#pragma once
// plumet-cli's time transmitter, print relay and terminal program load.
#include <string>
#include <vector>

#include "cli/cli.h"

namespace plumet::cli {

// send-time --seconds N
int RunSendTime(CliContext& context, const std::vector<std::string>& args);
// print-relay file|screen --idle-exit S
int RunPrintRelay(CliContext& context, const std::vector<std::string>& args);
// load-firmware CODE
int RunLoadFirmware(CliContext& context, const std::vector<std::string>& args);

} // namespace plumet::cli
