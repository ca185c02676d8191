#include "core/registers/rings.h"

#include <array>

#include "core/app/fixedwidth.h"

namespace plumet {
namespace {

struct FormatInfo {
    std::string_view pattern;
    std::size_t organisationWidth;
    std::size_t ringNumberWidth;
};

constexpr std::array<FormatInfo, kRingFormatCount> kFormats = {{
    {"NNNNNJJ LLLLLLLG", 0, 7},
    {"NNVVVVV JJ LLLLG", 5, 4},
    {"NNNVVVVJJLLLLLLG", 4, 6},
    {"NNNNVVVJJLLLLLLG", 4, 6},
    {"NNNJJVVVVLLLLLLG", 4, 6},
    {"NNNNJJVVVLLLLLLG", 3, 7},
    {"NNNNNLLLLLLL/JJG", 0, 7},
    {"NNNNVVLLLLLLLJJG", 3, 7},
    {"NNNNNLLLLLLL JJG", 0, 7},
    {"NNNNJJVVLLLLLVVG", 4, 6},
    {"NNNNVVJJLLLLLLLG", 2, 7},
}};

struct NationCodes {
    int format;
    std::array<std::string_view, 18> codes; // unused entries stay empty
};

constexpr std::array<NationCodes, kRingFormatCount> kNations = {{
    {0, {"B", "BE", "BELG", "BG", "BIH", "CRO", "F", "FRANCE", "FMC", "FN", "I", "L", "MK", "NL", "SERB", "T", "TW",
         "UK"}},
    {1, {"A", "ZK", "CZ", "D", "DV", "DK", "N"}},
    {2, {"BPU", "CH", "CS", "CU", "GB", "IF", "LTU", "NOK", "PL", "RP", "RUS", "S", "SK", "UA", "UKR", "X", "YKP"}},
    {3, {"ML", "MALTA", "SLO", "SLOV"}},
    {4, {"AU", "H", "HU", "IHU", "NAM", "SA", "SAD", "SAS", "SU", "US", "ZA", "ZAC", "ZAD", "ZAP", "ZIM"}},
    {5, {"NEHU", "NWHU", "SHU", "WHU"}},
    {6, {"BH", "E", "P", "RO", "YU"}},
    {7, {"GR"}},
    {8, {"TR"}},
    {9, {"JP"}},
    {10, {"CHN"}},
}};

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The year trimmed, its last n characters right-aligned with blanks.
std::string YearRight(std::string_view year, std::size_t n) {
    const std::string trimmed = TrimBlanks(year);
    const std::string_view tail =
        trimmed.size() > n ? std::string_view(trimmed).substr(trimmed.size() - n) : std::string_view(trimmed);
    return PadLeft(tail, n, ' ');
}

// `count` characters from `from` (0-based), fewer where the text ends.
std::string_view Piece(std::string_view text, std::size_t from, std::size_t count) {
    return from < text.size() ? text.substr(from, count) : std::string_view();
}

// The last n characters, padded on the left with blanks.
std::string LastPaddedLeft(std::string_view text, std::size_t n) {
    if (text.size() > n) text = text.substr(text.size() - n);
    return PadLeft(text, n, ' ');
}

} // namespace

RingParts RingPartsOfRecord(std::string_view ring23) {
    return {Field(ring23, PigeonColumn::Nation), Field(ring23, PigeonColumn::Year),
            Field(ring23, PigeonColumn::Organisation), Field(ring23, PigeonColumn::RingNumber),
            Field(ring23, PigeonColumn::Sex)};
}

bool IsRingFormat(int format) { return format >= 0 && format < kRingFormatCount; }

std::string_view RingFormatTemplate(int format) {
    return IsRingFormat(format) ? kFormats[static_cast<std::size_t>(format)].pattern : std::string_view();
}

std::size_t OrganisationWidthOnAdd(int format) {
    return IsRingFormat(format) ? kFormats[static_cast<std::size_t>(format)].organisationWidth : 0;
}

std::size_t RingNumberWidthOnAdd(int format) {
    return IsRingFormat(format) ? kFormats[static_cast<std::size_t>(format)].ringNumberWidth : 0;
}

int RingFormatOfText(std::string_view formatText) {
    const long long value = RingNumberValue(formatText);
    return value < kRingFormatCount ? static_cast<int>(value) : -1;
}

std::string RingFormatText(int format) { return ZeroPadded(format, PigeonColumn::RingFormat.width()); }

int TestKnownCountry(std::string_view nation) {
    const std::string code = NormaliseNation(nation);
    if (code.empty()) return 0;
    for (const auto& entry : kNations)
        for (const auto listed : entry.codes)
            if (!listed.empty() && listed == code) return entry.format;
    return -1;
}

int CurrentRingFormat(std::string_view nation, int selectedFormat) {
    const int listed = TestKnownCountry(nation);
    return listed >= 0 ? listed : selectedFormat;
}

std::string FitLeft(std::string_view text, std::size_t n) { return PadRight(text, n); }

std::string AlignRight(std::string_view text, std::size_t n) {
    if (text.size() >= n) return std::string(text.substr(text.size() - n));
    const bool padRight = !text.empty() && text.back() == ' ' && text.front() != ' ';
    return padRight ? PadRight(text, n) : PadLeft(text, n, ' ');
}

std::string UpperCaseAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (IsLower(c)) c = static_cast<char>(c - 'a' + 'A');
    return out;
}

