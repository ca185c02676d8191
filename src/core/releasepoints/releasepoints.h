#pragma once
// The release point register "racepo\racepo.dat": numbered slots holding records of
// RacePointColumn. Slot n always holds release point n; an empty slot is its number and blanks.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/actionresult.h"
#include "core/app/fieldrules.h"
#include "core/app/files.h"
#include "core/records/listposition.h"
#include "core/records/registertable.h"
#include "core/records/coordinates.h"
#include "core/releasepoints/racepointcolumns.h"

namespace plumet {

inline constexpr std::size_t kRacePointRecordLength = RacePointColumn::kRecordWidth;
inline constexpr std::size_t kRacePointNumberLength = RacePointColumn::Number.width();
inline constexpr std::size_t kRacePointNameLength = RacePointColumn::Name.width(); // as the clock shows it
inline constexpr std::size_t kRacePointPlaceLength = RacePointColumn::Place.width();
inline constexpr std::size_t kRacePointEntries = 99;       // what a file may hold
inline constexpr std::size_t kStandardRacePointCount = 98; // what the program creates and edits
inline constexpr const char* kRacePointFile = "racepo\\racepo.dat";

struct RacePointsLoad {
    std::size_t count = 0;
    LoadOutcome outcome = LoadOutcome::Missing;
    // For the user, "" when all went well: why the file was refused (it is then left as it is
    // and the table is empty).
    std::string problem;
};

class RacePointTable {
public:
    std::size_t Count() const { return records_.size(); }
    // Entry n, 1 to Count().
    const std::string& Record(std::size_t number) const { return records_.at(number - 1); }
    const std::vector<std::string>& Records() const { return records_; }
    LoadOutcome LastLoad() const { return outcome_; }

private:
    friend RacePointsLoad LoadRacePoints(RacePointTable& table, const Path& file);
    friend SaveResult SaveRacePoints(const RacePointTable& table, const Path& file);
    friend bool PutRacePoint(RacePointTable& table, std::string record);

    std::vector<std::string> records_;
    LoadOutcome outcome_ = LoadOutcome::Missing;
    Path refusedFile_; // a file refused on load is never saved over
    FileProblem refusedProblem_;
    // The file as last read or written, so a save never undoes another task's change; a
    // save brings them up to date, so they change on a const table.
    mutable Path loadedFrom_;
    mutable std::uint64_t loadedHash_ = 0;
};

Path RacePointFilePath(const Path& programFolder);

// A missing file, or one of no bytes, gives 98 empty slots; loading never writes. A file that is not a count
// line followed by that many 64-character records (at most 99) is refused: nothing is lost or replaced.
RacePointsLoad LoadRacePoints(RacePointTable& table, const Path& file);
// Writes the 98 empty slots where the file is missing or of no bytes, for a writer that holds the lock.
SaveResult CreateMissingRacePoints(const Path& file);
SaveResult SaveRacePoints(const RacePointTable& table, const Path& file);
// Stores a record in the entry given by its number; a number beyond the count
// extends the table with empty slots. False, and nothing changed, for a number outside 1-99.
bool PutRacePoint(RacePointTable& table, std::string record);

std::string EmptyRacePointRecord(std::size_t number);
std::string RacePointNumberOf(std::string_view record);
std::string RacePointNameOf(std::string_view record);
std::string RacePointPlaceOf(std::string_view record);
std::string RacePointLatitudeOf(std::string_view record);
std::string RacePointLongitudeOf(std::string_view record);

// The dialog fields. Object names: Text1 number, Text2 name, Text3 place, Text4 latitude
// sign, Text5-Text8 latitude degrees, minutes, seconds, hundredths, Text9 longitude sign,
// Text10-Text13 longitude degrees to hundredths.
struct RacePointFields {
    std::string number;
    std::string name;
    std::string place;
    PositionFields position;
    bool operator==(const RacePointFields&) const = default;
};

std::string BuildRacePointRecord(const RacePointFields& fields);
// A record as the dialogs show it: name and place without their trailing blanks, blank
// coordinate parts as "N", "W" and zeros.
RacePointFields RacePointFieldsForDisplay(std::string_view record);
// What frmRacePointsAlter and frmRacePointsDelete open with: slot `number` ("05"); nothing
// when the table has no such slot.
std::optional<RacePointFields> CurrentRacePointFields(const RacePointTable& table, std::string_view number);
// What frmRacePointsAdd opens with: "N", "W" and zeros, the rest empty.
RacePointFields NewRacePointFields();
// frmRacePointsAdd, on each change of the number: the fields of entry n when its number
// equals the typed text; nothing otherwise, and the fields stay as they are.
std::optional<RacePointFields> RacePointForTypedNumber(const RacePointTable& table, std::string_view typed);

// Field rules. The number takes DigitKey (app/fieldrules.h), name and place RacePointTextKey,
// the signs LatitudeSignKey / LongitudeSignKey; coordinate numbers leave through
// CoordinateNumberOnLeave. Entering a field only selects its text.
std::optional<char> RacePointTextKey(char32_t key); // A-Z a-z 0-9 blank + , - . and Backspace
std::string RacePointNumberOnLeave(std::string_view text); // "5" -> "05"; empty stays empty
std::string RacePointNameOnLeave(std::string_view text);   // blank-padded to 13 unless empty
std::string RacePointPlaceOnLeave(std::string_view text);  // blank-padded to 30 unless empty
std::string RacePointSignOnLeave(std::string_view text);   // empty becomes "+"
RacePointFields RacePointFieldsOnSave(const RacePointFields& fields);

std::string RacePointFieldName(CoordinatePart part);

// The one message of frmRacePointsAdd and frmRacePointsAlter.
inline constexpr int kRacePointInvalidInput = 1;

// frmRacePointsAdd, Add: overwrites slot n (1-98) without asking; the dialog stays open.
// `table` changes only when the file was written.
ActionResult SaveAddedRacePoint(RacePointTable& table, const Path& programFolder, const RacePointFields& fields);
// frmRacePointsAlter, Save: the same checks; its number field is read-only.
ActionResult SaveAlteredRacePoint(RacePointTable& table, const Path& programFolder, const RacePointFields& fields);
// frmRacePointsDelete, Delete: the slot becomes empty; the count stays.
ActionResult DeleteCurrentRacePoint(RacePointTable& table, const Path& programFolder, std::string_view currentNumber);

// After Add the main list scrolls so that entry n is its tenth line: the 0-based index of
// the new top line, nothing below 10.
std::optional<int> RacePointListTopIndex(int number);

// Main window: running number "00" + ":  " + name, one line per slot, empty ones included;
// the running number is the entry's key.
std::string RacePointListLine(std::size_t runningNumber, std::string_view record);
std::vector<ListEntry> RacePointListEntries(const RacePointTable& table);

} // namespace plumet
