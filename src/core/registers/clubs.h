#pragma once
// The club register "club\club.dat": records of ClubColumn, kept in ascending order of the
// number.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/actionresult.h"
#include "core/app/fieldrules.h"
#include "core/app/files.h"
#include "core/registers/clubcolumns.h"
#include "core/records/listposition.h"
#include "core/records/registertable.h"

namespace plumet {

inline constexpr std::size_t kClubRecordLength = ClubColumn::kRecordWidth;
inline constexpr std::size_t kClubNumberLength = ClubColumn::Number.width();
inline constexpr std::size_t kClubNameLength = ClubColumn::Name.width();
inline constexpr std::size_t kClubNoteLength = ClubColumn::Note.width();
inline constexpr long long kHighestNewClubNumber = 99;
inline constexpr const char* kClubFile = "club\\club.dat";

struct ClubTraits : NumberKeyTraits<ClubColumn::Number> {
    static constexpr std::size_t kCapacity = 250;
};
using ClubTable = RegisterTable<ClubTraits>;

Path ClubFilePath(const Path& programFolder);

std::size_t LoadClubs(ClubTable& table, const Path& file);
SaveResult SaveClubs(const ClubTable& table, const Path& file);
// The last slot whose first three characters equal those of `recordOrKey`, or 0.
std::size_t FindClub(const ClubTable& table, std::string_view recordOrKey);
void InsertClub(ClubTable& table, std::string record);
void DeleteClub(ClubTable& table, std::size_t slot);

std::string ClubNumberOf(std::string_view record);
std::string ClubNameOf(std::string_view record); // blank-padded
std::string ClubNoteOf(std::string_view record); // blank-padded

// The dialog fields: Text1 number, Text2 name, Text3 note.
struct ClubFields {
    std::string number;
    std::string name;
    std::string note;
    bool operator==(const ClubFields&) const = default;
};

// Number + name + note as they stand; ClubFieldsOnSave makes them 3 + 30 + 30.
std::string BuildClubRecord(const ClubFields& fields);
// A record's fields as the alter and delete dialogs show them: trimmed.
ClubFields ClubFieldsForDisplay(std::string_view record);
// What frmClubAlter and frmClubDelete open with: the club `number`, trimmed; nothing when
// the register does not hold it.
std::optional<ClubFields> CurrentClubFields(const ClubTable& table, std::string_view number);

// Field rules. The number field takes DigitKey (app/fieldrules.h); entering any field
// trims it (TextOnEnter).
std::string ClubNumberOnLeave(std::string_view text); // "7" -> "007"; empty stays empty
std::string ClubNameOnLeave(std::string_view text);   // trimmed, blank-padded to 30
std::string ClubNoteOnLeave(std::string_view text);   // trimmed, blank-padded to 30
// Every field as after leaving it.
ClubFields ClubFieldsOnSave(const ClubFields& fields);

// Message numbers of frmClubAdd (all three) and frmClubAlter (1 and 2).
inline constexpr int kClubInvalidInput = 1;
inline constexpr int kClubNumberExists = 2;
inline constexpr int kClubRegisterFull = 3;
// Alter: the number may not change while the club's fancier file stands under the old one.
inline constexpr int kClubFilesUnderOldNumber = 3;

// frmClubAdd, Save. `table` is the one the dialog loaded on opening; it changes only when
// the file was written.
ActionResult SaveAddedClub(ClubTable& table, const Path& programFolder, const ClubFields& fields);
// frmClubAlter, Save, for the club `currentNumber`. The club may keep its own number;
// any number 000-999 is accepted.
ActionResult SaveAlteredClub(ClubTable& table, const Path& programFolder, std::string_view currentNumber,
                             const ClubFields& fields);
// frmClubDelete, Delete. Only the club file changes; the club's fancier and pigeon files stay.
ActionResult DeleteCurrentClub(ClubTable& table, const Path& programFolder, std::string_view currentNumber);

// Main window: number + ":     " + name, one line per club in table order; the club's number
// is the entry's key.
std::string ClubListLine(std::string_view record);
std::vector<ListEntry> ClubListEntries(const ClubTable& table);

} // namespace plumet
