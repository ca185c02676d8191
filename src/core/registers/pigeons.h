#pragma once
// PigeonsManage: one fancier's pigeons as a sorted table of records (PigeonColumn), their
// file, and what the add, alter and delete dialogs do with them.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/files.h"
#include "core/records/listposition.h"
#include "core/registers/pigeoncolumns.h"
#include "core/records/registertable.h"
#include "core/registers/rings.h"

namespace plumet {

inline constexpr std::size_t kPigeonRecordLength = PigeonColumn::kRecordWidth;
inline constexpr std::size_t kPigeonCapacity = 1000;
inline constexpr std::size_t kChipCodeLength = PigeonColumn::ChipCode.width();
inline constexpr std::size_t kColourLength = PigeonColumn::Colour.width();
inline constexpr std::string_view kNoChipCode = "1300000000"; // a pigeon entered by hand
inline constexpr std::string_view kPigeonBuildFailed = "0";

// ---- Sex characters ---------------------------------------------------------------------

// The characters the catalogue gives the three sexes; '\0' where the catalogue has no text.
struct SexCharacters {
    char male = '\0';
    char female = '\0';
    char none = '\0';
};
// From the texts "frmMain.MaleSex", "frmMain.FemaleSex", "frmMain.NoSex": the first character of each.
SexCharacters SexCharactersFromTexts(std::string_view maleText, std::string_view femaleText,
                                     std::string_view noSexText);
// Male 0, female 1, no sex 2, anything else 0.
int SexRank(char sex, const SexCharacters& sexes);
// Empty, or exactly one of the catalogue's sex characters.
bool IsSexText(std::string_view sex, const SexCharacters& sexes);

// ---- Record fields ----------------------------------------------------------------------

std::string PigeonRing(std::string_view record); // the part the ring forms use
std::string PigeonNation(std::string_view record);
std::string PigeonYear(std::string_view record);
std::string PigeonOrganisation(std::string_view record);
std::string PigeonRingNumber(std::string_view record);
std::string PigeonSex(std::string_view record);
std::string PigeonChipCode(std::string_view record);
std::string PigeonColour(std::string_view record);
std::string PigeonRingFormatText(std::string_view record);
int PigeonRingFormat(std::string_view record); // -1 outside 0-10

// The ring: nation padded right, year left, organisation right, ring number left, the sex
// character or a blank. kPigeonBuildFailed when a part is longer than its place, so a record
// never loses its fixed columns.
std::string BuildPigeonRecord(std::string_view nation, std::string_view year, std::string_view organisation,
                              std::string_view ringNumber, std::string_view sex);
// The whole record: ring, chip code, colour, format text, each fitted to its place.
std::string CompletePigeonRecord(std::string_view ring23, std::string_view chipCode, std::string_view colour,
                                 std::string_view formatText);

// ---- Chip codes -------------------------------------------------------------------------

// A code that begins with "00" or "13" stands for no chip.
bool HasChip(std::string_view chipCode);
// Ten upper-case hexadecimal digits, the only form the clock can take.
bool IsChipCode(std::string_view chipCode);
// The code as lists show it: ten blanks for no chip.
std::string ChipCodeForList(std::string_view chipCode);

// ---- Order and identity -----------------------------------------------------------------

// ComparePigeons: true when a sorts before b. Nation, year and organisation by character code,
// then the ring numbers as numbers, then the sex rank; equal pigeons give false.
bool ComparePigeons(std::string_view a, std::string_view b, const SexCharacters& sexes);
// The same ring: nation as it stands, trimmed organisation, ring number as a number and the
// same RingYear (05 and 2005 are one year, and so are 98 and 1998).
bool SameRing(std::string_view a, std::string_view b);

struct PigeonTraits {
    static constexpr std::size_t kCapacity = kPigeonCapacity;
    static bool Matches(const std::string& record, std::string_view argument) { return SameRing(record, argument); }
    // No SortsBefore: the order needs the sex characters, so records go in through InsertPigeon.
};
using PigeonTable = RegisterTable<PigeonTraits>;

void InsertPigeon(PigeonTable& table, std::string record, const SexCharacters& sexes);
// The last slot (1-based) holding the same ring, or 0.
std::size_t FindPigeon(const PigeonTable& table, std::string_view record);
void DeletePigeon(PigeonTable& table, std::size_t slot);

// ---- The pigeon file --------------------------------------------------------------------

// "pigeon\p" + club + fancier + ".dat" under the program folder, matched in any letter case.
Path PigeonFilePath(const Path& programFolder, std::string_view club, std::string_view fancier);
Path PigeonFilePath(const Path& programFolder, int club, int fancier);
// The count; a missing or unreadable file gives an empty table (and an unreadable one is
// never saved over).
std::size_t LoadPigeons(PigeonTable& table, const Path& file);
SaveResult SavePigeons(const PigeonTable& table, const Path& file);

// ---- Series and list --------------------------------------------------------------------

// The next ring number of a series: 0099 gives 0100, 99 gives 100.
std::string NextRingNumberText(std::string_view ringNumber);

// Main window line: "0001:     ", display form, six blanks, colour, six blanks, chip or blanks.
std::string PigeonListLine(std::size_t slot, std::string_view record);
// The key of each entry is its slot as the line shows it, "0001".
std::vector<ListEntry> PigeonListEntries(const PigeonTable& table);

// ---- Field rules of the pigeon dialogs --------------------------------------------------

// Sex: a key whose upper case is one of the sex characters gives that character.
std::optional<char> FilterSexKey(char key, const SexCharacters& sexes);
// Colour: letters (made upper case). Count: digits. Both pass Backspace.
std::optional<char> FilterColourKey(char key);
std::optional<char> FilterCountKey(char key);
// On leaving the sex field: trimmed, upper case (a catalogue character keeps its own case).
std::string NormaliseSex(std::string_view sex, const SexCharacters& sexes);
// On leaving the colour field: trimmed, upper case, padded with blanks to 4.
std::string NormaliseColour(std::string_view colour);

// The same filters as the shared field widget calls them. A code point beyond one byte is
// refused; the sex field matches the key's Windows-1252 byte against the sex characters in use.
std::optional<char> ColourKey(char32_t key);
std::optional<char> CountKey(char32_t key);
std::optional<char> SexKey(char32_t key);
// The sex characters SexKey accepts: the main window's catalogue texts, handed over when a
// pigeon dialog opens (a key filter is a plain function and cannot carry them).
void UseSexCharacters(const SexCharacters& sexes);
SexCharacters SexCharactersInUse();

// The texts of a pigeon dialog's fields.
struct PigeonFields {
    std::string nation;
    std::string year;
    std::string organisation;
    std::string ringNumber;
    std::string sex;
    std::string colour;
    int ringFormat = 0;      // the selected option (Option1 = 0 ... Option11 = 10)
    std::string count = "1"; // add dialog only: how many consecutive ring numbers
};
// The add dialog when it opens: year = the last two digits of the current year, count "1",
// colour four blanks, everything else empty.
PigeonFields NewPigeonFields(int currentYear);
// The alter and delete dialogs: the pigeon's parts (year and sex trimmed) and ring format.
PigeonFields PigeonFieldsOf(std::string_view record);
RingParts RingPartsOf(const PigeonFields& fields);

enum class PigeonField { Nation, Year, Organisation, RingNumber, Sex, Colour, Count };
// What leaving one field of a pigeon dialog does to the fields, the fields it touches beside
// its own included: nation trimmed and upper case; year completed (5 -> 05, 005 -> 2005,
// empty -> this year); organisation with the D/DV rule, cutting a long ring number; a ring
// number cutting a long organisation; sex and colour normalised; count trimmed.
// False when the year is not accepted: the focus goes back to it.
bool LeavePigeonField(PigeonFields& fields, PigeonField field, const SexCharacters& sexes, int currentYear);

// ---- Dialog actions ---------------------------------------------------------------------

// Message numbers of frmPigeonsAdd and frmPigeonsAlter ("MsgBoxName<n>"/"MsgBoxText<n>").
inline constexpr int kPigeonDone = 0;
inline constexpr int kPigeonNotBuilt = 1;    // the ring cannot be made into a record
inline constexpr int kPigeonRingPresent = 2; // the ring is in the file already
inline constexpr int kPigeonTableFull = 3;   // more than 1000 pigeons (add only)
// frmPigeonsDelete's confirmation ("MsgBoxName1", "MsgBoxText1a", "MsgBoxText1b").
inline constexpr int kPigeonsDeleteConfirm = 1;

struct AddPigeonsOutcome {
    int message = kPigeonDone;
    std::size_t added = 0;  // pigeons now in the table and the file; refresh the list when > 0
    std::string ringNumber; // what the ring number field shows now
    std::string count;      // what the count field shows now
    SaveResult saved;       // a failed save is reported with saved.error; nothing was added then
};
// frmPigeonsAdd, Add: adds `count` pigeons (0 or empty adds one) with consecutive ring numbers
// and saves them once. A refusal stops the run at that pigeon: the ones before it are kept
// and saved, and the fields show the refused ring number and the count still to go.
AddPigeonsOutcome AddPigeons(PigeonTable& table, const Path& file, const PigeonFields& fields,
                             const SexCharacters& sexes, int currentYear);

struct PigeonChangeOutcome {
    int message = kPigeonDone;
    SaveResult saved; // on failure the table is as it was before the action
};
// frmPigeonsAlter, Save: rebuilds the pigeon in `slot` from the shown ring fields, the sex and
// the colour, keeping its chip code and ring format. On success the dialog closes.
PigeonChangeOutcome AlterPigeon(PigeonTable& table, const Path& file, std::size_t slot, const PigeonFields& fields,
                                const SexCharacters& sexes);
// frmPigeonsDelete: kPigeonsDeleteConfirm when more than one list line is selected, else 0.
int PigeonsDeleteQuestion(std::size_t selectedLines);
// frmPigeonsDelete, Delete: removes the given slots (list positions) and saves.
PigeonChangeOutcome DeletePigeons(PigeonTable& table, const Path& file, std::vector<std::size_t> slots);

} // namespace plumet
