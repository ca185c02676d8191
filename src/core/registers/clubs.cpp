#include "core/registers/clubs.h"

#include "core/registers/fanciers.h"

#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"

namespace plumet {
namespace {

// The faults both dialogs refuse with message 1. A number of other characters than digits
// would neither sort nor name a file properly.
std::optional<std::string> InvalidField(const ClubFields& f) {
    if (f.number.size() != kClubNumberLength || !IsAllDigits(f.number)) return std::string("Text1");
    if (f.name.empty() || f.name.front() == ' ') return std::string("Text2");
    return std::nullopt;
}

// Inserts into a copy and saves it; the caller's table takes the copy only once it is on disk.
ActionResult InsertAndSave(ClubTable& table, ClubTable work, const Path& programFolder, std::string record) {
    InsertClub(work, std::move(record));
    ActionResult result;
    result.saved = SaveClubs(work, ClubFilePath(programFolder));
    if (result.saved) table = std::move(work);
    return result;
}

} // namespace

Path ClubFilePath(const Path& programFolder) { return ResolvePath(programFolder, kClubFile); }

std::size_t LoadClubs(ClubTable& table, const Path& file) { return table.Load(file); }
SaveResult SaveClubs(const ClubTable& table, const Path& file) { return table.Save(file); }
std::size_t FindClub(const ClubTable& table, std::string_view recordOrKey) { return table.Find(recordOrKey); }
void InsertClub(ClubTable& table, std::string record) { table.Insert(std::move(record)); }
void DeleteClub(ClubTable& table, std::size_t slot) { table.Delete(slot); }

std::string ClubNumberOf(std::string_view record) { return Field(record, ClubColumn::Number); }
std::string ClubNameOf(std::string_view record) { return Field(record, ClubColumn::Name); }
std::string ClubNoteOf(std::string_view record) { return Field(record, ClubColumn::Note); }

std::string BuildClubRecord(const ClubFields& fields) { return fields.number + fields.name + fields.note; }

ClubFields ClubFieldsForDisplay(std::string_view record) {
    return {TrimBlanks(ClubNumberOf(record)), TrimBlanks(ClubNameOf(record)), TrimBlanks(ClubNoteOf(record))};
}

std::optional<ClubFields> CurrentClubFields(const ClubTable& table, std::string_view number) {
    const std::size_t slot = number.empty() ? 0 : FindClub(table, number);
    if (slot == 0) return std::nullopt;
    return ClubFieldsForDisplay(table.Record(slot));
}

std::string ClubNumberOnLeave(std::string_view text) { return NumberOnLeave(text, kClubNumberLength); }
std::string ClubNameOnLeave(std::string_view text) { return TextOnLeave(text, kClubNameLength); }
std::string ClubNoteOnLeave(std::string_view text) { return TextOnLeave(text, kClubNoteLength); }

ClubFields ClubFieldsOnSave(const ClubFields& fields) {
    return {ClubNumberOnLeave(fields.number), ClubNameOnLeave(fields.name), ClubNoteOnLeave(fields.note)};
}

ActionResult SaveAddedClub(ClubTable& table, const Path& programFolder, const ClubFields& typed) {
    if (table.Full()) return Refused(kClubRegisterFull);
    const ClubFields fields = ClubFieldsOnSave(typed);
    if (auto field = InvalidField(fields)) return Refused(kClubInvalidInput, *field);
    if (*ParseInteger(fields.number) > kHighestNewClubNumber) return Refused(kClubInvalidInput, "Text1");
    std::string record = BuildClubRecord(fields);
    if (FindClub(table, record) != 0) return Refused(kClubNumberExists, "Text1");
    return InsertAndSave(table, table, programFolder, std::move(record));
}

ActionResult SaveAlteredClub(ClubTable& table, const Path& programFolder, std::string_view currentNumber,
                             const ClubFields& typed) {
    ClubTable work = table;
    if (!currentNumber.empty()) DeleteClub(work, FindClub(work, currentNumber));
    const ClubFields fields = ClubFieldsOnSave(typed);
    if (auto field = InvalidField(fields)) return Refused(kClubInvalidInput, *field);
    std::string record = BuildClubRecord(fields);
    if (FindClub(work, record) != 0) return Refused(kClubNumberExists, "Text1");
    // A new number would leave the fanciers behind, filed under the old one.
    if (!currentNumber.empty() && fields.number != currentNumber &&
        RegisterFileHoldsRecords(FancierFilePath(programFolder, currentNumber)))
        return Refused(kClubFilesUnderOldNumber, "Text1");
    return InsertAndSave(table, std::move(work), programFolder, std::move(record));
}

ActionResult DeleteCurrentClub(ClubTable& table, const Path& programFolder, std::string_view currentNumber) {
    ClubTable work = table;
    if (!currentNumber.empty()) DeleteClub(work, FindClub(work, currentNumber));
    ActionResult result;
    result.saved = SaveClubs(work, ClubFilePath(programFolder));
    if (result.saved) table = std::move(work);
    return result;
}

std::string ClubListLine(std::string_view record) { return ClubNumberOf(record) + kListSeparator + ClubNameOf(record); }

std::vector<ListEntry> ClubListEntries(const ClubTable& table) {
    std::vector<ListEntry> entries;
    entries.reserve(table.Count());
    for (const auto& record : table.Records())
        entries.push_back({ClubListLine(record), ClubNumberOf(record), ClubNameOf(record)});
    return entries;
}

} // namespace plumet
