#include "core/registers/fanciers.h"

#include <algorithm>
#include <functional>
#include <system_error>

#include "core/app/catalogue.h"
#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"
#include "core/registers/pigeons.h"

namespace plumet {
namespace {

CoordinateFields TrimmedParts(std::string_view text, Axis axis) {
    CoordinateFields parts = SplitCoordinateText(text, axis);
    for (std::string* part : {&parts.sign, &parts.degrees, &parts.minutes, &parts.seconds, &parts.hundredths})
        *part = TrimBlanks(*part);
    return parts;
}

// Refusals shared by Add and Alter, after every field was given its width. The coordinate
// checks run in Alter too: an impossible loft position would only give wrong distances.
std::optional<std::string> InvalidField(const FancierFields& f, long long highestNumber) {
    if (f.number.size() != kFancierNumberLength || !IsAllDigits(f.number)) return std::string("Text1");
    if (f.name.empty() || f.name.front() == ' ') return std::string("Text2");
    if (*ParseInteger(f.number) > highestNumber) return std::string("Text1");
    if (const auto part = FirstInvalidPart(f.loft)) return FancierFieldName(*part);
    return std::nullopt;
}

ActionResult InsertAndSave(FancierTable& table, FancierTable work, const Path& file, std::string record) {
    InsertFancier(work, std::move(record));
    ActionResult result;
    result.saved = SaveFanciers(work, file);
    if (result.saved) table = std::move(work);
    return result;
}

} // namespace

Path FancierFilePath(const Path& programFolder, std::string_view clubNumber) {
    return ResolvePath(programFolder, "fancier\\f" + std::string(clubNumber) + ".DAT");
}

std::size_t LoadFanciers(FancierTable& table, const Path& file) { return table.Load(file); }
SaveResult SaveFanciers(const FancierTable& table, const Path& file) { return table.Save(file); }
std::size_t FindFancier(const FancierTable& table, std::string_view recordOrKey) { return table.Find(recordOrKey); }
void InsertFancier(FancierTable& table, std::string record) { table.Insert(std::move(record)); }
void DeleteFancier(FancierTable& table, std::size_t slot) { table.Delete(slot); }

std::string FancierNumberOf(std::string_view record) { return Field(record, FancierColumn::Number); }
std::string FancierNameOf(std::string_view record) { return Field(record, FancierColumn::Name); }
std::string LoftLatitudeOf(std::string_view record) { return Field(record, FancierColumn::LoftLatitude); }
std::string LoftLongitudeOf(std::string_view record) { return Field(record, FancierColumn::LoftLongitude); }
bool ClocksManually(std::string_view record) { return Field(record, FancierColumn::ManualClocking) != "0"; }
std::string FancierNoteOf(std::string_view record) { return Field(record, FancierColumn::Note); }

std::string BuildFancierRecord(const FancierFields& fields) {
    return fields.number + fields.name + CoordinateText(fields.loft.latitude) + CoordinateText(fields.loft.longitude) +
           (fields.manualClocking ? "1" : "0") + fields.note;
}

FancierFields FancierFieldsForDisplay(std::string_view record) {
    return {TrimBlanks(FancierNumberOf(record)),
            TrimBlanks(FancierNameOf(record)),
            {TrimmedParts(LoftLatitudeOf(record), Axis::Latitude), TrimmedParts(LoftLongitudeOf(record), Axis::Longitude)},
            ClocksManually(record),
            TrimBlanks(FancierNoteOf(record))};
}

std::optional<FancierFields> CurrentFancierFields(const FancierTable& table, std::string_view number) {
    const std::size_t slot = number.empty() ? 0 : FindFancier(table, number);
    if (slot == 0) return std::nullopt;
    return FancierFieldsForDisplay(table.Record(slot));
}

FancierFields NewFancierFields() {
    return {{}, {}, {DefaultCoordinateFields(Axis::Latitude), DefaultCoordinateFields(Axis::Longitude)}, false, {}};
}

std::string FancierNumberOnLeave(std::string_view text) { return NumberOnLeave(text, kFancierNumberLength); }
std::string FancierNameOnLeave(std::string_view text) { return TextOnLeave(text, kFancierNameLength); }
std::string FancierNoteOnLeave(std::string_view text) { return TextOnLeave(text, kFancierNoteLength); }
std::string LoftLatitudeSignOnLeave(std::string_view text) { return SignOnLeave(text, 'N', SignLetters::FoldLowerCase); }
std::string LoftLongitudeSignOnLeave(std::string_view text) { return SignOnLeave(text, 'W', SignLetters::FoldLowerCase); }

FancierFields FancierFieldsOnSave(const FancierFields& fields) {
    return {FancierNumberOnLeave(fields.number), FancierNameOnLeave(fields.name),
            PositionOnSave(fields.loft, 'N', 'W', SignLetters::FoldLowerCase), fields.manualClocking,
            FancierNoteOnLeave(fields.note)};
}

std::string FancierFieldName(CoordinatePart part) {
    switch (part) {
    case CoordinatePart::LatitudeSign: return "Text3";
    case CoordinatePart::LatitudeDegrees: return "Text6";
    case CoordinatePart::LatitudeMinutes: return "Text7";
    case CoordinatePart::LatitudeSeconds: return "Text8";
    case CoordinatePart::LatitudeHundredths: return "Text9";
    case CoordinatePart::LongitudeSign: return "Text4";
    case CoordinatePart::LongitudeDegrees: return "Text10";
    case CoordinatePart::LongitudeMinutes: return "Text11";
    case CoordinatePart::LongitudeSeconds: return "Text12";
    case CoordinatePart::LongitudeHundredths: return "Text13";
    }
    return {};
}

ActionResult SaveAddedFancier(FancierTable& table, const Path& programFolder, std::string_view clubNumber,
                              const FancierFields& typed) {
    if (table.Full()) return Refused(kFancierRegisterFull);
    const FancierFields fields = FancierFieldsOnSave(typed);
    if (auto field = InvalidField(fields, kHighestNewFancierNumber)) return Refused(kFancierInvalidInput, *field);
    std::string record = BuildFancierRecord(fields);
    if (FindFancier(table, record) != 0) return Refused(kFancierNumberExists, "Text1");
    return InsertAndSave(table, table, FancierFilePath(programFolder, clubNumber), std::move(record));
}

ActionResult SaveAlteredFancier(FancierTable& table, const Path& programFolder, std::string_view clubNumber,
                                std::string_view currentNumber, const FancierFields& typed) {
    FancierTable work = table;
    if (!currentNumber.empty()) DeleteFancier(work, FindFancier(work, currentNumber));
    const FancierFields fields = FancierFieldsOnSave(typed);
    if (auto field = InvalidField(fields, 999)) return Refused(kFancierInvalidInput, *field);
    std::string record = BuildFancierRecord(fields);
    if (FindFancier(work, record) != 0) return Refused(kFancierNumberExists, "Text1");
    // A new number would leave the pigeons behind, filed under the old one.
    if (!currentNumber.empty() && fields.number != currentNumber &&
        RegisterFileHoldsRecords(PigeonFilePath(programFolder, clubNumber, currentNumber)))
        return Refused(kFancierFilesUnderOldNumber, "Text1");
    return InsertAndSave(table, std::move(work), FancierFilePath(programFolder, clubNumber), std::move(record));
}

bool FancierDeleteAsks(std::size_t selectedLineCount) { return selectedLineCount > 1; }

ActionResult DeleteSelectedFanciers(FancierTable& table, const Path& programFolder, std::string_view clubNumber,
                                    const std::vector<int>& selectedLines) {
    std::vector<int> lines = selectedLines;
    std::sort(lines.begin(), lines.end(), std::greater<>());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());

