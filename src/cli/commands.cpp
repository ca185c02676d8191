#include "cli/cli.h"
#include "cli/timeprintcommands.h"

namespace plumet::cli {

// The table grows with each task the companion takes over from the program.
const std::vector<CliCommand>& Commands() {
    static const std::vector<CliCommand> commands = {
        {"send-time", "--seconds N", 2, 2, RunSendTime},
        {"print-relay", "file|screen --idle-exit S", 3, 3, RunPrintRelay},
        {"load-firmware", "CODE (C, 11-14, 21-24, 31-34)", 1, 1, RunLoadFirmware},
    };
    return commands;
}

} // namespace plumet::cli
