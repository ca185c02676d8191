#pragma once
// plumet-cli: the program's tasks without windows, on the same program folder and files.
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/files.h"
#include "app/options.h"

namespace plumet::cli {

enum ExitStatus { kSuccess = 0, kFailed = 1, kUsage = 2 };

struct CliContext {
    Path folder;
    Settings settings; // with --port applied
    TextCatalogue catalogue;
    std::ostream& out;
    std::ostream& err;
    bool progress = false; // standard error is a terminal

    // One line on standard error: the catalogue text of `key`, or `fallback` when the
    // catalogue has none. Returns kFailed.
    int Fail(const std::string& key, const std::string& fallback) const;
};

struct CliCommand {
    std::string name;
    std::string arguments; // for the usage text
    std::size_t minArgs = 0;
    std::size_t maxArgs = 0;
    std::function<int(CliContext&, const std::vector<std::string>&)> run;
};

// Every command the companion knows, in usage order.
const std::vector<CliCommand>& Commands();

std::string UsageText();

// Parses the options and runs one command; returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool stderrIsTerminal);

} // namespace plumet::cli