long long RingNumberValue(std::string_view text) {
    constexpr long long kCeiling = 1'000'000'000'000'000LL; // far above any ring, below overflow
    long long value = 0;
    for (const char c : text) {
        if (c == ' ') continue;
        if (!IsDigit(c)) break;
        if (value < kCeiling) value = value * 10 + (c - '0');
    }
    return value;
}

std::size_t RingPartMaxLength(RingPart part) {
    switch (part) {
    case RingPart::Nation: return PigeonColumn::Nation.width();
    case RingPart::Year: return PigeonColumn::Year.width();
    case RingPart::Organisation: return PigeonColumn::Organisation.width();
    case RingPart::RingNumber: return PigeonColumn::RingNumber.width();
    }
    return 0;
}

std::optional<char> FilterRingKey(RingPart part, char key) {
    if (key == kBackspaceChar) return key;
    const bool letter = IsLower(key) || IsUpper(key);
    bool accepted = false;
    switch (part) {
    case RingPart::Nation: accepted = letter; break;
    case RingPart::Year: accepted = IsDigit(key); break;
    case RingPart::Organisation: accepted = letter || IsDigit(key) || key == ' '; break;
    case RingPart::RingNumber: accepted = IsDigit(key) || key == ' '; break;
    }
    if (!accepted) return std::nullopt;
    return IsLower(key) ? static_cast<char>(key - 'a' + 'A') : key;
}

std::string FilterRingText(RingPart part, std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (out.size() >= RingPartMaxLength(part)) break;
        const auto accepted = FilterRingKey(part, c);
        if (accepted && *accepted != kBackspaceChar) out += *accepted;
    }
    return out;
}

bool IsValidRingPartText(RingPart part, std::string_view text) {
    if (text.size() > RingPartMaxLength(part)) return false;
    for (const char c : text) {
        const auto accepted = FilterRingKey(part, c);
        if (!accepted || *accepted != c || c == kBackspaceChar) return false;
    }
    return true;
}

namespace {
std::optional<char> RingKey(RingPart part, char32_t key) {
    if (key > 0xFF) return std::nullopt;
    return FilterRingKey(part, static_cast<char>(static_cast<unsigned char>(key)));
}
} // namespace

std::optional<char> NationKey(char32_t key) { return RingKey(RingPart::Nation, key); }
std::optional<char> YearKey(char32_t key) { return RingKey(RingPart::Year, key); }
std::optional<char> OrganisationKey(char32_t key) { return RingKey(RingPart::Organisation, key); }
std::optional<char> RingNumberKey(char32_t key) { return RingKey(RingPart::RingNumber, key); }

std::string NormaliseNation(std::string_view nation) { return UpperCaseAscii(TrimBlanks(nation)); }

std::string DefaultYearText(int currentYear) { return ZeroPadded(((currentYear % 100) + 100) % 100, 2); }

std::string NormaliseYear(std::string_view year, int currentYear) {
    const std::string trimmed = TrimBlanks(year);
    if (trimmed.empty()) return DefaultYearText(currentYear);
    if (trimmed.size() == 1) return "0" + trimmed;
    if (trimmed.size() == 3) return "2" + trimmed;
    return trimmed;
}

long long RingYear(std::string_view year) {
    const std::string trimmed = TrimBlanks(year);
    const long long value = RingNumberValue(trimmed);
    if (trimmed.size() > 2) return value;
    return value >= 98 ? 1900 + value : 2000 + value;
}

bool IsAcceptedYear(std::string_view year) {
    const std::string trimmed = TrimBlanks(year);
    if (!IsAllDigits(trimmed) || (trimmed.size() != 2 && trimmed.size() != 4)) return false;
    const long long value = RingYear(trimmed);
    return value >= 1998 && value <= 2029;
}

std::string OrganisationWithNationRule(std::string_view nation, std::string_view organisation) {
    const std::string code = NormaliseNation(nation);
    std::string result(organisation);
    if ((code == "D" || code == "DV") && (result.empty() || result.front() != '0')) result.insert(0, "0");
    return UpperCaseAscii(result);
}

