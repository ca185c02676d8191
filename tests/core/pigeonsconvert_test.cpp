#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <sstream>

#include "core/app/fixedwidth.h"
#include "core/clock/pigeonsconvert.h"
#include "core/registers/pigeons.h"
#include "testfolder.h"

namespace plumet {
namespace {

const PigeonsConvert kConvert(SexTexts{"M", "W", "-"});

// Each line: a record, what it reads back as (a blank sex comes back as no sex, the chip's last
// byte as 00) and its ring record, worked out independently as one 120-bit number.
TEST(PigeonsConvert, CodesTheWorkedExamplesAndReadsThemBack) {
    for (const std::string& line : SplitLines(TestData("pigeons/convert.txt"))) {
        const std::string record = line.substr(0, kPigeonRecordLength);
        std::istringstream numbers(line.substr(2 * kPigeonRecordLength + 2));
        RingRecord expected{};
        for (auto& byte : expected) byte = static_cast<std::uint8_t>(*std::istream_iterator<int>(numbers));
        const auto ring = kConvert.EncodeRing(record);
        const auto chip = PigeonsConvert::EncodeChip(record);
        ASSERT_TRUE(ring && chip) << record;
        EXPECT_EQ(*ring, expected) << record;
        EXPECT_EQ(kConvert.DecodePigeon(*ring, *chip), line.substr(kPigeonRecordLength + 1, kPigeonRecordLength));
    }
}

TEST(PigeonsConvert, RandomRecordsOfAllElevenFormatsRoundTrip) {
    std::mt19937 random(20080604);
    const auto pick = [&](std::string_view from, std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) text += from[random() % from.size()];
        return text;
    };
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int format = 0; format < 11; ++format)
        for (int i = 0; i < 50; ++i) {
            const int year = static_cast<int>(random() % 32);
            const std::string record =
                PadRight(pick(letters, 1 + random() % 6), 6) +
                (random() % 2 ? std::to_string(1998 + year) : "  " + ZeroPadded((98 + year) % 100, 2)) +
                PadRight(pick(letters + "0123456789", random() % 6), 5) +
                PadLeft(pick("0123456789", 1 + random() % 7), 7, ' ') + pick("MW- ", 1) +
                (random() % 2 ? "1300000000" : pick("0123456789ABCDEF", 8) + "00") +
                PadRight(pick(letters, random() % 5), 4) + ZeroPadded(format, 2);
            std::string expected = record;
            if (expected[22] == ' ') expected[22] = '-';
            EXPECT_EQ(kConvert.DecodePigeon(*kConvert.EncodeRing(record), *PigeonsConvert::EncodeChip(record)),
                      expected);
        }
}

TEST(PigeonsConvert, RefusesWhatWouldSpillIntoOtherBitsAndBlanksWhatHasNoCode) {
    for (const char* year : {"1997", "2030", "  30", "  97", "    ", "  ab"})
        EXPECT_FALSE(kConvert.EncodeRing(std::string("NL    ") + year + "     1234567M1300000000    00")) << year;
    for (const char* format : {"16", "  ", "x1"})
        EXPECT_FALSE(kConvert.EncodeRing(std::string("NL      05     1234567M1300000000    ") + format));
    EXPECT_FALSE(kConvert.EncodeRing("NL      05     1234567M"));
    for (const char* chip : {"13000000 0", "abcdef0123", "13000000G0", "1300"})
        EXPECT_FALSE(PigeonsConvert::EncodeChip(std::string("NL      05     1234567M") + chip + "BLAU00")) << chip;
    EXPECT_EQ(PigeonsConvert::DecodeChip({0xFF, 0x80, 0x7F, 0x00, 0xFF}), "FF807F0000");

    // Lower case, bytes from 128 up and punctuation all code as 0.
    const auto decoded =
        kConvert.Decode(*kConvert.EncodeRing("dv\xC4\xE9  2005\xFC" "a-1 12\xB3" "4567M1300000000bL\xC9U00"));
    EXPECT_EQ(decoded.ring + decoded.colour, "      2005   1 12 4567M L U");
}

TEST(PigeonsConvert, TheNoSexCharacterCodesLikeABlankSoItNeverComesBackFemale) {
    const auto sexOf = [](const PigeonsConvert& convert, char sex) {
        std::string record = "NL      05     1234567 1300000000    00";
        record[22] = sex;
        return convert.Decode(*convert.EncodeRing(record)).ring[22];
    };
    EXPECT_EQ(sexOf(kConvert, '-'), '-');
    EXPECT_EQ(sexOf(kConvert, 'X'), 'W'); // anything else codes as female
    EXPECT_EQ(sexOf(PigeonsConvert(SexTexts{}), 'M'), ' '); // a catalogue without sex texts leaves blanks
    RingRecord three{}; // code 3 is never produced; it reads back as a blank, keeping the length
    three[11] = 0x03;
    EXPECT_EQ(kConvert.Decode(three).ring, std::string(22, ' ').replace(6, 4, "  98") + " ");
}

} // namespace
} // namespace plumet
