#include <gtest/gtest.h>

#include <algorithm>

#include "clock/pigeonsconvert.h"

namespace plumet {
namespace {

const PigeonsConvert kConvert(SexTexts{"M", "W", "-"});

struct Golden {
    const char* record;
    RingRecord ring;
    const char* readBack; // what the clock's records decode to
};

// Ring bytes worked out independently, as one 120-bit number.
const Golden kGolden[] = {
    {"NL      05     1234567M1300000000BLAU00",
     {53, 48, 1, 120, 86, 52, 2, 0, 0, 0, 28, 1, 0, 0, 115},
     "NL      05     1234567M1300000000BLAU00"},
    {"DV    20050815    1234WABCDEF0123RT  01",
     {0, 80, 25, 69, 35, 0, 0, 128, 220, 184, 157, 2, 0, 128, 37},
     "DV    20050815    1234WABCDEF0100RT  01"},
    {"GB      98ABCD  123456-0012345678    02",
     {0, 0, 32, 103, 69, 35, 0, 16, 131, 16, 0, 0, 0, 128, 56},
     "GB      98ABCD  123456-0012345600    02"},
    {"ZA    2029WX12  654321 FF00000000GRIZ04",
     {58, 201, 67, 50, 84, 118, 0, 116, 28, 118, 253, 0, 0, 64, 208},
     "ZA    2029WX12  654321-FF00000000GRIZ04"}, // blank sex comes back as no sex
    {"CHN     29AB   1234567W1300000000SW  10",
     {0, 220, 169, 120, 86, 52, 2, 0, 128, 16, 124, 2, 0, 28, 26},
     "CHN     29AB   1234567W1300000000SW  10"},
};

TEST(PigeonsConvert, CodesGoldenRecordsAndReadsThemBack) {
    for (const Golden& g : kGolden) {
        SCOPED_TRACE(g.record);
        const auto ring = kConvert.EncodeRing(g.record);
        const auto chip = PigeonsConvert::EncodeChip(g.record);
        ASSERT_TRUE(ring && chip);
        EXPECT_EQ(*ring, g.ring);
        EXPECT_EQ(kConvert.DecodePigeon(*ring, *chip), g.readBack);
    }
}

// The ring value of a record with its top `bits` bits shifted out.
RingValue Skipped(const std::string& record, int bits) {
    RingValue value(*kConvert.EncodeRing(record));
    for (; bits > 0; bits -= 8) value.ShiftRing(std::min(bits, 8));
    return value;
}

TEST(PigeonsConvert, FieldCodesFromTheTopOfTheRingValue) {
    RingValue value = Skipped("DV    20050815    1234WABCDEF0123RT  01", 0);
    for (const int expected : {4, 22, 0, 0, 0, 0}) EXPECT_EQ(value.ShiftRing(5), expected);
    EXPECT_EQ(value.ShiftRing(2), 2); // the female character
    EXPECT_EQ(value.ShiftRing(6), 39);
    for (const int expected : {27, 35, 28, 32, 0}) EXPECT_EQ(value.ShiftRing(6), expected); // "0815 "

    EXPECT_EQ(Skipped("GB      05ABCD  123456-0012345678    02", 32).ShiftRing(6), 7);
    RingValue organisation = Skipped("B       050123 1234567M1300000000    00", 38);
    for (const int expected : {27, 28, 29, 30, 0}) EXPECT_EQ(organisation.ShiftRing(6), expected);
}

TEST(PigeonsConvert, YearsOfBothFormsAndTheirLimits) {
    const auto yearOf = [](const char* year) {
        std::string record = std::string("NL    ") + year + "     1234567M1300000000    00";
        return kConvert.Decode(*kConvert.EncodeRing(record)).ring.substr(6, 4);
    };
    EXPECT_EQ(yearOf("2005"), "2005");
    EXPECT_EQ(yearOf("  05"), "  05");
    EXPECT_EQ(yearOf("  98"), "  98");
    EXPECT_EQ(yearOf("  99"), "  99");
    EXPECT_EQ(yearOf("1998"), "1998");
    EXPECT_EQ(yearOf("2029"), "2029");
    // Outside what six bits hold the record is refused instead of spilling into the sex bits.
    for (const char* bad : {"1997", "2030", "  30", "  97", "    ", "  ab"}) {
        std::string record = std::string("NL    ") + bad + "     1234567M1300000000    00";
        EXPECT_FALSE(kConvert.EncodeRing(record)) << bad;
    }
}

TEST(PigeonsConvert, SexCodes) {
    const auto sexCode = [](char sex) {
        std::string record = "NL      05     1234567 1300000000    00";
        record[22] = sex;
        return Skipped(record, 30).ShiftRing(2);
    };
    EXPECT_EQ(sexCode(' '), 0);
    EXPECT_EQ(sexCode('M'), 1);
    EXPECT_EQ(sexCode('W'), 2);
    EXPECT_EQ(sexCode('-'), 0); // the no-sex character stays no sex
    EXPECT_EQ(sexCode('X'), 2);
    EXPECT_EQ(sexCode('m'), 2);

    // Code 3 is never produced; it reads back as a blank, keeping the record's length. The
    // sex bits sit right below the 30 nation bits: bits 89 and 88, the low bits of byte 12.
    RingRecord three{};
    three[11] = 0x03;
    EXPECT_EQ(kConvert.Decode(three).ring, std::string(22, ' ').replace(6, 4, "  98") + " ");

    // A catalogue without sex texts leaves blanks.
    const PigeonsConvert bare(SexTexts{});
    EXPECT_EQ(bare.Decode(*bare.EncodeRing("NL      05     1234567M1300000000    00")).ring[22], ' ');
}

TEST(PigeonsConvert, ChipCodes) {
    EXPECT_EQ(*PigeonsConvert::EncodeChip("NL      05     1234567M1300000000BLAU00"), (ChipRecord{19, 0, 0, 0, 0}));
    EXPECT_EQ(PigeonsConvert::DecodeChip({171, 205, 239, 1, 35}), "ABCDEF0100");
    EXPECT_EQ(PigeonsConvert::DecodeChip({0xFF, 0x80, 0x7F, 0x00, 0xFF}), "FF807F0000");
    for (const char* bad : {"13000000 0", "abcdef0123", "13000000G0", "1300"}) {
        const std::string record = std::string("NL      05     1234567M") + bad + "BLAU00";
        EXPECT_FALSE(PigeonsConvert::EncodeChip(record)) << bad;
    }
}

TEST(PigeonsConvert, CharactersOutsideTheCodesComeBackBlank) {
    // Lower case, bytes from 128 up and punctuation all code as 0.
    const std::string record = "dv\xC4\xE9  2005\xFC" "a-1 12\xB3" "4567M1300000000bL\xC9U00";
    const auto ring = kConvert.EncodeRing(record);
    ASSERT_TRUE(ring);
    const auto decoded = kConvert.Decode(*ring);
    EXPECT_EQ(decoded.ring, "      2005   1 12 4567M");
    EXPECT_EQ(decoded.colour, " L U");
}

TEST(PigeonsConvert, RingFormatsAndShortRecords) {
    const auto formatOf = [](const char* format) {
        return kConvert.EncodeRing(std::string("NL      05     1234567M1300000000    ") + format);
    };
    EXPECT_EQ(kConvert.Decode(*formatOf("15")).format, "15");
    EXPECT_EQ(kConvert.Decode(*formatOf("07")).format, "07");
    EXPECT_FALSE(formatOf("16"));
    EXPECT_FALSE(formatOf("  "));
    EXPECT_FALSE(formatOf("x1"));
    EXPECT_FALSE(kConvert.EncodeRing("NL      05     1234567M"));
}

TEST(RingValue, ShiftCarriesTheTopBitsMostSignificantFirst) {
    RingRecord bytes{};
    bytes[14] = 0xA0; // 101 at the top
    bytes[0] = 0x81;
    RingValue value(bytes);
    EXPECT_EQ(value.ShiftRing(3), 0b101);
    EXPECT_EQ(value.Bytes()[14], 0x00);
    EXPECT_EQ(value.Bytes()[1], 0x04); // the top bit of byte 1 moved up
    EXPECT_EQ(value.Bytes()[0], 0x08);
    EXPECT_EQ(value.ShiftRing(8), 0);
}

} // namespace
} // namespace plumet
