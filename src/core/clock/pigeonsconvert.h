#pragma once
// The clock's pigeon records: a 15-byte ring record that packs ring, sex, year, ring format
// and colour into 120 bits, and a 5-byte chip record; coded from and back into the
// 39-character pigeon record of the register.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/catalogue.h"

namespace plumet {

// Byte 1 (index 0) is the least significant byte of the ring value and goes first on the wire.
using RingRecord = std::array<std::uint8_t, 15>;
using ChipRecord = std::array<std::uint8_t, 5>;

// The catalogue texts "frmMain.MaleSex", "frmMain.FemaleSex" and "frmMain.NoSex"; the first
// character of each is what a pigeon record holds at position 23. An empty text stands for
// a blank.
struct SexTexts {
    std::string male;
    std::string female;
    std::string none;
};
SexTexts CatalogueSexTexts(const TextCatalogue& catalogue);

// The ring value while it is decoded field by field from the top.
class RingValue {
public:
    RingValue() = default;
    explicit RingValue(const RingRecord& bytes) : bytes_(bytes) {}

    // Shifts left by n bits (1 to 8); the bits that leave the top become the carry, the
    // first one out the most significant. Returns the carry.
    std::uint8_t ShiftRing(int n);
    // Ors a value into the low bits, which a shift has cleared.
    void Combine(std::uint8_t value) { bytes_[0] |= value; }
    std::uint8_t Carry() const { return carry_; }
    const RingRecord& Bytes() const { return bytes_; }

private:
    RingRecord bytes_{};
    std::uint8_t carry_ = 0;
};

// Ring formats take four bits of the ring record.
inline constexpr long long kHighestRingFormat = 15;

class PigeonsConvert {
public:
    explicit PigeonsConvert(SexTexts sexes);

    // From positions 1-23, 34-37 and 38-39. Nothing when the year is not one the six bits
    // can carry (98, 99, 00-29 or 1998-2029) or the ring format is not a number 0 to 15:
    // coding them anyway would spill into the neighbouring fields.
    std::optional<RingRecord> EncodeRing(std::string_view pigeonRecord) const;
    // From positions 24-33. Nothing unless they are ten digits 0-9 or A-F.
    static std::optional<ChipRecord> EncodeChip(std::string_view pigeonRecord);

    // Call in this order on a fresh value: ring (positions 1-23), format (2), colour (4).
    std::string DecodeRing(RingValue& value) const;
    static std::string DecodeFormat(RingValue& value);
    static std::string DecodeColour(RingValue& value);
    // Bytes 1-4 as upper-case hex, then "00": the clock's fifth byte is not used.
    static std::string DecodeChip(const ChipRecord& chip);

    struct DecodedRing {
        std::string ring;   // positions 1-23
        std::string format; // 2 digits
        std::string colour; // 4 characters
    };
    DecodedRing Decode(const RingRecord& ring) const;
    // The 39-character pigeon record.
    std::string DecodePigeon(const RingRecord& ring, const ChipRecord& chip) const;

private:
    char male_;
    char female_;
    char none_;
};

} // namespace plumet
