#pragma once
// Latitude and longitude as they are typed and stored: a sign character followed by
// zero-padded degrees, minutes, seconds and hundredths of a second, no separators.
// Latitude "N51301525" is 9 characters, longitude "E007050000" is 10.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/records/coordinatecolumns.h"

namespace plumet {

enum class Axis { Latitude, Longitude };

inline constexpr std::size_t kLatitudeTextLength = LatitudeColumn::kRecordWidth;
inline constexpr std::size_t kLongitudeTextLength = LongitudeColumn::kRecordWidth;
// Minutes, seconds and hundredths; degrees are 2 (latitude) or 3 (longitude) wide.
inline constexpr std::size_t kCoordinatePartWidth = LatitudeColumn::Minutes.width();

std::size_t DegreesWidth(Axis axis);
std::size_t CoordinateTextLength(Axis axis);

// The five entry fields of one axis, in entry order.
struct CoordinateFields {
    std::string sign;
    std::string degrees;
    std::string minutes;
    std::string seconds;
    std::string hundredths;
    bool operator==(const CoordinateFields&) const = default;
};

struct PositionFields {
    CoordinateFields latitude;
    CoordinateFields longitude;
    bool operator==(const PositionFields&) const = default;
};

// Listed in the order in which the checks run.
enum class CoordinatePart {
    LatitudeDegrees,
    LatitudeMinutes,
    LatitudeSeconds,
    LatitudeHundredths,
    LatitudeSign,
    LongitudeDegrees,
    LongitudeMinutes,
    LongitudeSeconds,
    LongitudeHundredths,
    LongitudeSign,
};

// Each takes a field text; a text that is not a whole number answers false.
bool IsValidLatitudeDegrees(std::string_view text);  // below 90
bool IsValidLongitudeDegrees(std::string_view text); // below 180
bool IsValidMinutes(std::string_view text);          // below 60
bool IsValidSeconds(std::string_view text);          // below 60
bool IsValidHundredths(std::string_view text);       // below 100
bool IsValidLatitudeSign(std::string_view text);     // exactly "N", "S", "+" or "-"
bool IsValidLongitudeSign(std::string_view text);    // exactly "E", "W", "+" or "-"

// The first part that fails, checking in CoordinatePart order; nothing when all pass.
// A number part must also be digits of exactly its width, so the stored text keeps its length.
std::optional<CoordinatePart> FirstInvalidPart(const PositionFields& fields);

// Sign + degrees + minutes + seconds + hundredths, as stored.
std::string CoordinateText(const CoordinateFields& fields);
// The fields of a stored text, column by column, as they stand.
CoordinateFields SplitCoordinateText(std::string_view text, Axis axis);
// The fields shown for a stored text: blank parts show as "N" or "W" and zeros.
CoordinateFields CoordinateFieldsForDisplay(std::string_view text, Axis axis);
// "N" or "W" and zeros: a position not yet known.
CoordinateFields DefaultCoordinateFields(Axis axis);

// Signed decimal degrees: degrees + minutes/60 + seconds/3600 + hundredths/360000, negative
// for the signs "-", "S" and "W". A text of any length but 9 or 10 is 0 degrees; a part
// that holds no digits counts as 0.
double CoordinateToDegrees(std::string_view text);
// The text with its hemisphere letter replaced by "+" (N, E) or "-" (S, W) for its axis.
std::string WithPlusMinusSign(std::string_view text, Axis axis);

// Key filters of the sign fields. The release point dialogs take capitals only; the loft
// fields of the fancier dialogs also take lower-case letters and turn them into capitals.
std::optional<char> LatitudeSignKey(char32_t key);
std::optional<char> LongitudeSignKey(char32_t key);
std::optional<char> LoftLatitudeSignKey(char32_t key);
std::optional<char> LoftLongitudeSignKey(char32_t key);

enum class SignLetters { CapitalsOnly, FoldLowerCase };

// Leaving a number part: trimmed and padded on the left with "0"; empty becomes all zeros.
std::string CoordinateNumberOnLeave(std::string_view text, std::size_t width);
// Leaving a sign field: trimmed; empty becomes `whenEmpty`.
std::string SignOnLeave(std::string_view text, char whenEmpty, SignLetters letters);

// Every field as after leaving it, before the checks run on save.
PositionFields PositionOnSave(const PositionFields& fields, char latitudeWhenEmpty, char longitudeWhenEmpty,
                              SignLetters letters);

} // namespace plumet
