#pragma once
// plumet-cli: the program's tasks without windows, on the same program folder and files.
#include <chrono>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/app/catalogue.h"
#include "core/app/files.h"
#include "core/app/folderlock.h"
#include "core/app/options.h"

namespace plumet::cli {

enum ExitStatus { kSuccess = 0, kFailed = 1, kUsage = 2 };

struct CliContext {
    Path folder;
    Settings settings; // with --port applied
    TextCatalogue catalogue;
    std::ostream& out;
    std::ostream& err;
    bool progress = false; // standard error is a terminal
    std::chrono::milliseconds wait = kWriteLockWait; // for the folder's write lock (--wait)
    FolderWriteLock writeLock;

    // One line on standard error: the catalogue text of `key`, or `fallback` (Windows-1252,
    // as core words it) when the catalogue has none. Returns kFailed.
    int Fail(const std::string& key, const std::string& fallback) const;
    // One line on standard error: the catalogue text of `key` with its placeholders filled.
    int Fail(const std::string& key, std::initializer_list<std::string> values = {}) const;
    // Takes the folder's write lock for the rest of the command; false, with the reason on
    // standard error, when another writer keeps it beyond the wait.
    bool LockForWriting(const std::string& command);
};

struct CliCommand {
    std::string name;
    std::string arguments; // for the usage text
    std::size_t minArgs = 0;
    std::size_t maxArgs = 0;
    std::function<int(CliContext&, const std::vector<std::string>&)> run;
    bool writes = false;       // holds the write lock from its first read to its last save
    bool usesSettings = true;  // refused while OPTIONS.PAR is damaged
    // A command that only reads: the data folders it reads, refused while an interrupted save
    // names a file there.
    std::vector<std::string> reads = {};
    // Its first argument is a name (a race, a season) that core holds as Windows-1252; the
    // others are numbers, words of the usage or paths, which stay as typed.
    bool namesFirst = false;
};

// Every command the companion knows, in usage order.
const std::vector<CliCommand>& Commands();

std::string UsageText();

// Parses the options and runs one command; returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool stderrIsTerminal);

} // namespace plumet::cli
