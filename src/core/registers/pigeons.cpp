#include "core/registers/pigeons.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <system_error>

#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"
#include "core/registers/clubcolumns.h"
#include "core/registers/fanciercolumns.h"

namespace plumet {
namespace {

constexpr std::size_t kListSlotWidth = 4; // "0001"

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The catalogue's sex character that a typed character stands for, letter case aside.
std::optional<char> MatchSex(char typed, const SexCharacters& sexes) {
    for (const char sex : {sexes.male, sexes.female, sexes.none})
        if (sex != '\0' && UpperAscii(sex) == UpperAscii(typed)) return sex;
    return std::nullopt;
}

bool IsColourText(std::string_view colour) {
    const std::string trimmed = TrimRightBlanks(colour);
    if (colour.size() > kColourLength) return false;
    return std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// A stored ring number must keep at least one digit, or the pigeon has no ring at all.
bool HasDigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

SexCharacters SexCharactersFromTexts(std::string_view maleText, std::string_view femaleText,
                                     std::string_view noSexText) {
    const auto first = [](std::string_view text) { return text.empty() ? '\0' : text.front(); };
    return {first(maleText), first(femaleText), first(noSexText)};
}

int SexRank(char sex, const SexCharacters& sexes) {
    if (sex == '\0') return 0;
    if (sex == sexes.male) return 0;
    if (sex == sexes.female) return 1;
    if (sex == sexes.none) return 2;
    return 0;
}

bool IsSexText(std::string_view sex, const SexCharacters& sexes) {
    if (sex.empty()) return true;
    return sex.size() == 1 && sex.front() != '\0' &&
           (sex.front() == sexes.male || sex.front() == sexes.female || sex.front() == sexes.none);
}

std::string PigeonRing(std::string_view record) { return Field(record, PigeonColumn::Ring); }
std::string PigeonNation(std::string_view record) { return Field(record, PigeonColumn::Nation); }
std::string PigeonYear(std::string_view record) { return Field(record, PigeonColumn::Year); }
std::string PigeonOrganisation(std::string_view record) { return Field(record, PigeonColumn::Organisation); }
std::string PigeonRingNumber(std::string_view record) { return Field(record, PigeonColumn::RingNumber); }
std::string PigeonSex(std::string_view record) { return Field(record, PigeonColumn::Sex); }
std::string PigeonChipCode(std::string_view record) { return Field(record, PigeonColumn::ChipCode); }
std::string PigeonColour(std::string_view record) { return Field(record, PigeonColumn::Colour); }
std::string PigeonRingFormatText(std::string_view record) { return Field(record, PigeonColumn::RingFormat); }
int PigeonRingFormat(std::string_view record) { return RingFormatOfText(PigeonRingFormatText(record)); }

std::string BuildPigeonRecord(std::string_view nation, std::string_view year, std::string_view organisation,
                              std::string_view ringNumber, std::string_view sex) {
    using namespace PigeonColumn;
    if (nation.size() > Nation.width() || year.size() > Year.width() || organisation.size() > Organisation.width() ||
        ringNumber.size() > RingNumber.width() || sex.size() > Sex.width())
        return std::string(kPigeonBuildFailed);
    std::string ring(Ring.width(), ' ');
    SetField(ring, Nation, nation);
    SetField(ring, Year, PadLeft(year, Year.width(), ' '));
    SetField(ring, Organisation, organisation);
    SetField(ring, RingNumber, PadLeft(ringNumber, RingNumber.width(), ' '));
    SetField(ring, Sex, sex);
    return ring;
}

std::string CompletePigeonRecord(std::string_view ring23, std::string_view chipCode, std::string_view colour,
                                 std::string_view formatText) {
    std::string record(PigeonColumn::kRecordWidth, ' ');
    SetField(record, PigeonColumn::Ring, ring23);
    SetField(record, PigeonColumn::ChipCode, chipCode);
    SetField(record, PigeonColumn::Colour, colour);
    SetField(record, PigeonColumn::RingFormat, formatText);
    return record;
}

bool HasChip(std::string_view chipCode) {
    return chipCode.size() >= 2 && !chipCode.starts_with("00") && !chipCode.starts_with("13");
}

bool IsChipCode(std::string_view chipCode) {
    return chipCode.size() == kChipCodeLength && std::all_of(chipCode.begin(), chipCode.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
           });
}

std::string ChipCodeForList(std::string_view chipCode) {
    return HasChip(chipCode) ? PadRight(chipCode, kChipCodeLength) : std::string(kChipCodeLength, ' ');
}

bool ComparePigeons(std::string_view a, std::string_view b, const SexCharacters& sexes) {
    constexpr Column head = PigeonColumn::OrderHead;
    const std::string headA = PadRight(Field(a, head), head.width());
    const std::string headB = PadRight(Field(b, head), head.width());
    for (std::size_t i = 0; i < head.width(); ++i) {
        const auto ca = static_cast<unsigned char>(headA[i]);
        const auto cb = static_cast<unsigned char>(headB[i]);
        if (ca != cb) return ca < cb;
    }
    const long long numberA = RingNumberValue(PigeonRingNumber(a));
    const long long numberB = RingNumberValue(PigeonRingNumber(b));
    if (numberA != numberB) return numberA < numberB;
    const std::string sexA = PigeonSex(a);
    const std::string sexB = PigeonSex(b);
    return SexRank(sexA.empty() ? ' ' : sexA.front(), sexes) < SexRank(sexB.empty() ? ' ' : sexB.front(), sexes);
}

bool SameRing(std::string_view a, std::string_view b) {
    constexpr std::size_t nationWidth = PigeonColumn::Nation.width();
    if (PadRight(PigeonNation(a), nationWidth) != PadRight(PigeonNation(b), nationWidth)) return false;
    if (TrimBlanks(PigeonOrganisation(a)) != TrimBlanks(PigeonOrganisation(b))) return false;
    if (RingNumberValue(PigeonRingNumber(a)) != RingNumberValue(PigeonRingNumber(b))) return false;
    return RingYear(PigeonYear(a)) == RingYear(PigeonYear(b));
}

void InsertPigeon(PigeonTable& table, std::string record, const SexCharacters& sexes) {
    table.InsertOrdered(std::move(record), [&sexes](const std::string& candidate, const std::string& existing) {
        return ComparePigeons(candidate, existing, sexes);
    });
}

std::size_t FindPigeon(const PigeonTable& table, std::string_view record) { return table.Find(record); }

void DeletePigeon(PigeonTable& table, std::size_t slot) { table.Delete(slot); }

Path PigeonFilePath(const Path& programFolder, std::string_view club, std::string_view fancier) {
    return ResolvePath(programFolder, "pigeon\\p" + std::string(club) + std::string(fancier) + ".dat");
}

Path PigeonFilePath(const Path& programFolder, int club, int fancier) {
    return PigeonFilePath(programFolder, ZeroPadded(club, ClubColumn::Number.width()),
                          ZeroPadded(fancier, FancierColumn::Number.width()));
}

std::size_t LoadPigeons(PigeonTable& table, const Path& file) { return table.Load(file); }

SaveResult SavePigeons(const PigeonTable& table, const Path& file) { return table.Save(file); }

std::string NextRingNumberText(std::string_view ringNumber) {
    const bool leadingZero = !ringNumber.empty() && ringNumber.front() == '0';
    const std::string next = std::to_string(RingNumberValue(ringNumber) + 1);
    return leadingZero ? PadLeft(next, ringNumber.size(), '0') : next;
}

std::string PigeonListLine(std::size_t slot, std::string_view record) {
    const std::string ring = FormatRingText(PigeonRing(record), PigeonRingFormatText(record));
    return ZeroPadded(static_cast<long long>(slot), kListSlotWidth) + ":     " + PadRight(ring, kRingTextLength) +
           "      " + PadRight(PigeonColour(record), kColourLength) + "      " + ChipCodeForList(PigeonChipCode(record));
}

std::vector<ListEntry> PigeonListEntries(const PigeonTable& table) {
    std::vector<ListEntry> entries;
    entries.reserve(table.Count());
    for (std::size_t slot = 1; slot <= table.Count(); ++slot)
        entries.push_back(
            {PigeonListLine(slot, table.Record(slot)), ZeroPadded(static_cast<long long>(slot), kListSlotWidth), {}});
    return entries;
}

std::optional<char> FilterSexKey(char key, const SexCharacters& sexes) {
    if (key == kBackspaceChar) return key;
    return MatchSex(key, sexes);
}

std::optional<char> FilterColourKey(char key) {
    if (key == kBackspaceChar) return key;
    const char upper = UpperAscii(key);
    if (upper >= 'A' && upper <= 'Z') return upper;
    return std::nullopt;
}

std::optional<char> FilterCountKey(char key) {
    if (key == kBackspaceChar || (key >= '0' && key <= '9')) return key;
    return std::nullopt;
}

std::string NormaliseSex(std::string_view sex, const SexCharacters& sexes) {
    const std::string trimmed = TrimBlanks(sex);
    if (trimmed.size() == 1)
        if (const auto match = MatchSex(trimmed.front(), sexes)) return std::string(1, *match);
    return UpperCaseAscii(trimmed);
}

namespace {

std::atomic<char> gMale{'\0'};
std::atomic<char> gFemale{'\0'};
std::atomic<char> gNoSex{'\0'};

std::optional<char> ByteKey(std::optional<char> (*filter)(char), char32_t key) {
    if (key > 0xFF) return std::nullopt;
    return filter(static_cast<char>(static_cast<unsigned char>(key)));
}

} // namespace

std::optional<char> ColourKey(char32_t key) { return ByteKey(FilterColourKey, key); }
std::optional<char> CountKey(char32_t key) { return ByteKey(FilterCountKey, key); }

std::optional<char> SexKey(char32_t key) {
    if (key == kBackspaceKey) return kBackspaceChar;
    const int byte = Cp1252ByteOf(key);
    if (byte <= 0) return std::nullopt;
    return FilterSexKey(static_cast<char>(static_cast<unsigned char>(byte)), SexCharactersInUse());
}

void UseSexCharacters(const SexCharacters& sexes) {
    gMale = sexes.male;
    gFemale = sexes.female;
    gNoSex = sexes.none;
}

SexCharacters SexCharactersInUse() { return {gMale.load(), gFemale.load(), gNoSex.load()}; }

std::string NormaliseColour(std::string_view colour) {
    const std::string trimmed = UpperCaseAscii(TrimBlanks(colour));
    return trimmed.size() >= kColourLength ? trimmed : PadRight(trimmed, kColourLength);
}

PigeonFields NewPigeonFields(int currentYear) {
    PigeonFields fields;
    fields.year = DefaultYearText(currentYear);
    fields.colour = std::string(kColourLength, ' ');
    return fields;
}

PigeonFields PigeonFieldsOf(std::string_view record) {
    PigeonFields fields;
    fields.nation = PigeonNation(record);
    fields.year = TrimBlanks(PigeonYear(record));
    fields.organisation = PigeonOrganisation(record);
    fields.ringNumber = PigeonRingNumber(record);
    fields.sex = TrimBlanks(PigeonSex(record));
    fields.colour = PigeonColour(record);
    fields.ringFormat = PigeonRingFormat(record);
    return fields;
}

RingParts RingPartsOf(const PigeonFields& fields) {
    return {fields.nation, fields.year, fields.organisation, fields.ringNumber, fields.sex};
}

bool LeavePigeonField(PigeonFields& fields, PigeonField field, const SexCharacters& sexes, int currentYear) {
    switch (field) {
    case PigeonField::Nation: fields.nation = NormaliseNation(fields.nation); break;
    case PigeonField::Year:
        fields.year = NormaliseYear(fields.year, currentYear);
        return IsAcceptedYear(fields.year);
    case PigeonField::Organisation: {
        auto both = LeaveOrganisationField(fields.nation, fields.organisation, fields.ringNumber);
        fields.organisation = std::move(both.organisation);
        fields.ringNumber = std::move(both.ringNumber);
        break;
    }
    case PigeonField::RingNumber:
        fields.organisation = OrganisationAfterRingNumber(fields.organisation, fields.ringNumber);
        break;
    case PigeonField::Sex: fields.sex = NormaliseSex(fields.sex, sexes); break;
    case PigeonField::Colour: fields.colour = NormaliseColour(fields.colour); break;
    case PigeonField::Count: fields.count = TrimBlanks(fields.count); break;
    }
    return true;
}

AddPigeonsOutcome AddPigeons(PigeonTable& table, const Path& file, const PigeonFields& fields,
                             const SexCharacters& sexes, int currentYear) {
    AddPigeonsOutcome out;
    out.ringNumber = fields.ringNumber;
    out.count = fields.count;

    // A count of 0 or none adds one pigeon; counting it as 0 would let a full table take one more.
    const std::size_t wanted = static_cast<std::size_t>(std::max<long long>(1, RingNumberValue(fields.count)));
    const std::string nation = NormaliseNation(fields.nation);
    const std::string year = NormaliseYear(fields.year, currentYear);
    const std::string sex = NormaliseSex(fields.sex, sexes);
    const std::string colour = NormaliseColour(fields.colour);
    const int format = CurrentRingFormat(nation, fields.ringFormat);
    const bool partsValid = IsRingFormat(format) && IsValidRingPartText(RingPart::Nation, nation) &&
                            IsAcceptedYear(year) && IsSexText(sex, sexes) && IsColourText(colour);

    const PigeonTable before = table;
    std::string ringText = fields.ringNumber;
    long long previousNumber = -1;
    std::size_t added = 0;
    for (; added < wanted; ++added) {
        const RingParts parts = NormaliseRingForAdd({nation, year, fields.organisation, ringText, sex}, format);
        const std::string ring = BuildPigeonRecord(parts.nation, parts.year, parts.organisation, parts.ringNumber,
                                                   parts.sex);
        const long long number = RingNumberValue(parts.ringNumber);
        if (table.Count() + (wanted - added) > kPigeonCapacity) {
            out.message = kPigeonTableFull;
            break;
        }
        // A series must not wrap round when the format's ring number is too narrow for it.
        const bool wrapped = previousNumber >= 0 && number != previousNumber + 1;
        if (ring == kPigeonBuildFailed || !partsValid || wrapped ||
            !IsValidRingPartText(RingPart::Organisation, parts.organisation) ||
            !IsValidRingPartText(RingPart::RingNumber, parts.ringNumber) || !HasDigit(parts.ringNumber)) {
            out.message = kPigeonNotBuilt;
            break;
        }
        if (FindPigeon(table, ring) != 0) {
            out.message = kPigeonRingPresent;
            break;
        }
        InsertPigeon(table, CompletePigeonRecord(ring, kNoChipCode, colour, RingFormatText(format)), sexes);
        previousNumber = number;
        ringText = NextRingNumberText(ringText);
    }

    if (added == 0) return out;
    out.saved = SavePigeons(table, file);
    if (!out.saved) {
        table = before;
        return out;
    }
    out.added = added;
    out.ringNumber = ringText;
    out.count = out.message == kPigeonDone ? "1" : std::to_string(wanted - added);
    return out;
}

PigeonChangeOutcome AlterPigeon(PigeonTable& table, const Path& file, std::size_t slot, const PigeonFields& fields,
                                const SexCharacters& sexes) {
    PigeonChangeOutcome out;
    if (slot < 1 || slot > table.Count()) {
        out.message = kPigeonNotBuilt;
        return out;
    }
    const std::string old = table.Record(slot);
    const std::string sex = NormaliseSex(fields.sex, sexes);
    const std::string colour = NormaliseColour(fields.colour);
    const std::string ring =
        BuildPigeonRecord(fields.nation, TrimBlanks(fields.year), fields.organisation, fields.ringNumber, sex);
    // The pigeon's own sex stays acceptable even when the catalogue no longer names it.
    const bool sexAccepted = IsSexText(sex, sexes) || sex == TrimBlanks(PigeonSex(old));
    if (ring == kPigeonBuildFailed || !sexAccepted || !IsColourText(colour)) {
        out.message = kPigeonNotBuilt;
        return out;
    }

    const PigeonTable before = table;
    DeletePigeon(table, slot);
    if (FindPigeon(table, ring) != 0) {
        table = before;
        out.message = kPigeonRingPresent;
        return out;
    }
    const std::string chip = PigeonChipCode(old);
    const std::string formatText = PigeonRingFormatText(old);
    InsertPigeon(table,
                 CompletePigeonRecord(ring, chip.size() == kChipCodeLength ? std::string_view(chip) : kNoChipCode,
                                      colour, formatText.size() == 2 ? formatText : RingFormatText(0)),
                 sexes);
    out.saved = SavePigeons(table, file);
    if (!out.saved) table = before;
    return out;
}

int PigeonsDeleteQuestion(std::size_t selectedLines) { return selectedLines > 1 ? kPigeonsDeleteConfirm : 0; }

PigeonChangeOutcome DeletePigeons(PigeonTable& table, const Path& file, std::vector<std::size_t> slots) {
    PigeonChangeOutcome out;
    // From the last to the first, so each slot still names the pigeon of its list line.
    std::sort(slots.begin(), slots.end(), std::greater<>());
    slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
    const PigeonTable before = table;
    bool removed = false;
    for (const std::size_t slot : slots) {
        if (slot < 1 || slot > table.Count()) continue;
        DeletePigeon(table, slot);
        removed = true;
    }
    if (!removed) return out;
    out.saved = SavePigeons(table, file);
    if (!out.saved) table = before;
    return out;
}

} // namespace plumet
