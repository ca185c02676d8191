#pragma once
// plumet-cli commands of the race evaluation.
#include <optional>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace plumet::cli {

// distance LAT LON LAT LON: the geodesic from the loft (first pair) to the release point, in
// kilometres with four decimals.
int RunDistance(CliContext& context, const std::vector<std::string>& args);

// calculate NAME [--amend REASON]: calculates the race, writes the race file and its result file, and prints the
// result list as the result window shows it. A warning for each input file whose reading ended
// early goes to standard error. A final or amended race needs the reason, which goes into its log.
inline constexpr const char* kCalculateArguments = "RACE [--amend REASON]";
int RunCalculate(CliContext& context, const std::vector<std::string>& args);

// finalise NAME [--by NAME]: appends a Final entry to the race's log (the login name by default).
inline constexpr const char* kFinaliseArguments = "RACE [--by NAME]";
int RunFinalise(CliContext& context, const std::vector<std::string>& args);

// log NAME: the race's state and its log as the file holds it.
int RunLog(CliContext& context, const std::vector<std::string>& args);

// The output files after the name of `results` and `season`; nothing on a usage error.
struct OutputFiles {
    std::optional<std::string> pdf, csv, html;
    bool Any() const { return pdf || csv || html; }
};
std::optional<OutputFiles> ParseOutputFiles(const std::vector<std::string>& args);

// results NAME [--pdf FILE] [--csv FILE] [--html FILE]: the stored result list as the window
// shows it, or its printed pages as a PDF file, and the list as a CSV table and a web page.
inline constexpr const char* kResultsArguments = "RACE [--pdf FILE] [--csv FILE] [--html FILE]";
int RunResults(CliContext& context, const std::vector<std::string>& args);

// season NAME [--pdf FILE] [--csv FILE] [--html FILE]: the season's head, its races and both
// standings as the season window shows them, or printed as a PDF file, or exported.
inline constexpr const char* kSeasonArguments = "NAME [--pdf FILE] [--csv FILE] [--html FILE]";
int RunSeason(CliContext& context, const std::vector<std::string>& args);

// check RACE [--strict] [--csv FILE] [--html FILE]: the race's check sheet as the result window
// shows it, or as a CSV table and a web page; with --strict, exit 1 when anything is flagged.
inline constexpr const char* kCheckArguments = "RACE [--strict] [--csv FILE] [--html FILE]";
int RunCheck(CliContext& context, const std::vector<std::string>& args);
// combined NAME [--pdf FILE] [--csv FILE] [--html FILE]: the combined list worked out afresh from
// its club races, as its window shows it, printed or exported; an incomplete one is not written.
inline constexpr const char* kCombinedArguments = "NAME [--pdf FILE] [--csv FILE] [--html FILE]";
int RunCombined(CliContext& context, const std::vector<std::string>& args);

} // namespace plumet::cli
