#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "clock/clocksimulator.h"
#include "clock/scriptedlink.h"

namespace plumet {
namespace {

constexpr milliseconds kWait{1};
const PigeonsConvert kConvert(SexTexts{"M", "W", ""});

std::string Str(const auto& bytes) { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }

std::string Count(std::size_t n) { return {static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)}; }

// The program's loft message: ">1", length, key, name, pigeons, ">" and the date and time.
std::string LoftMessage(const std::vector<std::string>& records, const DateTime& at) {
    std::string body = {12, 5, 7, static_cast<char>(200)};
    body += "M\xFCller Hans         ";
    body += Count(records.size());
    for (const std::string& record : records)
        body += Str(*kConvert.EncodeRing(record)) + Str(*PigeonsConvert::EncodeChip(record));
    return ">1" + Count(body.size()) + body + ">" +
           std::string{static_cast<char>(at.day), static_cast<char>(at.month), static_cast<char>(at.year % 100),
                       static_cast<char>(at.weekday + 1), static_cast<char>(at.hour), static_cast<char>(at.minute),
                       static_cast<char>(at.second)};
}

class Simulator : public ::testing::Test {
protected:
    void SetUp() override {
        clock.SetEventSink([this](ClockEvent event, const std::string&) { events.push_back(event); });
        ASSERT_EQ(link.open(kLoftSendConstants.SettingsFor("1")), LinkStatus::Ok);
    }
    // What the clock sends until it falls silent.
    std::string Answer() {
        std::string got;
        for (ByteResult b = link.receiveByte(kWait); b.ok(); b = link.receiveByte(kWait)) got += static_cast<char>(b.byte);
        return got;
    }
    std::string Exchange(std::string_view bytes) {
        EXPECT_EQ(SendBytes(link, bytes), LinkStatus::Ok);
        return Answer();
    }