OrganisationAndNumber LeaveOrganisationField(std::string_view nation, std::string_view organisation,
                                             std::string_view ringNumber) {
    OrganisationAndNumber out{OrganisationWithNationRule(nation, organisation), std::string(ringNumber)};
    const std::size_t length = out.organisation.size();
    if ((length == 3 || length == 4) && out.ringNumber.size() >= 7)
        out.ringNumber = out.ringNumber.substr(out.ringNumber.size() - 6);
    else if (length == 5 && out.ringNumber.size() >= 5)
        out.ringNumber = out.ringNumber.substr(out.ringNumber.size() - 4);
    return out;
}

std::string OrganisationAfterRingNumber(std::string_view organisation, std::string_view ringNumber) {
    const std::size_t length = ringNumber.size();
    if (length == 0) return std::string(organisation);
    const std::size_t keep = length <= 4 ? 5 : length <= 6 ? 4 : 2;
    return std::string(organisation.substr(0, keep));
}

RingParts NormaliseRingForAdd(const RingParts& parts, int format) {
    RingParts out = parts;
    out.organisation = FitLeft(OrganisationWithNationRule(parts.nation, parts.organisation),
                               OrganisationWidthOnAdd(format));
    out.ringNumber = AlignRight(parts.ringNumber, RingNumberWidthOnAdd(format));
    return out;
}

std::string FormatRingText(int format, std::string_view nation, std::string_view year,
                           std::string_view organisation, std::string_view ringNumber, std::string_view sex) {
    if (!IsRingFormat(format)) return {};
    const std::string n6 = FitLeft(TrimBlanks(nation), 6);
    const std::string j4 = YearRight(year, 4);
    const std::string g = FitLeft(sex, 1);
    const auto v = [&](std::size_t k) { return FitLeft(organisation, k); };
    const auto l = [&](std::size_t k) { return AlignRight(ringNumber, k); };
    switch (format) {
    case 0: return n6 + j4 + "   " + l(7) + g;
    case 1: return n6 + v(5) + j4 + " " + l(4) + g;
    case 2:
    case 3: return n6 + v(4) + j4 + l(6) + g;
    case 4: return n6 + j4 + v(4) + l(6) + g;
    case 5: return n6 + j4 + v(3) + l(7) + g;
    case 6: return n6 + l(7) + "/" + j4 + "  " + g;
    case 7: return n6 + v(3) + l(7) + j4 + g;
    case 8: return n6 + "  " + l(7) + " " + j4 + g;
    case 9: // organisation split around the number; a short one leaves the second part blank
        return n6 + j4 + v(2) + l(5) + " " + FitLeft(Piece(organisation, 2, 2), 2) + g;
    default: return n6 + v(2) + j4 + " " + l(7) + g;
    }
}

std::string FormatRingText(int format, const RingParts& parts) {
    return FormatRingText(format, parts.nation, parts.year, parts.organisation, parts.ringNumber, parts.sex);
}

std::string FormatRingText(std::string_view ring23, std::string_view formatText) {
    return FormatRingText(RingFormatOfText(formatText), RingPartsOfRecord(ring23));
}

std::string FormatRingPreview(int format, std::string_view nation, std::string_view year,
                              std::string_view organisation, std::string_view ringNumber, std::string_view sex) {
    if (!IsRingFormat(format)) return {};
    const std::string_view pattern = RingFormatTemplate(format);
    const std::string nationText = TrimBlanks(nation);
    std::string out;
    std::size_t organisationUsed = 0; // the second V run of format 9 goes on from here
    for (std::size_t i = 0; i < pattern.size();) {
        const char letter = pattern[i];
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == letter) ++run;
        switch (letter) {
        case 'N': out += FitLeft(nationText, run); break;
        case 'V':
            out += FitLeft(Piece(organisation, organisationUsed, run), run);
            organisationUsed += run;
            break;
        case 'J': out += YearRight(year, run); break;
        case 'L': out += LastPaddedLeft(ringNumber, run); break;
        case 'G': out += FitLeft(sex, run); break;
        case ' ':
            // In format 0 the blank before the number belongs to it: up to eight characters show.
            if (i + run < pattern.size() && pattern[i + run] == 'L' && format == 0) {
                std::size_t numberRun = 0;
                while (i + run + numberRun < pattern.size() && pattern[i + run + numberRun] == 'L') ++numberRun;
                out += LastPaddedLeft(ringNumber, run + numberRun);
                run += numberRun;
                break;
            }
            out += std::string(run, ' ');
            break;
        default: out += std::string(run, letter); break;
        }
        i += run;
    }
    return out;
}

std::string FormatRingPreview(int format, const RingParts& parts) {
    return FormatRingPreview(format, parts.nation, parts.year, parts.organisation, parts.ringNumber, parts.sex);
}

RingPreviews RefreshRingPreviews(const RingParts& typed, int selectedFormat) {
    return RingPreviewsIn(typed, CurrentRingFormat(typed.nation, selectedFormat));
}

RingPreviews RingPreviewsIn(const RingParts& typed, int format) {
    return {format, FormatRingText(format, typed), FormatRingPreview(format, typed)};
}

} // namespace plumet
