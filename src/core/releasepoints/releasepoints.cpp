#include "core/releasepoints/releasepoints.h"

#include "core/app/catalogue.h"
#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"

namespace plumet {
namespace {

RacePointsLoad Refuse(const Path& file, const std::string& why) {
    return {0, LoadOutcome::Unreadable, CatalogueText("RacePoints.Refused", {PathText(file), why})};
}

// The slot a record belongs to, from its number; 0 when that is no number 1-99.
std::size_t SlotOf(std::string_view record) {
    const std::string digits = RacePointNumberOf(record);
    if (digits.size() != kRacePointNumberLength || !IsAllDigits(digits)) return 0;
    const auto n = static_cast<std::size_t>(*ParseInteger(digits));
    return n <= kRacePointEntries ? n : 0;
}

std::string TextField(int index) { return "Text" + std::to_string(index); }

ActionResult PutAndSave(RacePointTable& table, const Path& programFolder, std::string record) {
    RacePointTable work = table;
    PutRacePoint(work, std::move(record));
    ActionResult result;
    result.saved = SaveRacePoints(work, RacePointFilePath(programFolder));
    if (result.saved) table = std::move(work);
    return result;
}

ActionResult CheckAndSave(RacePointTable& table, const Path& programFolder, const RacePointFields& typed) {
    const RacePointFields fields = RacePointFieldsOnSave(typed);
    if (fields.number.empty()) return Refused(kRacePointInvalidInput, "Text1");
    if (fields.number.size() != kRacePointNumberLength || !IsAllDigits(fields.number))
        return Refused(kRacePointInvalidInput, "Text1");
    const long long n = *ParseInteger(fields.number);
    if (n < 1 || n > static_cast<long long>(kStandardRacePointCount)) return Refused(kRacePointInvalidInput, "Text1");
    // Blanks alone are no name: Alter would show the point empty and refuse it.
    if (fields.name.size() != kRacePointNameLength || TrimBlanks(fields.name).empty())
        return Refused(kRacePointInvalidInput, "Text2");
    if (fields.place.size() != kRacePointPlaceLength || TrimBlanks(fields.place).empty())
        return Refused(kRacePointInvalidInput, "Text3");
    if (const auto part = FirstInvalidPart(fields.position))
        return Refused(kRacePointInvalidInput, RacePointFieldName(*part));
    return PutAndSave(table, programFolder, BuildRacePointRecord(fields));
}

} // namespace

Path RacePointFilePath(const Path& programFolder) { return ResolvePath(programFolder, kRacePointFile); }

RacePointsLoad LoadRacePoints(RacePointTable& table, const Path& file) {
    table.records_.clear();
    table.refusedFile_.clear();
    table.refusedProblem_ = {};
    table.loadedFrom_.clear();
    table.outcome_ = LoadOutcome::Unreadable;
    const FileContent content = ReadWholeFile(file);

    // A file of no bytes has no release point to lose: it starts over like a missing one.
    if (content.status == ReadStatus::Missing || (content.status == ReadStatus::Ok && content.bytes.empty())) {
        for (std::size_t n = 1; n <= kStandardRacePointCount; ++n) table.records_.push_back(EmptyRacePointRecord(n));
        table.outcome_ = LoadOutcome::Missing;
        return {table.Count(), LoadOutcome::Missing, {}};
    }

    table.refusedFile_ = file;
    table.refusedProblem_ = {FileReason::Damaged, 0, {}};
    if (content.status != ReadStatus::Ok) {
        table.refusedProblem_ = content.problem;
        return {0, LoadOutcome::Unreadable, CannotReadText(file, content.problem)};
    }
    const std::vector<std::string> lines = SplitLines(content.bytes);
    if (const auto line = LineWithControlByte(lines)) {
        table.refusedProblem_ = {FileReason::ControlBytes, *line, {}};
        return {0, LoadOutcome::Unreadable, CannotReadText(file, table.refusedProblem_)};
    }
    const auto count = lines.empty() ? std::nullopt : ParseInteger(lines.front());
    if (!count || *count < 0) return Refuse(file, CatalogueText("RacePoints.NoCount"));
    if (static_cast<std::size_t>(*count) > kRacePointEntries)
        return Refuse(file, CatalogueText("RacePoints.CountTooHigh", {std::to_string(*count), std::to_string(kRacePointEntries)}));
    const auto wanted = static_cast<std::size_t>(*count);
    if (lines.size() < wanted + 1)
        return Refuse(file, CatalogueText("RacePoints.TooFewLines",
                                          {std::to_string(lines.size() - 1), std::to_string(wanted)}));
    for (std::size_t line = 2; line <= wanted + 1; ++line)
        if (lines[line - 1].size() != kRacePointRecordLength)
            return Refuse(file, CatalogueText("RacePoints.LineLength", {std::to_string(line),
                                                                        std::to_string(lines[line - 1].size()),
                                                                        std::to_string(kRacePointRecordLength)}));

    table.records_.assign(lines.begin() + 1, lines.begin() + 1 + static_cast<std::ptrdiff_t>(wanted));
    table.refusedFile_.clear();
    table.outcome_ = LoadOutcome::Loaded;
    table.loadedFrom_ = file;
    table.loadedHash_ = ContentHash(content.bytes);
    return {table.Count(), LoadOutcome::Loaded, {}};
}

SaveResult CreateMissingRacePoints(const Path& file) {
    RacePointTable table;
    if (LoadRacePoints(table, file).outcome != LoadOutcome::Missing) return {};
    return SaveRacePoints(table, file);
}

SaveResult SaveRacePoints(const RacePointTable& table, const Path& file) {
    if (IsFileLoadedFrom(file, table.refusedFile_))
        return SaveFailed(CatalogueText("Files.NotSavedUnreadable", {PathText(file), ReasonText(table.refusedProblem_)}),
                          table.refusedProblem_.reason);
    // Another task's change since the load is not undone by a window that loaded before it.
    if (IsFileLoadedFrom(file, table.loadedFrom_)) {
        const FileContent now = ReadWholeFile(file);
        if (now.status != ReadStatus::Ok || ContentHash(now.bytes) != table.loadedHash_)
            return SaveFailed(CatalogueText("Files.Changed", {PathText(file)}), FileReason::Changed);
    }
    std::vector<std::string> lines;
    lines.reserve(table.Count() + 1);
    lines.push_back(FormatCountLine(static_cast<long long>(table.Count())));
    lines.insert(lines.end(), table.records_.begin(), table.records_.end());
    const std::string bytes = JoinLinesCrLf(lines);
    SaveResult saved = SaveFileAtomically(file, bytes);
    if (saved) {
        table.loadedFrom_ = file;
        table.loadedHash_ = ContentHash(bytes);
    }
    return saved;
}

bool PutRacePoint(RacePointTable& table, std::string record) {
    const std::size_t n = SlotOf(record);
    if (n == 0) return false;
    // A slot beyond the count would not be written; the slots between become empty ones.
    while (table.records_.size() < n) table.records_.push_back(EmptyRacePointRecord(table.records_.size() + 1));
    table.records_[n - 1] = std::move(record);
    return true;
}

std::string EmptyRacePointRecord(std::size_t number) {
    std::string record(RacePointColumn::kRecordWidth, ' ');
    SetField(record, RacePointColumn::Number, ZeroPadded(static_cast<long long>(number), kRacePointNumberLength));
    return record;
}

std::string RacePointNumberOf(std::string_view record) { return Field(record, RacePointColumn::Number); }
std::string RacePointNameOf(std::string_view record) { return Field(record, RacePointColumn::Name); }
std::string RacePointPlaceOf(std::string_view record) { return Field(record, RacePointColumn::Place); }
std::string RacePointLatitudeOf(std::string_view record) { return Field(record, RacePointColumn::Latitude); }
std::string RacePointLongitudeOf(std::string_view record) { return Field(record, RacePointColumn::Longitude); }

std::string BuildRacePointRecord(const RacePointFields& fields) {
    return fields.number + fields.name + fields.place + CoordinateText(fields.position.latitude) +
           CoordinateText(fields.position.longitude);
}

RacePointFields RacePointFieldsForDisplay(std::string_view record) {
    return {RacePointNumberOf(record), TrimRightBlanks(RacePointNameOf(record)),
            TrimRightBlanks(RacePointPlaceOf(record)),
            {CoordinateFieldsForDisplay(RacePointLatitudeOf(record), Axis::Latitude),
             CoordinateFieldsForDisplay(RacePointLongitudeOf(record), Axis::Longitude)}};
}

std::optional<RacePointFields> CurrentRacePointFields(const RacePointTable& table, std::string_view number) {
    const std::size_t n = number.size() == kRacePointNumberLength ? SlotOf(number) : 0;
    if (n == 0 || n > table.Count()) return std::nullopt;
    return RacePointFieldsForDisplay(table.Record(n));
}

RacePointFields NewRacePointFields() {
    return {{}, {}, {}, {DefaultCoordinateFields(Axis::Latitude), DefaultCoordinateFields(Axis::Longitude)}};
}

std::optional<RacePointFields> RacePointForTypedNumber(const RacePointTable& table, std::string_view typed) {
    const std::string digits = TrimBlanks(typed);
    if (!IsAllDigits(digits) || digits.size() > kRacePointNumberLength) return std::nullopt;
    const auto n = static_cast<std::size_t>(*ParseInteger(digits));
    if (n < 1 || n > table.Count()) return std::nullopt;
    const std::string& record = table.Record(n);
    if (RacePointNumberOf(record) != typed) return std::nullopt;
    return RacePointFieldsForDisplay(record);
}

std::optional<char> RacePointTextKey(char32_t key) {
    const bool accepted = key == kBackspaceKey || (key >= U'A' && key <= U'Z') || (key >= U'a' && key <= U'z') ||
                          (key >= U'0' && key <= U'9') || key == U' ' || key == U'+' || key == U',' || key == U'-' ||
                          key == U'.';
    if (accepted) return static_cast<char>(key);
    return std::nullopt;
}

std::string RacePointNumberOnLeave(std::string_view text) { return NumberOnLeave(text, kRacePointNumberLength); }
std::string RacePointNameOnLeave(std::string_view text) { return PaddedIfNotEmpty(text, kRacePointNameLength); }
std::string RacePointPlaceOnLeave(std::string_view text) { return PaddedIfNotEmpty(text, kRacePointPlaceLength); }
std::string RacePointSignOnLeave(std::string_view text) { return SignOnLeave(text, '+', SignLetters::CapitalsOnly); }

RacePointFields RacePointFieldsOnSave(const RacePointFields& fields) {
    return {RacePointNumberOnLeave(fields.number), RacePointNameOnLeave(fields.name),
            RacePointPlaceOnLeave(fields.place), PositionOnSave(fields.position, '+', '+', SignLetters::CapitalsOnly)};
}

std::string RacePointFieldName(CoordinatePart part) {
    // Latitude degrees .. hundredths are Text5-Text8, longitude ones Text10-Text13.
    switch (part) {
    case CoordinatePart::LatitudeSign: return TextField(4);
    case CoordinatePart::LatitudeDegrees: return TextField(5);
    case CoordinatePart::LatitudeMinutes: return TextField(6);
    case CoordinatePart::LatitudeSeconds: return TextField(7);
    case CoordinatePart::LatitudeHundredths: return TextField(8);
    case CoordinatePart::LongitudeSign: return TextField(9);
    case CoordinatePart::LongitudeDegrees: return TextField(10);
    case CoordinatePart::LongitudeMinutes: return TextField(11);
    case CoordinatePart::LongitudeSeconds: return TextField(12);
    case CoordinatePart::LongitudeHundredths: return TextField(13);
    }
    return {};
}

ActionResult SaveAddedRacePoint(RacePointTable& table, const Path& programFolder, const RacePointFields& fields) {
    return CheckAndSave(table, programFolder, fields);
}

ActionResult SaveAlteredRacePoint(RacePointTable& table, const Path& programFolder, const RacePointFields& fields) {
    return CheckAndSave(table, programFolder, fields);
}

ActionResult DeleteCurrentRacePoint(RacePointTable& table, const Path& programFolder, std::string_view currentNumber) {
    const std::size_t n = SlotOf(currentNumber);
    if (n == 0 || currentNumber.size() != kRacePointNumberLength) return {};
    return PutAndSave(table, programFolder, EmptyRacePointRecord(n));
}

std::optional<int> RacePointListTopIndex(int number) {
    if (number < 10) return std::nullopt;
    return number - 10;
}

std::string RacePointListLine(std::size_t runningNumber, std::string_view record) {
    return ZeroPadded(static_cast<long long>(runningNumber), kRacePointNumberLength) + ":  " + RacePointNameOf(record);
}

std::vector<ListEntry> RacePointListEntries(const RacePointTable& table) {
    std::vector<ListEntry> entries;
    entries.reserve(table.Count());
    for (std::size_t n = 1; n <= table.Count(); ++n)
        entries.push_back({RacePointListLine(n, table.Record(n)),
                           ZeroPadded(static_cast<long long>(n), kRacePointNumberLength), {}});
    return entries;
}

} // namespace plumet
