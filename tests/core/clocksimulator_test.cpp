#include <gtest/gtest.h>

#include <vector>

#include "core/clock/clocksimulator.h"
#include "support/scriptedlink.h"

namespace plumet {
namespace {

constexpr milliseconds kWait{1};
const PigeonsConvert kConvert(SexTexts{"M", "W", ""});
const std::string kPigeon = "NL      05     1234567M1300000000BLAU00";

std::string Str(const auto& bytes) { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }

// The program's loft message of one pigeon, sent on 3 June 2008 at midnight.
std::string LoftMessage() {
    const std::string body = std::string("\x0C\x05\x07\xC8", 4) + std::string(20, 'N') + std::string("\x00\x01", 2) +
                             Str(*kConvert.EncodeRing(kPigeon)) + Str(*PigeonsConvert::EncodeChip(kPigeon));
    return ">1" + std::string{'\0', static_cast<char>(body.size())} + body + std::string(">\x03\x06\x08\x03\0\0\0", 8);
}

class Simulator : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(link.open(kLoftSendConstants.SettingsFor("1")), LinkStatus::Ok); }
    // What the clock sends until it falls silent.
    std::string Exchange(std::string_view bytes) {
        EXPECT_EQ(SendBytes(link, bytes), LinkStatus::Ok);
        std::string got;
        for (ByteResult b = link.receiveByte(kWait); b.ok(); b = link.receiveByte(kWait))
            got += static_cast<char>(b.byte);
        return got;
    }

    FrozenTimeSource master{MakeDateTime(2008, 6, 4, 9, 5, 7)};
    ClockSimulator clock{master};
    ScriptedClockLink link{clock};
};

TEST_F(Simulator, RefusesALoftThatDoesNotAddUpAndAHangUpVoidsAHalfSentOne) {
    std::string wrongLength = LoftMessage();
    wrongLength[3] = static_cast<char>(wrongLength[3] + 20); // announces more than it holds
    wrongLength.insert(wrongLength.size() - 8, std::string(20, 'x'));
    EXPECT_EQ(Exchange(wrongLength), "?");
    SendBytes(link, LoftMessage().substr(0, 30));
    link.close();
    EXPECT_FALSE(clock.Busy());
    EXPECT_TRUE(clock.State().pigeons.empty());
    link.open(PortSettings{});
    EXPECT_EQ(Exchange(LoftMessage()), ">");
    EXPECT_EQ(clock.State().pigeons.size(), 1U);
}

TEST_F(Simulator, AShortPointListEndsAtThePauseEvenWhenANameStartsWithTheEndMark) {
    EXPECT_EQ(Exchange(">8" + std::string(13, ' ') + ">ROUEN       " + "LILLE        " + ">"), ">");
    EXPECT_EQ(clock.State().releasePoints,
              (std::vector<std::string>{std::string(13, ' '), ">ROUEN       ", "LILLE        "}));
}

TEST_F(Simulator, LoadsHexRecordsCountingBadChecksumsAndARawImageUntilTheHangUp) {
    EXPECT_EQ(Exchange("\x08"), "\x08");
    EXPECT_EQ(Exchange("\x08"), "\x08"); // asked again, answers again
    Exchange(":01FFFE000002\r\n:03010000AABBCCCB\r\n:0201000011220B\r\n:00000001FF\r\n");
    const FirmwareUpload& upload = clock.State().firmware;
    EXPECT_TRUE(upload.kind == FirmwareKind::Hex && upload.complete);
    EXPECT_EQ(upload.checksumErrors, 1);
    EXPECT_EQ(upload.image, (std::vector<std::uint8_t>{0x00, 0xAA, 0xBB, 0xCC}));
    EXPECT_EQ(Exchange(">3").front(), '>'); // back to normal service

    EXPECT_EQ(Exchange("\x08"), "\x08");
    Exchange(std::string("\x54\xAA\xAB\x55\x55\x57" "\x01\x3E\x08\xFF" "\x00", 11));
    EXPECT_TRUE(clock.Busy());
    link.close();
    EXPECT_TRUE(upload.kind == FirmwareKind::Raw && upload.complete);
    EXPECT_EQ(upload.image, (std::vector<std::uint8_t>{0x01, 0x3E, 0x08, 0xFF}));
}

} // namespace
} // namespace plumet
