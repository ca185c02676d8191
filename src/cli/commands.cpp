#include "cli/cli.h"
#include "cli/clockcommands.h"
#include "cli/exchangecommands.h"
#include "cli/racecommands.h"
#include "cli/readoutcommands.h"
#include "cli/timeprintcommands.h"

namespace plumet::cli {

// The table grows with each task the companion takes over from the program.
const std::vector<CliCommand>& Commands() {
    // Writers hold the folder's write lock; print-relay takes it itself when it writes a file.
    constexpr bool kWrites = true;
    constexpr bool kNamed = true;
    static const std::vector<CliCommand> commands = {
        {"build-exchange", "fancier|loft", 1, 1, RunBuildExchange, kWrites},
        {"read-exchange", "fancier|loft", 1, 1, RunReadExchange, kWrites},
        {"send-loft", "CLUB FANCIER", 2, 2, RunSendLoft, false, true, {"club", "fancier", "pigeon"}},
        {"get-loft", "", 0, 0, RunGetLoft, kWrites},
        {"send-points", "", 0, 0, RunSendPoints, kWrites},
        {"distance", "LAT LON LAT LON", 4, 4, RunDistance, false, false},
        {"calculate", kCalculateArguments, 1, 3, RunCalculate, kWrites, true, {}, kNamed},
        {"finalise", kFinaliseArguments, 1, 3, RunFinalise, kWrites, false, {}, kNamed},
        {"log", "RACE", 1, 1, RunLog, false, false, {"racecalc"}, kNamed},
        {"results", kResultsArguments, 1, 7, RunResults, false, false, {"racecalc"}, kNamed},
        {"check", kCheckArguments, 1, 6, RunCheck, false, true, {"racecalc", "race", "pigeon"}, kNamed}, // locks when it exports
        {"season", kSeasonArguments, 1, 7, RunSeason, false, false, {"racecalc"}, kNamed}, // locks when it exports
        {"combined", kCombinedArguments, 1, 7, RunCombined, false, false, {"racecalc"}, kNamed}, // locks when it exports
        {"send-time", "--seconds N", 2, 2, RunSendTime},
        {"print-relay", "file|screen --idle-exit S", 3, 3, RunPrintRelay},
        {"load-firmware", "CODE (C, 11-14, 21-24, 31-34)", 1, 1, RunLoadFirmware},
        {"readout", "WEEK POINT [--date DD.MM.YY]", 2, 4, RunReadout, kWrites},
        {"store-readout", "WEEK POINT DIR", 3, 3, RunStoreReadout, kWrites},
        {"export-xml", "WEEK POINT [--out DIR]", 2, 4, RunExportXml, kWrites},
    };
    return commands;
}

} // namespace plumet::cli
