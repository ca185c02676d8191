#include "core/clock/pigeonsconvert.h"

#include "core/app/fixedwidth.h"
#include "core/registers/pigeoncolumns.h"

namespace plumet {

namespace {

constexpr int kLetterBits = 5;
constexpr int kSexBits = 2;
constexpr int kYearBits = 6;
constexpr int kOrganisationBits = 6;
constexpr int kDigitBits = 4;
constexpr int kFormatBits = 4;

char SexCharacter(const std::string& text) { return text.empty() ? ' ' : text.front(); }

// The field as the clock codes it: what a short record lacks counts as blanks.
std::string Padded(std::string_view record, Column column) { return PadRight(Field(record, column), column.width()); }

std::uint8_t LetterCode(char c) { return c >= 'A' && c <= 'Z' ? static_cast<std::uint8_t>(c - 'A' + 1) : 0; }

std::uint8_t OrganisationCode(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(c - 'A' + 1);
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0' + 27);
    return 0;
}

std::uint8_t DigitCode(char c) { return c >= '0' && c <= '9' ? static_cast<std::uint8_t>(c - '0' + 1) : 0; }

std::optional<std::uint8_t> YearCode(std::string_view yearField) {
    std::string digits;
    for (const char c : yearField)
        if (c != ' ') digits += c;
    if (!IsAllDigits(digits)) return std::nullopt;
    const long long year = *ParseInteger(digits);
    if (year >= 1998 && year <= 2029) return static_cast<std::uint8_t>((year - 1998) | 32);
    if (year == 98) return 0;
    if (year == 99) return 1;
    if (year <= 29) return static_cast<std::uint8_t>(year + 2);
    return std::nullopt;
}

std::string YearText(std::uint8_t code) {
    if (code & 32) return std::to_string((code & 31) + 1998);
    const int year = (code & 31) + 98;
    return PadLeft(ZeroPadded(year < 100 ? year : year - 100, 2), PigeonColumn::Year.width(), ' ');
}

char Letter(std::uint8_t v) { return v == 0 ? ' ' : static_cast<char>(64 + v); }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::uint8_t RingValue::ShiftRing(int n) {
    carry_ = 0;
    for (int bit = 0; bit < n; ++bit) {
        carry_ = static_cast<std::uint8_t>(carry_ << 1 | bytes_[14] >> 7);
        for (std::size_t i = 14; i >= 1; --i)
            bytes_[i] = static_cast<std::uint8_t>(bytes_[i] << 1 | bytes_[i - 1] >> 7);
        bytes_[0] = static_cast<std::uint8_t>(bytes_[0] << 1);
    }
    return carry_;
}

SexTexts CatalogueSexTexts(const TextCatalogue& catalogue) {
    return {catalogue.LookupText("frmMain.MaleSex"), catalogue.LookupText("frmMain.FemaleSex"),
            catalogue.LookupText("frmMain.NoSex")};
}

PigeonsConvert::PigeonsConvert(SexTexts sexes)
    : male_(SexCharacter(sexes.male)), female_(SexCharacter(sexes.female)), none_(SexCharacter(sexes.none)) {}

std::optional<RingRecord> PigeonsConvert::EncodeRing(std::string_view record) const {
    const auto year = YearCode(Field(record, PigeonColumn::Year));
    const std::string formatText = TrimBlanks(Field(record, PigeonColumn::RingFormat));
    if (!year || !IsAllDigits(formatText)) return std::nullopt;
    const long long format = *ParseInteger(formatText);
    if (format > kHighestRingFormat) return std::nullopt;

    // A no-sex pigeon must come back as one, whatever character the catalogue gives it.
    const char sex = Padded(record, PigeonColumn::Sex).front();
    const std::uint8_t sexCode = sex == ' ' ? 0 : sex == male_ ? 1 : sex == none_ ? 0 : 2;

    RingValue value;
    bool first = true;
    const auto put = [&](int bits, std::uint8_t code) {
        if (!first) value.ShiftRing(bits);
        first = false;
        value.Combine(code);
    };
    for (const char c : Padded(record, PigeonColumn::Nation)) put(kLetterBits, LetterCode(c));
    put(kSexBits, sexCode);
    put(kYearBits, *year);
    for (const char c : Padded(record, PigeonColumn::Organisation)) put(kOrganisationBits, OrganisationCode(c));
    for (const char c : Padded(record, PigeonColumn::RingNumber)) put(kDigitBits, DigitCode(c));
    put(kFormatBits, static_cast<std::uint8_t>(format));
    for (const char c : Padded(record, PigeonColumn::Colour)) put(kLetterBits, LetterCode(c));
    return value.Bytes();
}

std::optional<ChipRecord> PigeonsConvert::EncodeChip(std::string_view record) {
    const std::string code = Field(record, PigeonColumn::ChipCode);
    if (code.size() < PigeonColumn::ChipCode.width()) return std::nullopt;
    ChipRecord chip{};
    for (std::size_t k = 0; k < chip.size(); ++k) {
        const int high = HexValue(code[2 * k]);
        const int low = HexValue(code[2 * k + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        chip[k] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return chip;
}

std::string PigeonsConvert::DecodeRing(RingValue& value) const {
    std::string nation;
    for (int i = 0; i < 6; ++i) nation += Letter(value.ShiftRing(kLetterBits));
    const std::uint8_t sexCode = value.ShiftRing(kSexBits);
    const char sex = sexCode == 0 ? none_ : sexCode == 1 ? male_ : sexCode == 2 ? female_ : ' ';
    const std::string year = YearText(value.ShiftRing(kYearBits));
    std::string organisation;
    for (int i = 0; i < 5; ++i) {
        const std::uint8_t v = value.ShiftRing(kOrganisationBits);
        organisation += v == 0 ? ' ' : v <= 26 ? static_cast<char>(64 + v) : static_cast<char>(48 + v - 27);
    }
    std::string ring;
    for (int i = 0; i < 7; ++i) {
        const std::uint8_t v = value.ShiftRing(kDigitBits);
        ring += v == 0 ? ' ' : static_cast<char>(48 + v - 1);
    }
    std::string record(PigeonColumn::Ring.width(), ' ');
    SetField(record, PigeonColumn::Nation, nation);
    SetField(record, PigeonColumn::Year, year);
    SetField(record, PigeonColumn::Organisation, organisation);
    SetField(record, PigeonColumn::RingNumber, ring);
    SetField(record, PigeonColumn::Sex, std::string(1, sex));
    return record;
}

std::string PigeonsConvert::DecodeFormat(RingValue& value) {
    return ZeroPadded(value.ShiftRing(kFormatBits), PigeonColumn::RingFormat.width());
}

std::string PigeonsConvert::DecodeColour(RingValue& value) {
    std::string colour;
    for (int i = 0; i < 4; ++i) colour += Letter(value.ShiftRing(kLetterBits));
    return colour;
}

std::string PigeonsConvert::DecodeChip(const ChipRecord& chip) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string text;
    for (std::size_t k = 0; k < 4; ++k) {
        text += kHex[chip[k] >> 4];
        text += kHex[chip[k] & 15];
    }
    return text + "00";
}

PigeonsConvert::DecodedRing PigeonsConvert::Decode(const RingRecord& ring) const {
    RingValue value(ring);
    DecodedRing decoded;
    decoded.ring = DecodeRing(value);
    decoded.format = DecodeFormat(value);
    decoded.colour = DecodeColour(value);
    return decoded;
}

std::string PigeonsConvert::DecodePigeon(const RingRecord& ring, const ChipRecord& chip) const {
    const DecodedRing decoded = Decode(ring);
    std::string record(PigeonColumn::kRecordWidth, ' ');
    SetField(record, PigeonColumn::Ring, decoded.ring);
    SetField(record, PigeonColumn::ChipCode, DecodeChip(chip));
    SetField(record, PigeonColumn::Colour, decoded.colour);
    SetField(record, PigeonColumn::RingFormat, decoded.format);
    return record;
}

} // namespace plumet