    // The slot of the line itself goes, not the last one of its number: with two fanciers
    // under one number, the one the official selected is the one removed.
    FancierTable work = table;
    std::vector<std::string> removedNumbers;
    for (const int line : lines) {
        if (line < 0 || static_cast<std::size_t>(line) >= work.Count()) continue;
        const auto slot = static_cast<std::size_t>(line) + 1;
        removedNumbers.push_back(FancierNumberOf(work.Record(slot)));
        DeleteFancier(work, slot);
    }

    ActionResult result;
    result.saved = SaveFanciers(work, FancierFilePath(programFolder, clubNumber));
    if (!result.saved) return result; // the pigeons stay while their fanciers are still on file
    table = std::move(work);

    for (const auto& number : removedNumbers) {
        if (FindFancier(table, number) != 0) continue; // another fancier still files his pigeons there
        const Path pigeons = PigeonFilePath(programFolder, clubNumber, number);
        std::error_code ec;
        std::filesystem::remove(pigeons, ec);
        if (ec && result.saved)
            result.saved = SaveFailed(
                CatalogueText("Fanciers.PigeonFileKept", {PathText(pigeons), ReasonText(ProblemOfCode(ec))}),
                ProblemOfCode(ec).reason);
    }
    return result;
}

std::string FancierListLine(std::string_view record) {
    return FancierNumberOf(record) + kListSeparator + FancierNameOf(record);
}

std::vector<ListEntry> FancierListEntries(const FancierTable& table) {
    std::vector<ListEntry> entries;
    entries.reserve(table.Count());
    for (const auto& record : table.Records())
        entries.push_back({FancierListLine(record), FancierNumberOf(record), FancierNameOf(record)});
    return entries;
}

} // namespace plumet
