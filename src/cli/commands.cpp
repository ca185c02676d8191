#include "cli/cli.h"

namespace plumet::cli {

// The table grows with each task the companion takes over from the program.
const std::vector<CliCommand>& Commands() {
    static const std::vector<CliCommand> commands = {};
    return commands;
}

} // namespace plumet::cli
