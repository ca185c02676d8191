#include <gtest/gtest.h>

#include <vector>

#include "core/app/fixedwidth.h"
#include "core/clock/clocksimulator.h"
#include "core/clock/racedataget.h"
#include "support/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

constexpr milliseconds kWait{2};
const SexTexts kSexes{"M", "F", "U"};
const std::string kPigeons[] = {"DV    20050815 1234567M1300000000BLAU01", "NL      05     1234567F1300000000RT  00"};

ArrivalRecord Arrival(int pigeon, int point, int dayByte, int hour, int minute, int second) {
    ArrivalRecord a{};
    const RingRecord ring = *PigeonsConvert(kSexes).EncodeRing(kPigeons[pigeon]);
    std::copy(ring.begin(), ring.end(), a.begin());
    a[16] = static_cast<std::uint8_t>(point), a[17] = static_cast<std::uint8_t>(dayByte);
    a[18] = static_cast<std::uint8_t>(hour), a[19] = static_cast<std::uint8_t>(minute);
    a[20] = static_cast<std::uint8_t>(second), a[21] = 0x81, a[22] = 0x4F;
    return a;
}

// Club 123; fancier 7 has arrivals for points 7 and 3 and one without a day.
ClockState Clock(int fancier = 7) {
    ClockState state;
    state.region = 12, state.federation = 5, state.club = 123;
    state.fancier = static_cast<std::uint8_t>(fancier);
    state.basketing = {31 | 64, 5, 7, 30, 0};
    state.timerFlags = 64;
    state.clockOffsetSeconds = -42;
    if (fancier == 7) state.arrivals = {Arrival(0, 7, 1, 14, 3, 27), Arrival(1, 3, 31, 16, 0, 5), Arrival(1, 7, 0, 0, 0, 0)};
    return state;
}

class RacedataGet : public ::testing::Test {
protected:
    void SetUp() override {
        settings.region = "012" + PadRight("North", 30);
        settings.federation = "005" + PadRight("Federation", 30);
        folder.Write("club/club.dat", " 1 \r\n" + PadRight("123Zur Post", 63) + "\r\n");
        folder.Write("fancier/f123.DAT", " 2 \r\n007" + PadRight("Meier Hans", 20) + "N51301525E0070500001\r\n008" +
                                             PadRight("M\xFCller & S\xF6hne", 20) + "S05301550W1230000000\r\n");
        std::filesystem::create_directories(folder.path() / "race");
    }

    RacedataTarget Target(const std::string& point = "00") const {
        return {folder.path(), settings, {point, "23", "02", "06", "24"}, kSexes};
    }

    // A read of `state`; `breakIt` may break the link first.
    RacedataOutcome Read(const ClockState& state, const std::string& point = "00",
                         const std::function<void(FailingClockLink&)>& breakIt = nullptr) {
        ClockSimulator clock(master, state);
        ScriptedClockLink inner(clock);
        FailingClockLink link(inner);
        if (breakIt) breakIt(link);
        link.open(kRacedataGetConstants.SettingsFor("1"));
        steps.clear();
        const RacedataOutcome outcome =
            GetRacedata(link, Target(point), kWait, [this](const TransferProgress& p) { steps.push_back(p.what); });
        sent = inner.Sent();
        return outcome;
    }

    std::string File(const std::string& point = "00") const { return folder.Read("race/W0120523.d" + point); }

    TestFolder folder;
    Settings settings;
    FrozenTimeSource master{MakeDateTime(2024, 6, 2, 18, 30, 0)};
    std::vector<std::string> steps;
    std::string sent;
};

// Several clocks, the duplicate and point 07 run end to end; here the golden file and the steps.
TEST_F(RacedataGet, ClocksFillTheGoldenFileStepByStep) {
    const RacedataOutcome first = Read(Clock(7));
    EXPECT_EQ(sent, ">4");
    EXPECT_EQ(steps, (std::vector<std::string>{"txtTerminalSearch", "txtDataGet", "txtCommunicationOk", "txtDataSave",
                                               "txtDataReady"}));
    const RacedataOutcome second = Read(Clock(8));
    EXPECT_EQ(JoinLinesCrLf(first.appended) + JoinLinesCrLf(second.appended), File());
    EXPECT_EQ(File(), TestData("readout/W0120523.d00"));
}

// A wrong or missing byte at any place is the clock fault test's; here the breaks the simulator
// cannot make, and a save that fails.
TEST_F(RacedataGet, APortErrorOrAFailedSaveAddsNoLine) {
    ASSERT_EQ(Read(Clock(8)).result, RacedataResult::Saved);
    const std::string before = File();
    using Break = std::function<void(FailingClockLink&)>;
    for (const Break& breakIt : {Break([](FailingClockLink& l) { l.PortErrorAtReceive(60); }),
                                 Break([](FailingClockLink& l) { l.PortErrorAtSend(1); })}) {
        const RacedataOutcome outcome = Read(Clock(), "00", breakIt);
        EXPECT_EQ(outcome.status, RacedataStatus::CommunicationError);
        EXPECT_NE(outcome.result, RacedataResult::Saved);
        EXPECT_EQ(File(), before);
    }
    const RacedataOutcome failed = WithFailingSaves([&] { return Read(Clock(7)); });
    EXPECT_EQ(failed.message, kRacedataSaveFailed);
    EXPECT_FALSE(failed.error.empty());
    EXPECT_EQ(File(), before);
}

TEST_F(RacedataGet, WhatWaitedOnTheLineIsDroppedAndAThousandArrivalsFit) {
    ClockState full = Clock();
    full.arrivals.assign(kArrivalRecordLimit, full.arrivals.front());
    ClockSimulator clock(master, full);
    ScriptedClockLink link(clock);
    link.open(kRacedataGetConstants.SettingsFor("1"));
    link.QueueIncoming(">>\x01\x02 printout\r\n>");
    const RacedataOutcome outcome = GetRacedata(link, Target(), kWait, nullptr);
    ASSERT_EQ(outcome.result, RacedataResult::Saved);
    EXPECT_EQ(outcome.appended.size(), 3 + kArrivalRecordLimit);
    EXPECT_EQ(outcome.appended[1].substr(7, 3), "000"); // the count is written modulo 1000
}

TEST_F(RacedataGet, CancelWritesNothing) {
    std::stop_source stop;
    stop.request_stop();
    ClockSimulator clock(master, Clock());
    ScriptedClockLink link(clock);
    link.open(kRacedataGetConstants.SettingsFor("1"));
    EXPECT_EQ(GetRacedata(link, Target(), kWait, nullptr, stop.get_token()).result, RacedataResult::Cancelled);
    EXPECT_TRUE(link.Sent().empty());
    // Cancelled once the data are in: nothing is saved either.
    const RacedataReceipt receipt = ReceiveRacedata(link, kWait, nullptr);
    ASSERT_EQ(receipt.outcome, ReceiveOutcome::Received);
    EXPECT_EQ(StoreRacedata(receipt.data, Target(), nullptr, stop.get_token()).result, RacedataResult::Cancelled);
    EXPECT_FALSE(folder.Exists("race/W0120523.d00"));
}

} // namespace
} // namespace plumet
