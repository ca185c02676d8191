#pragma once
// What the fancier and the loft exchange files share: their names and limits, the outcome of
// building or reading one, and the reading, writing and file lookups both kinds do.
//
// A read checks the whole exchange file before it writes anything, then replaces the register
// files together (SaveFilesTogether), so a refused file or a failed write changes nothing.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/app/files.h"
#include "core/app/options.h"
#include "core/registers/pigeons.h"

namespace plumet {

enum class ExchangeKind { Fancier, Loft };

// How many lines each kind may hold, in the file and in memory.
inline constexpr std::size_t kFancierExchangeLineLimit = 1000;
inline constexpr std::size_t kLoftExchangeLineLimit = 100000;
std::size_t ExchangeLineLimit(ExchangeKind kind);

// "exchange\S" (fancier) or "exchange\T" (loft) + the first 3 characters of the region line +
// the first 3 of the federation line + ".d00"; short settings are padded with blanks.
std::string ExchangeFileName(ExchangeKind kind, const Settings& settings);
Path ExchangeFilePath(const Path& programFolder, ExchangeKind kind, const Settings& settings);

// The number fields of the region and federation lines: 3 characters of each setting.
std::string RegionNumberField(const Settings& settings);
std::string FederationNumberField(const Settings& settings);

enum class ExchangeProblem {
    None,
    FileMissing,        // read: there is no exchange file
    FileUnreadable,     // read: it cannot be read
    WrongRegion,        // read: line 1 is no region line of this installation's region
    WrongFederation,    // read: line 2 is no federation line of this federation
    BadLine,            // read: a line of an unknown kind, length or number, or out of place
    TooManyLines,       // more lines than the kind may hold
    RegisterFull,       // read: more clubs, fanciers of a club or pigeons of a loft than a register holds
    RegisterUnreadable, // build: a register file is there but cannot be read
    WriteFailed,        // a file could not be written or replaced
    SettingsUnusable,   // OPTIONS.PAR gives no region or federation number to name the file after
};

struct ExchangeOutcome {
    ExchangeProblem problem = ExchangeProblem::None;
    std::size_t line = 0;         // the line of the exchange file at fault (1-based), or 0
    std::string error;            // what, where and why, in the catalogue's words, when something failed
    std::size_t lines = 0;        // lines written (build) or taken in (read)
    std::size_t filesWritten = 0; // register files a read replaced

    bool Ok() const { return problem == ExchangeProblem::None; }
    // The exchange file is missing, cannot be read or is another region's or federation's: the
    // read dialogs show their message 1 before `error`. Other failures show only `error`.
    bool FileRefused() const;
};

// What the four dialogs and plumet-cli call. Reading the loft file orders each loft's pigeons,
// which needs the catalogue's sex characters.
ExchangeOutcome BuildExchange(ExchangeKind kind, const Path& programFolder, const Settings& settings);
ExchangeOutcome ReadExchange(ExchangeKind kind, const Path& programFolder, const Settings& settings,
                             const SexCharacters& sexes);

// ---- Shared by the two kinds ------------------------------------------------------------

struct ExchangeLine {
    std::size_t number = 0; // 1-based line number in the file
    std::string text;
};

struct ExchangeLines {
    ExchangeOutcome refused; // Ok() when the lines may be checked
    std::vector<ExchangeLine> lines;
};

// The lines of an exchange file; empty lines do not count. Missing, unreadable and overlong
// files are refused, and so is a line holding a control byte.
ExchangeLines ReadExchangeLines(const Path& file, std::size_t limit);

// Writes the whole exchange file at once; more lines than `limit` are refused and an existing
// file stays as it was.
ExchangeOutcome WriteExchangeFile(const Path& file, const std::vector<std::string>& lines, std::size_t limit);

// Replaces the register files of a read together, in the order given: all or none.
ExchangeOutcome ReplaceRegisterFiles(const Path& programFolder, const std::vector<FileToSave>& files,
                                     std::size_t linesRead);

// A refusal at one line of the exchange file; `why` is worded by the catalogue.
ExchangeOutcome RefusedAt(ExchangeProblem problem, const ExchangeLine& line, const Path& file, std::string_view why);
// The catalogue's "a pigeon line of 25 characters; pigeon lines have 30 to 46" under `key`.
std::string LineLengthWhy(const char* key, std::size_t length, std::size_t shortest, std::size_t longest);

// The files of one data folder by name, letter case aside, listed once: a lookup per register
// file would scan a folder of thousands of pigeon files for every missing one.
class FolderIndex {
public:
    FolderIndex(const Path& programFolder, std::string_view folderName);
    // The existing entry of that name in any letter case (its own spelling first), else the name as given.
    Path Resolve(const std::string& fileName) const;
    // Whether an entry of that name exists in any letter case.
    bool Holds(const std::string& fileName) const;

private:
    Path folder_;
    std::unordered_set<std::string> names_;
    std::unordered_map<std::string, std::string> byLowerName_;
};

// Register file names inside their folders.
std::string FancierFileName(std::string_view clubNumber);                              // "f007.DAT"
std::string PigeonFileName(std::string_view clubNumber, std::string_view fancierNumber); // "p007012.dat"

// A register a build cannot read: the file and why.
ExchangeOutcome UnreadableRegister(const Path& file, const FileProblem& problem);

} // namespace plumet
