#include "cli/cli.h"
#include "cli/racecommands.h"

namespace plumet::cli {

// The table grows with each task the companion takes over from the program.
const std::vector<CliCommand>& Commands() {
    static const std::vector<CliCommand> commands = {
        {"distance", "LAT LON LAT LON", 4, 4, RunDistance},
    };
    return commands;
}

} // namespace plumet::cli
