#pragma once
// The check sheet of a race: what officials look through before they publish its list. Worked
// out afresh from the race's files through the calculation's own reading; nothing is stored.
#include <string>
#include <vector>

#include "core/app/files.h"
#include "core/app/options.h"
#include "core/race/distances.h"
#include "core/race/races.h"
#include "core/race/resultexport.h"
#include "core/race/resultlayout.h"

namespace plumet {

enum class CheckKind {
    LeftOut,           // not in the list, with the calculation's reason
    NotInRegister,     // the ring is not in that fancier's pigeon register
    ClockedTwice,      // by two clocks, or a clock and a hand-entered time
    ClockDeviation,    // more than the limit a day off the master clock
    ReadBeforeArrival, // the clock was read out before an arrival it holds
    BeforeRelease,
    SpeedOutsideBand,
    HandEntered,
    LineUnreadable,    // a read-out or manual-time file whose reading ended early
};

struct CheckFlag {
    CheckKind kind = CheckKind::LeftOut;
    int club = 0, fancier = 0; // the loft; none for a line of a file
    std::string loft;          // "003 Müller Karl-Heinz"
    std::string ring;          // as displayed
    std::string figures;
    bool operator==(const CheckFlag&) const = default;
};

struct CheckSheet {
    std::string refusal;         // why the race's files give no sheet, or ""
    std::vector<CheckFlag> flags; // loft by loft, lines of files last
};

// Reads the race's input files as the calculation does, evaluates them with `distances`, and
// flags what the limits of `settings` and the registers call for. Speeds show in the race's
// unit with `separator`.
CheckSheet CheckSheetOf(const Path& programFolder, const Settings& settings, const Race& race,
                        const DistanceTable& distances, char separator);

// The catalogue's name of a kind of flag.
std::string CheckKindText(CheckKind kind);
// The heads of the four columns: loft, ring, check, figures.
std::vector<std::string> CheckSheetHeads();

// On screen: the heads, then a line per flag, each column as wide as its widest cell; a sheet
// without flags says so.
std::vector<std::string> CheckSheetLines(const CheckSheet& sheet);
// As the result list's exports: a CSV table (UTF-8 with its byte-order mark) and a web page with
// the list's head.
std::string CheckSheetCsv(const CheckSheet& sheet);
std::string CheckSheetHtml(const Race& race, const CheckSheet& sheet, const PrintTexts& texts,
                           const std::string& dateText);
// The printed pages, 29 flags a page under the list's head.
std::vector<PrintPage> CheckSheetPages(const Race& race, const CheckSheet& sheet, const PrintTexts& texts,
                                       const std::string& dateText);

// Writes every target, all or nothing; a sheet with a refusal writes none and says why.
SaveResult ExportCheckSheet(const Path& programFolder, const Race& race, const CheckSheet& sheet,
                            const PrintTexts& texts, const std::string& dateText,
                            const std::vector<ExportTarget>& targets);

} // namespace plumet
