#pragma once
// Federation ring numbers: the parts of a ring, the eleven ring formats, the nation table,
// the normalisation of typed rings and the two text forms (display and template).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/fieldrules.h"
#include "core/registers/pigeoncolumns.h"

namespace plumet {

inline constexpr int kRingFormatCount = 11;         // formats 0 to 10
inline constexpr std::size_t kRingTextLength = 21;    // display form
inline constexpr std::size_t kRingPreviewLength = 16; // template form
inline constexpr std::size_t kRingRecordLength = PigeonColumn::Ring.width();

// The parts of one ring as typed or as stored (the ring of a pigeon record).
struct RingParts {
    std::string nation;
    std::string year;
    std::string organisation;
    std::string ringNumber;
    std::string sex;
};

// Splits the ring of a pigeon record (or of a read-out line) into its parts, exactly as
// stored (padding kept).
RingParts RingPartsOfRecord(std::string_view ring23);

// ---- Formats -------------------------------------------------------------------------

bool IsRingFormat(int format);
// The 16-character template ("NNNNNJJ LLLLLLLG"), also the default option caption; "" outside 0-10.
std::string_view RingFormatTemplate(int format);
// Widths the add applies to the organisation and the ring number; 0 outside 0-10.
std::size_t OrganisationWidthOnAdd(int format);
std::size_t RingNumberWidthOnAdd(int format);

// The format stored as two characters (the last field of a pigeon record): leading blanks
// skipped, the digits read as a number, no digits count as 0. Outside 0-10 gives -1.
int RingFormatOfText(std::string_view formatText);
// "00" to "10".
std::string RingFormatText(int format);

// The format a nation code selects by itself: the whole trimmed upper-case nation is
// looked up; the empty nation selects 0; an unlisted code gives -1.
int TestKnownCountry(std::string_view nation);
// The format the add dialog shows: the listed nation's own format, else the user's choice.
int CurrentRingFormat(std::string_view nation, int selectedFormat);

// ---- Text helpers ---------------------------------------------------------------------

// The first n characters, padded on the right with blanks to n.
std::string FitLeft(std::string_view text, std::size_t n);
// The last n characters; a shorter text is padded with blanks on the right when it ends
// with a blank and does not begin with one, otherwise on the left.
std::string AlignRight(std::string_view text, std::size_t n);
// ASCII letters to upper case; every other byte as it is.
std::string UpperCaseAscii(std::string_view text);

// Numeric value as the ring comparisons use it: blanks anywhere are skipped, digits are
// read up to the first other character; no digits give 0.
long long RingNumberValue(std::string_view text);

// ---- Entry rules ----------------------------------------------------------------------

enum class RingPart { Nation, Year, Organisation, RingNumber };


// The most characters a ring field holds: the width of its place in the record.
std::size_t RingPartMaxLength(RingPart part);
// The character a key puts into the field (lower case made upper where the field wants it),
// Backspace as it is, or nothing when the field refuses the key.
std::optional<char> FilterRingKey(RingPart part, char key);
// The same rule over a whole text (pasted or set): refused characters dropped, cut to the
// field's length.
std::string FilterRingText(RingPart part, std::string_view text);
// Whether a text holds only characters the field accepts and fits its length.
bool IsValidRingPartText(RingPart part, std::string_view text);

// FilterRingKey as the shared field widget calls it, one per field; a code point beyond
// one byte is refused.
std::optional<char> NationKey(char32_t key);
std::optional<char> YearKey(char32_t key);
std::optional<char> OrganisationKey(char32_t key);
std::optional<char> RingNumberKey(char32_t key);

// ---- Normalisation in the add dialog --------------------------------------------------

// Nation on leaving the field: trimmed, upper case.
std::string NormaliseNation(std::string_view nation);
// The year field's text when the dialog opens: the last two digits of the year.
std::string DefaultYearText(int currentYear);
// Year on leaving the field: trimmed; empty becomes DefaultYearText; one digit gets a
// leading "0", three digits a leading "2".
std::string NormaliseYear(std::string_view year, int currentYear);
// The calendar year a ring's year stands for, blanks aside: two digits (or one) count as
// 1998 and 1999 for 98 and 99 and as 2000 onwards otherwise; four digits as they stand.
long long RingYear(std::string_view year);
// Two or four digits whose ring year lies from 1998 to 2029 (00-29, 98, 99, 1998-2029).
bool IsAcceptedYear(std::string_view year);

// Organisation "D" and "DV" rule: a leading "0" (empty becomes "0"), then upper case.
std::string OrganisationWithNationRule(std::string_view nation, std::string_view organisation);

struct OrganisationAndNumber {
    std::string organisation;
    std::string ringNumber;
};
// On leaving the organisation: the nation rule, then a long ring number is cut to its last
// 6 (organisation of 3 or 4) or last 4 (organisation of 5) characters.
OrganisationAndNumber LeaveOrganisationField(std::string_view nation, std::string_view organisation,
                                             std::string_view ringNumber);
// On leaving a non-empty ring number: the organisation is cut to its first 5, 4 or 2
// characters for a ring number of 1-4, 5-6 or 7 characters.
std::string OrganisationAfterRingNumber(std::string_view organisation, std::string_view ringNumber);

// Before a record is built: the nation rule again, then the organisation fitted and the
// ring number aligned to the format's widths (formats 0, 6 and 8 lose the organisation).
RingParts NormaliseRingForAdd(const RingParts& parts, int format);

// ---- Text forms -----------------------------------------------------------------------

// The 21-character display form used by every list, printout and export; "" outside 0-10.
std::string FormatRingText(int format, std::string_view nation, std::string_view year,
                           std::string_view organisation, std::string_view ringNumber, std::string_view sex);
std::string FormatRingText(int format, const RingParts& parts);
// From a stored 23-character ring and its two-character format text.
std::string FormatRingText(std::string_view ring23, std::string_view formatText);

// The 16-character form that follows the format's template letter by letter; "" outside 0-10.
std::string FormatRingPreview(int format, std::string_view nation, std::string_view year,
                              std::string_view organisation, std::string_view ringNumber, std::string_view sex);
std::string FormatRingPreview(int format, const RingParts& parts);

// What the add dialog shows after a ring field was left or an option chosen.
struct RingPreviews {
    int format = 0;           // the option to select
    std::string displayForm;  // first preview
    std::string templateForm; // second preview
};
// The format is picked again (a listed nation brings its own) only when a field is left or
// an option chosen; while the user types, the previews follow in the selected format.
RingPreviews RefreshRingPreviews(const RingParts& typed, int selectedFormat);
RingPreviews RingPreviewsIn(const RingParts& typed, int format);

} // namespace plumet
