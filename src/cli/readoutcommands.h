#pragma once
// plumet-cli readout, store-readout and export-xml.
#include <string>
#include <vector>

#include "cli/cli.h"

namespace plumet::cli {

// readout WEEK POINT [--date DD.MM.YY]
int RunReadout(CliContext& context, const std::vector<std::string>& args);
// store-readout WEEK POINT DIR
int RunStoreReadout(CliContext& context, const std::vector<std::string>& args);
// export-xml WEEK POINT [--out DIR]
int RunExportXml(CliContext& context, const std::vector<std::string>& args);

} // namespace plumet::cli
