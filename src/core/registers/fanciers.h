#pragma once
// The fancier register of one club, "fancier\f" + club number + ".DAT": records of
// FancierColumn, in ascending order of the number.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/actionresult.h"
#include "core/app/fieldrules.h"
#include "core/app/files.h"
#include "core/registers/fanciercolumns.h"
#include "core/records/listposition.h"
#include "core/records/registertable.h"
#include "core/records/coordinates.h"

namespace plumet {

inline constexpr std::size_t kFancierRecordLength = FancierColumn::kRecordWidth;
inline constexpr std::size_t kFancierNumberLength = FancierColumn::Number.width();
inline constexpr std::size_t kFancierNameLength = FancierColumn::Name.width();
inline constexpr std::size_t kFancierNoteLength = FancierColumn::Note.width();
inline constexpr long long kHighestNewFancierNumber = 255;

struct FancierTraits : NumberKeyTraits<FancierColumn::Number> {
    static constexpr std::size_t kCapacity = 250;
};
using FancierTable = RegisterTable<FancierTraits>;

// "fancier\f" + club number + ".DAT", matched to an existing file of any letter case.
Path FancierFilePath(const Path& programFolder, std::string_view clubNumber);

std::size_t LoadFanciers(FancierTable& table, const Path& file);
SaveResult SaveFanciers(const FancierTable& table, const Path& file);
// The last slot whose first three characters equal those of `recordOrKey`, or 0.
std::size_t FindFancier(const FancierTable& table, std::string_view recordOrKey);
void InsertFancier(FancierTable& table, std::string record);
void DeleteFancier(FancierTable& table, std::size_t slot);

std::string FancierNumberOf(std::string_view record);
std::string FancierNameOf(std::string_view record); // blank-padded
std::string LoftLatitudeOf(std::string_view record);
std::string LoftLongitudeOf(std::string_view record);
bool ClocksManually(std::string_view record); // the flag is anything but "0"
std::string FancierNoteOf(std::string_view record); // blank-padded

// The dialog fields. Object names: Text1 number, Text2 name, Text3 latitude hemisphere,
// Text6-Text9 latitude degrees, minutes, seconds, hundredths, Text4 longitude hemisphere,
// Text10-Text13 longitude degrees to hundredths, Check1 manual clocking, Text5 note.
struct FancierFields {
    std::string number;
    std::string name;
    PositionFields loft;
    bool manualClocking = false;
    std::string note;
    bool operator==(const FancierFields&) const = default;
};

// Number + name + latitude + longitude + "0"/"1" + note, the fields as they stand;
// FancierFieldsOnSave gives them their widths.
std::string BuildFancierRecord(const FancierFields& fields);
// A record as the alter and delete dialogs show it: each field trimmed.
FancierFields FancierFieldsForDisplay(std::string_view record);
// What frmFancierAlter and frmFancierDelete open with: the fancier `number`, trimmed;
// nothing when the table does not hold him.
std::optional<FancierFields> CurrentFancierFields(const FancierTable& table, std::string_view number);
// What frmFancierAdd opens with: "N", "W" and zeros, the rest empty and unchecked.
FancierFields NewFancierFields();

// Field rules. Number and coordinate numbers take DigitKey (app/fieldrules.h), the
// hemispheres LoftLatitudeSignKey / LoftLongitudeSignKey (coordinates.h); entering a field
// trims it (TextOnEnter); coordinate numbers leave through CoordinateNumberOnLeave.
std::string FancierNumberOnLeave(std::string_view text);     // "7" -> "007"; empty stays empty
std::string FancierNameOnLeave(std::string_view text);       // trimmed, blank-padded to 20
std::string FancierNoteOnLeave(std::string_view text);       // trimmed, blank-padded to 30
std::string LoftLatitudeSignOnLeave(std::string_view text);  // empty becomes "N"
std::string LoftLongitudeSignOnLeave(std::string_view text); // empty becomes "W"
// Every field as after leaving it.
FancierFields FancierFieldsOnSave(const FancierFields& fields);

// Object name of the field that holds a coordinate part.
std::string FancierFieldName(CoordinatePart part);

// Message numbers of frmFancierAdd (all three) and frmFancierAlter (1 and 2).
inline constexpr int kFancierInvalidInput = 1;
inline constexpr int kFancierNumberExists = 2;
inline constexpr int kFancierRegisterFull = 3;
// Alter: the number may not change while the fancier's pigeon file stands under the old one.
inline constexpr int kFancierFilesUnderOldNumber = 3;
// The confirmation of frmFancierDelete.
inline constexpr int kFancierDeleteQuestion = 3;

// frmFancierAdd, Save, into the fancier file of `clubNumber`. The number may be 000-255.
// `table` is the one the dialog loaded; it changes only when the file was written.
ActionResult SaveAddedFancier(FancierTable& table, const Path& programFolder, std::string_view clubNumber,
                              const FancierFields& fields);
// frmFancierAlter, Save, for the fancier `currentNumber`; he may keep his number. The pigeon
// file is not renamed when the number changes.
ActionResult SaveAlteredFancier(FancierTable& table, const Path& programFolder, std::string_view clubNumber,
                                std::string_view currentNumber, const FancierFields& fields);

// frmFancierDelete asks first when more than one line of the main list is selected.
bool FancierDeleteAsks(std::size_t selectedLineCount);
// frmFancierDelete, Delete: removes the fanciers on the selected lines (0-based) of the main
// list, which shows the table in order, and then their pigeon files.
ActionResult DeleteSelectedFanciers(FancierTable& table, const Path& programFolder, std::string_view clubNumber,
                                    const std::vector<int>& selectedLines);

// Main window: number + ":     " + name, one line per fancier in table order; the fancier's
// number is the entry's key.
std::string FancierListLine(std::string_view record);
std::vector<ListEntry> FancierListEntries(const FancierTable& table);

} // namespace plumet
