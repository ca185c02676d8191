#include "core/records/coordinates.h"

#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"

namespace plumet {
namespace {

std::optional<long long> WholeNumber(std::string_view text) {
    const std::string trimmed = TrimBlanks(text);
    if (!IsAllDigits(trimmed)) return std::nullopt;
    return ParseInteger(trimmed);
}

bool WholeNumberBelow(std::string_view text, long long limit) {
    const auto value = WholeNumber(text);
    return value && *value < limit;
}

// Leading digits after blanks; a part that holds none counts as 0 (blank slots convert to 0).
double PartValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    double value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
    return value;
}

bool HasWidth(std::string_view text, std::size_t width) { return text.size() == width && IsAllDigits(text); }

std::optional<char> SignKey(char32_t key, std::string_view letters, bool foldLowerCase) {
    if (key == kBackspaceKey || key == U'+' || key == U'-') return static_cast<char>(key);
    if (key >= 0x80) return std::nullopt;
    char c = static_cast<char>(key);
    if (foldLowerCase && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (letters.find(c) != std::string_view::npos) return c;
    return std::nullopt;
}

struct AxisColumns {
    Column sign, degrees, minutes, seconds, hundredths;
};

constexpr AxisColumns kLatitudeColumns{LatitudeColumn::Sign, LatitudeColumn::Degrees, LatitudeColumn::Minutes,
                                       LatitudeColumn::Seconds, LatitudeColumn::Hundredths};
constexpr AxisColumns kLongitudeColumns{LongitudeColumn::Sign, LongitudeColumn::Degrees, LongitudeColumn::Minutes,
                                        LongitudeColumn::Seconds, LongitudeColumn::Hundredths};

const AxisColumns& ColumnsOf(Axis axis) { return axis == Axis::Latitude ? kLatitudeColumns : kLongitudeColumns; }

} // namespace

std::size_t DegreesWidth(Axis axis) { return ColumnsOf(axis).degrees.width(); }

std::size_t CoordinateTextLength(Axis axis) {
    return axis == Axis::Latitude ? kLatitudeTextLength : kLongitudeTextLength;
}

bool IsValidLatitudeDegrees(std::string_view text) { return WholeNumberBelow(text, 90); }
bool IsValidLongitudeDegrees(std::string_view text) { return WholeNumberBelow(text, 180); }
bool IsValidMinutes(std::string_view text) { return WholeNumberBelow(text, 60); }
bool IsValidSeconds(std::string_view text) { return WholeNumberBelow(text, 60); }
bool IsValidHundredths(std::string_view text) { return WholeNumberBelow(text, 100); }

bool IsValidLatitudeSign(std::string_view text) {
    return text == "S" || text == "N" || text == "+" || text == "-";
}

bool IsValidLongitudeSign(std::string_view text) {
    return text == "E" || text == "W" || text == "+" || text == "-";
}

std::optional<CoordinatePart> FirstInvalidPart(const PositionFields& fields) {
    const CoordinateFields& lat = fields.latitude;
    const CoordinateFields& lon = fields.longitude;
    constexpr std::size_t w = kCoordinatePartWidth;
    if (!HasWidth(lat.degrees, LatitudeColumn::Degrees.width()) || !IsValidLatitudeDegrees(lat.degrees))
        return CoordinatePart::LatitudeDegrees;
    if (!HasWidth(lat.minutes, w) || !IsValidMinutes(lat.minutes)) return CoordinatePart::LatitudeMinutes;
    if (!HasWidth(lat.seconds, w) || !IsValidSeconds(lat.seconds)) return CoordinatePart::LatitudeSeconds;
    if (!HasWidth(lat.hundredths, w) || !IsValidHundredths(lat.hundredths)) return CoordinatePart::LatitudeHundredths;
    if (!IsValidLatitudeSign(lat.sign)) return CoordinatePart::LatitudeSign;
    if (!HasWidth(lon.degrees, LongitudeColumn::Degrees.width()) || !IsValidLongitudeDegrees(lon.degrees))
        return CoordinatePart::LongitudeDegrees;
    if (!HasWidth(lon.minutes, w) || !IsValidMinutes(lon.minutes)) return CoordinatePart::LongitudeMinutes;
    if (!HasWidth(lon.seconds, w) || !IsValidSeconds(lon.seconds)) return CoordinatePart::LongitudeSeconds;
    if (!HasWidth(lon.hundredths, w) || !IsValidHundredths(lon.hundredths)) return CoordinatePart::LongitudeHundredths;
    if (!IsValidLongitudeSign(lon.sign)) return CoordinatePart::LongitudeSign;
    return std::nullopt;
}

std::string CoordinateText(const CoordinateFields& fields) {
    return fields.sign + fields.degrees + fields.minutes + fields.seconds + fields.hundredths;
}

CoordinateFields SplitCoordinateText(std::string_view text, Axis axis) {
    const AxisColumns& c = ColumnsOf(axis);
    return {Field(text, c.sign), Field(text, c.degrees), Field(text, c.minutes), Field(text, c.seconds),
            Field(text, c.hundredths)};
}

CoordinateFields CoordinateFieldsForDisplay(std::string_view text, Axis axis) {
    CoordinateFields shown = SplitCoordinateText(text, axis);
    const CoordinateFields defaults = DefaultCoordinateFields(axis);
    auto fill = [](std::string& part, const std::string& fallback) {
        part = TrimBlanks(part);
        if (part.empty()) part = fallback;
    };
    fill(shown.sign, defaults.sign);
    fill(shown.degrees, defaults.degrees);
    fill(shown.minutes, defaults.minutes);
    fill(shown.seconds, defaults.seconds);
    fill(shown.hundredths, defaults.hundredths);
    return shown;
}

CoordinateFields DefaultCoordinateFields(Axis axis) {
    return {axis == Axis::Latitude ? "N" : "W", std::string(DegreesWidth(axis), '0'), "00", "00", "00"};
}

double CoordinateToDegrees(std::string_view text) {
    if (text.size() != kLatitudeTextLength && text.size() != kLongitudeTextLength) return 0.0;
    const AxisColumns& c = ColumnsOf(text.size() == kLatitudeTextLength ? Axis::Latitude : Axis::Longitude);
    const double degrees = PartValue(Field(text, c.degrees)) + PartValue(Field(text, c.minutes)) / 60.0 +
                           PartValue(Field(text, c.seconds)) / 3600.0 + PartValue(Field(text, c.hundredths)) / 360000.0;
    const char sign = text.front();
    return (sign == '-' || sign == 'S' || sign == 'W') ? -degrees : degrees;
}

std::string WithPlusMinusSign(std::string_view text, Axis axis) {
    std::string out(text);
    if (out.empty()) return out;
    const char positive = axis == Axis::Latitude ? 'N' : 'E';
    const char negative = axis == Axis::Latitude ? 'S' : 'W';
    if (out.front() == positive) out.front() = '+';
    else if (out.front() == negative) out.front() = '-';
    return out;
}

std::optional<char> LatitudeSignKey(char32_t key) { return SignKey(key, "NS", false); }
std::optional<char> LongitudeSignKey(char32_t key) { return SignKey(key, "EW", false); }
std::optional<char> LoftLatitudeSignKey(char32_t key) { return SignKey(key, "NS", true); }
std::optional<char> LoftLongitudeSignKey(char32_t key) { return SignKey(key, "EW", true); }

std::string CoordinateNumberOnLeave(std::string_view text, std::size_t width) {
    return PadLeft(TrimBlanks(text), width, '0');
}

std::string SignOnLeave(std::string_view text, char whenEmpty, SignLetters letters) {
    std::string sign = TrimBlanks(text);
    if (sign.empty()) return std::string(1, whenEmpty);
    if (letters == SignLetters::FoldLowerCase)
        for (char& c : sign)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return sign;
}

PositionFields PositionOnSave(const PositionFields& fields, char latitudeWhenEmpty, char longitudeWhenEmpty,
                              SignLetters letters) {
    auto axisOnSave = [letters](const CoordinateFields& in, Axis axis, char whenEmpty) {
        return CoordinateFields{SignOnLeave(in.sign, whenEmpty, letters),
                                CoordinateNumberOnLeave(in.degrees, DegreesWidth(axis)),
                                CoordinateNumberOnLeave(in.minutes, kCoordinatePartWidth),
                                CoordinateNumberOnLeave(in.seconds, kCoordinatePartWidth),
                                CoordinateNumberOnLeave(in.hundredths, kCoordinatePartWidth)};
    };
    return {axisOnSave(fields.latitude, Axis::Latitude, latitudeWhenEmpty),
            axisOnSave(fields.longitude, Axis::Longitude, longitudeWhenEmpty)};
}

} // namespace plumet
