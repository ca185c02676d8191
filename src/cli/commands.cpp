#include "cli/cli.h"
#include "cli/exchangecommands.h"

namespace plumet::cli {

// The table grows with each task the companion takes over from the program.
const std::vector<CliCommand>& Commands() {
    static const std::vector<CliCommand> commands = {
        {"build-exchange", "fancier|loft", 1, 1, RunBuildExchange},
        {"read-exchange", "fancier|loft", 1, 1, RunReadExchange},
    };
    return commands;
}

} // namespace plumet::cli