    FrozenTimeSource master{MakeDateTime(2008, 6, 4, 9, 5, 7)};
    ClockSimulator clock{master};
    ScriptedClockLink link{clock};
    std::vector<ClockEvent> events;
};

const std::vector<std::string> kPigeons = {
    "NL      05     1234567M1300000000BLAU00",
    "DV    20050815    1234WABCDEF0123RT  01",
    "CHN     29AB   1234567 1300000000SW  10",
};

TEST_F(Simulator, TakesALoftAndGivesItBack) {
    const DateTime sent = MakeDateTime(2008, 6, 3, 18, 30, 0);
    EXPECT_EQ(Exchange(LoftMessage(kPigeons, sent)), ">");
    EXPECT_EQ(clock.State().fancier, 200);
    EXPECT_EQ(clock.State().name, "M\xFCller Hans         ");
    ASSERT_EQ(clock.State().pigeons.size(), 3U);
    EXPECT_EQ(clock.ClockTime(), sent); // the clock took the PC's time over

    const std::string back = Exchange(">3");
    ASSERT_EQ(back.size(), 1 + 4 + 2 + 60 + 1U);
    EXPECT_EQ(back.substr(0, 7), std::string(">\x0C\x05\x07\xC8\x00\x03", 7));
    EXPECT_EQ(back.back(), '>');
    for (std::size_t i = 0; i < kPigeons.size(); ++i) {
        RingRecord ring{};
        ChipRecord chip{};
        std::copy_n(back.begin() + 7 + 20 * i, 15, ring.begin());
        std::copy_n(back.begin() + 22 + 20 * i, 5, chip.begin());
        EXPECT_EQ(kConvert.DecodePigeon(ring, chip).substr(0, 23), kPigeons[i].substr(0, 23));
    }
    EXPECT_EQ(events, (std::vector{ClockEvent::LoftReceived, ClockEvent::LoftSent}));
}

TEST_F(Simulator, RefusesALoftThatDoesNotAddUpAndKeepsTheOldOne) {
    clock.State().pigeons.resize(2);
    std::string wrongLength = LoftMessage(kPigeons, MakeDateTime(2008, 6, 3));
    wrongLength[3] = static_cast<char>(wrongLength[3] + 20); // announces a fourth pigeon
    wrongLength.insert(wrongLength.size() - 8, std::string(20, 'x'));
    EXPECT_EQ(Exchange(wrongLength), "?");

    std::string badDate = LoftMessage(kPigeons, MakeDateTime(2008, 6, 3));
    badDate[badDate.size() - 6] = 13; // month 13
    EXPECT_EQ(Exchange(badDate), "?");
    EXPECT_EQ(clock.State().pigeons.size(), 2U);
    EXPECT_EQ(events, (std::vector{ClockEvent::Rejected, ClockEvent::Rejected}));
}

TEST_F(Simulator, GivesRaceDataWithItsTimerBlock) {
    ClockState& state = clock.State();
    state.region = 12;
    state.federation = 5;
    state.club = 123;
    state.fancier = 4;
    state.basketing = {0x40 | 31, 5, 19, 45, 10};
    state.timerFlags = 64;
    state.clockOffsetSeconds = -70; // the clock runs 1:10 behind the master
    ArrivalRecord arrival{};
    std::copy_n(kConvert.EncodeRing(kPigeons[0])->begin(), 15, arrival.begin());
    arrival[16] = 7;
    arrival[17] = 2;
    arrival[18] = 10;
    arrival[19] = 31;
    arrival[20] = 5;
    arrival[27] = 0x42;
    state.arrivals = {arrival, arrival};

    link.QueueIncoming("stale");
    EXPECT_EQ(DrainInput(link, kWait), LinkStatus::Ok);
    const std::string data = Exchange(">4");
    ASSERT_EQ(data.size(), 1 + 24 + 2 + 15 + 2 * 28 + 1U);
    EXPECT_EQ(data.substr(0, 5), std::string(">\x0C\x05\x7B\x04", 5));
    EXPECT_EQ(data.substr(5, 20), state.name);
    EXPECT_EQ(data.substr(25, 2), std::string("\x00\x02", 2));
    const std::string timer = data.substr(27, 15);
    EXPECT_EQ(timer, std::string("\x5F\x05\x13\x2D\x0A" // basketing
                                 "\x04\x06\x09\x05\x07" // master time now
                                 "\x40\x00"
                                 "\x09\x03\x39", 15)); // own time 09:03:57
    EXPECT_EQ(data.substr(42, 28), Str(arrival));
    EXPECT_EQ(data.back(), '>');
}

TEST_F(Simulator, TakesReleasePointNamesEvenWhenOneStartsWithTheEndMark) {
    std::string full = ">8" + std::string(13, ' ');
    for (int i = 1; i <= 98; ++i) full += i == 98 ? ">LAST        " : "POINT " + std::to_string(100 + i) + "    ";
    full += ">";
    EXPECT_EQ(full.size(), 1290U);
    EXPECT_EQ(Exchange(full), ">");
    ASSERT_EQ(clock.State().releasePoints.size(), 99U);
    EXPECT_EQ(clock.State().releasePoints[1], "POINT 101    ");
    EXPECT_EQ(clock.State().releasePoints[98], ">LAST        ");

    // A short list ends when the program stops sending and waits for the answer.
    const std::string shortList = ">8" + std::string(13, ' ') + ">ROUEN       " + "LILLE        " + ">";
    EXPECT_EQ(Exchange(shortList), ">");
    EXPECT_EQ(clock.State().releasePoints,
              (std::vector<std::string>{std::string(13, ' '), ">ROUEN       ", "LILLE        "}));
}

TEST_F(Simulator, SetsItsTimeFromTheTimeTelegram) {
    const std::string telegram = "\x10\x19\x10\x15\x10\x17\x13\x10\x14\x10\x16\x10\x18\x10\x33\x0D";
    master.Set(MakeDateTime(2008, 6, 4, 9, 0, 0));
    EXPECT_EQ(Exchange(telegram), "");
    EXPECT_EQ(clock.ClockTime(), MakeDateTime(2008, 6, 4, 9, 5, 7));
    master.Advance(60);
    EXPECT_EQ(clock.ClockTime(), MakeDateTime(2008, 6, 4, 9, 6, 7));

    std::string broken = telegram;
    broken[14] = 0x34;
    EXPECT_EQ(Exchange(broken), "");
    EXPECT_EQ(clock.ClockTime(), MakeDateTime(2008, 6, 4, 9, 6, 7));
    EXPECT_EQ(events, (std::vector{ClockEvent::TimeSet, ClockEvent::Rejected}));
}

TEST_F(Simulator, LoadsHexRecordsAfterTheHandshake) {
    EXPECT_EQ(Exchange("\x08"), "\x08");
    EXPECT_EQ(Exchange("\x08"), "\x08"); // asked again, answers again
    EXPECT_EQ(Exchange(":01FFFE000002\r\n"
                       ":03010000AABBCCCB\r\n"
                       ":0201000011220B\r\n" // wrong checksum
                       ":00000001FF\r\n"),
              "");
    const FirmwareUpload& upload = clock.State().firmware;
    EXPECT_EQ(upload.kind, FirmwareKind::Hex);
    EXPECT_TRUE(upload.complete);
    EXPECT_EQ(upload.records, 4);
    EXPECT_EQ(upload.checksumErrors, 1);
    EXPECT_EQ(upload.image, (std::vector<std::uint8_t>{0x00, 0xAA, 0xBB, 0xCC}));
    EXPECT_FALSE(clock.Busy());
    EXPECT_EQ(Exchange(">3").front(), '>'); // back to normal service
}

TEST_F(Simulator, LoadsARawImageUntilTheProgramHangsUp) {
    EXPECT_EQ(Exchange("\x08"), "\x08");
    EXPECT_EQ(Exchange(std::string("\x54\xAA\xAB\x55\x55\x57" "\x01\x3E\x08\xFF" "\x00", 11)), "");
    EXPECT_TRUE(clock.Busy());
    link.close();
    EXPECT_FALSE(clock.Busy());
    EXPECT_TRUE(clock.State().firmware.complete);
    EXPECT_EQ(clock.State().firmware.image, (std::vector<std::uint8_t>{0x01, 0x3E, 0x08, 0xFF}));
    EXPECT_EQ(events.back(), ClockEvent::FirmwareReceived);
}

TEST_F(Simulator, AHangUpVoidsAHalfSentLoft) {
    SendBytes(link, LoftMessage(kPigeons, MakeDateTime(2008, 6, 3)).substr(0, 30));
    link.close();
    EXPECT_EQ(events, (std::vector{ClockEvent::Abandoned}));
    EXPECT_TRUE(clock.State().pigeons.empty());
    link.open(PortSettings{});
    EXPECT_EQ(Exchange(">3").size(), 8U);
}

TEST_F(Simulator, FaultsSilenceOrCorruptChosenBytes) {
    clock.SetFaults({2, 0});
    EXPECT_EQ(Exchange(">3"), std::string(">\x00", 2));
    EXPECT_EQ(Exchange(">3"), "");

    ClockSimulator corrupting(master);
    corrupting.SetFaults({0, 2});
    ScriptedClockLink other(corrupting);
    other.open(PortSettings{});
    SendBytes(other, LoftMessage({}, MakeDateTime(2008, 6, 3)));
    EXPECT_EQ(ExpectByte(other, '>', kWait), LinkStatus::Ok);
    SendBytes(other, LoftMessage({}, MakeDateTime(2008, 6, 3)));
    EXPECT_EQ(ExpectByte(other, '>', kWait), LinkStatus::Unexpected);
    EXPECT_EQ(corrupting.BytesSent(), 2U);
}

TEST_F(Simulator, PrintsItsArrivalListOrItsOwnLines) {
    clock.State().club = 7;
    clock.State().fancier = 12;
    clock.State().name = "MULLER              ";
    ArrivalRecord arrival{};
    std::copy_n(kConvert.EncodeRing(kPigeons[0])->begin(), 15, arrival.begin());
    arrival[16] = 7;
    arrival[17] = 0x80 | 3;
    arrival[18] = 10;
    arrival[19] = 31;
    arrival[20] = 5;
    clock.State().arrivals = {arrival};
    EXPECT_EQ(clock.PrintOut(), "LOFT 000 00 007 012 MULLER\r\n"
                                "BASKETING 00.00. 00:00:00\r\n"
                                "CLOCK     04.06.08 09:05:07\r\n"
                                "ARRIVALS  1\r\n"
                                "001 NL      05     1234567M P07 03. 10:31:05\r\n"
                                "\f");
    clock.State().printout = {"A", "B"};
    EXPECT_EQ(clock.PrintOut(), "A\r\nB\r\n\f");
}

} // namespace
} // namespace plumet
