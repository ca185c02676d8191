#include "cli/cli.h"
#include "cli/readoutcommands.h"

namespace plumet::cli {

// The table grows with each task the companion takes over from the program.
const std::vector<CliCommand>& Commands() {
    static const std::vector<CliCommand> commands = {
        {"readout", "WEEK POINT [--date DD.MM.YY]", 2, 4, RunReadout},
        {"store-readout", "WEEK POINT DIR", 3, 3, RunStoreReadout},
        {"export-xml", "WEEK POINT [--out DIR]", 2, 4, RunExportXml},
    };
    return commands;
}

} // namespace plumet::cli
