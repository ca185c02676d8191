#pragma once
// frmClubChange: a fancier moves to another club, or to another number in his own club,
// together with his pigeon file.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/app/actionresult.h"
#include "core/app/files.h"

namespace plumet {

// Message numbers of frmClubChange ("MsgBoxName<n>"/"MsgBoxText<n>").
inline constexpr int kClubChangeZeroNumber = 1;   // club or fancier number 000
inline constexpr int kClubChangeNumberTaken = 2;  // the target club has a fancier with that number
inline constexpr int kClubChangeClubFull = 3;     // the target club holds 250 fanciers
inline constexpr int kClubChangeUnknownClub = 4;  // no such club in the club register

// Text1 new club number, Text2 new fancier number.
struct ClubChangeTarget {
    std::string clubNumber;
    std::string fancierNumber;
};

// Leaving either field: trimmed and padded on the left with "0" to `width`, so an empty
// field reads "000" and is refused as such.
std::string ClubChangeNumberOnLeave(std::string_view text, std::size_t width);

// The fancier's record under his new number, every other field unchanged.
std::string MovedFancierRecord(std::string_view record, std::string_view newNumber);

struct ClubChangeResult : ActionResult {
    bool moved = false; // the fancier, his pigeons and both fancier files are in their new state
};

// Save: checks the target (messages 1, 4, 3, 2 in this order, nothing changed then), then
// moves the record of fancier `fancier` of club `club` and his pigeon file, all files in one
// save: when any of them fails, none changes and saved.error says why. When `moved`, the
// dialog closes and the main window lists the clubs.
ClubChangeResult ChangeClub(const Path& programFolder, std::string_view club, std::string_view fancier,
                        const ClubChangeTarget& target);

} // namespace plumet
