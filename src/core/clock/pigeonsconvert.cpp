#include "core/clock/pigeonsconvert.h"

#include "core/app/fixedwidth.h"

namespace plumet {

namespace {

constexpr int kLetterBits = 5;
constexpr int kSexBits = 2;
constexpr int kYearBits = 6;
constexpr int kOrganisationBits = 6;
constexpr int kDigitBits = 4;
constexpr int kFormatBits = 4;

char SexCharacter(const std::string& text) { return text.empty() ? ' ' : text.front(); }

char At(std::string_view record, std::size_t position) {
    return position <= record.size() ? record[position - 1] : ' ';
}

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
    return "  " + ZeroPadded(year < 100 ? year : year - 100, 2);
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
    const auto year = YearCode(Mid(record, 7, 10));
    const std::string formatText = TrimBlanks(Mid(record, 38, 39));
    if (!year || !IsAllDigits(formatText)) return std::nullopt;
    const long long format = *ParseInteger(formatText);
    if (format > kHighestRingFormat) return std::nullopt;

    // A no-sex pigeon must come back as one, whatever character the catalogue gives it.
    const char sex = At(record, 23);
    const std::uint8_t sexCode = sex == ' ' ? 0 : sex == male_ ? 1 : sex == none_ ? 0 : 2;

    RingValue value;
    bool first = true;
    const auto put = [&](int bits, std::uint8_t code) {
        if (!first) value.ShiftRing(bits);
        first = false;
        value.Combine(code);
    };
    for (std::size_t p = 1; p <= 6; ++p) put(kLetterBits, LetterCode(At(record, p)));
    put(kSexBits, sexCode);
    put(kYearBits, *year);
    for (std::size_t p = 11; p <= 15; ++p) put(kOrganisationBits, OrganisationCode(At(record, p)));
    for (std::size_t p = 16; p <= 22; ++p) put(kDigitBits, DigitCode(At(record, p)));
    put(kFormatBits, static_cast<std::uint8_t>(format));
    for (std::size_t p = 34; p <= 37; ++p) put(kLetterBits, LetterCode(At(record, p)));
    return value.Bytes();
}

std::optional<ChipRecord> PigeonsConvert::EncodeChip(std::string_view record) {
    if (record.size() < 33) return std::nullopt;
    ChipRecord chip{};
    for (std::size_t k = 0; k < 5; ++k) {
        const int high = HexValue(record[23 + 2 * k]);
        const int low = HexValue(record[24 + 2 * k]);
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
    return nation + year + organisation + ring + sex;
}

std::string PigeonsConvert::DecodeFormat(RingValue& value) { return ZeroPadded(value.ShiftRing(kFormatBits), 2); }

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
    return decoded.ring + DecodeChip(chip) + decoded.colour + decoded.format;
}

} // namespace plumet
