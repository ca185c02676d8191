#include <gtest/gtest.h>

#include <atomic>

#include "core/clock/clocksimulator.h"
#include "core/clock/sendtime.h"
#include "support/scriptedlink.h"

namespace plumet {
namespace {

constexpr int kMonday = 1;
const std::string kTelegram = "\x10\x19\x10\x15\x10\x17\x13\x10\x14\x10\x16\x10\x18\x10\x33\x0D";

// A PC clock that moves on by one second every `callsPerSecond` looks.
class SteppingTime final : public TimeSource {
public:
    SteppingTime(DateTime start, int callsPerSecond) : start_(start), calls_(callsPerSecond) {}
    DateTime Now() const override { return FromCivilSeconds(CivilSeconds(start_) + looks_++ / calls_); }

private:
    DateTime start_;
    int calls_;
    mutable std::atomic<long> looks_{0};
};

TEST(TimeTelegram, FourthOfJune2008AtNineOhFiveOhSevenAndTheWeekdayCountedFromTheFirstDay) {
    EXPECT_EQ(TimeTelegram(MakeDateTime(2008, 6, 4, 9, 5, 7), kMonday), kTelegram);
    EXPECT_EQ(TimeTelegram(MakeDateTime(2019, 12, 31, 23, 59, 58), kMonday),
              std::string("\x12\x13\x15\x19\x15\x18\x12\x13\x11\x11\x12\x11\x19\x10\x33\x0D", 16));
    for (int offset = 0; offset < 7; ++offset) { // 1 June 2008 was a Sunday
        const int weekday = MakeDateTime(2008, 6, 1 + offset).weekday;
        EXPECT_EQ(TelegramWeekday(weekday, 0), offset + 1);
        EXPECT_EQ(TelegramWeekday(weekday, kMonday), offset == 0 ? 7 : offset);
        EXPECT_EQ(TelegramWeekday(weekday, 6), offset == 6 ? 1 : offset + 2);
    }
}

TEST(TimeTransmitter, OneTelegramPerSecondAndNoneWhileNeitherModemLineIsActive) {
    FrozenTimeSource pc{MakeDateTime(2008, 6, 4, 9, 5, 6)};
    ScriptedClockLink link;
    link.open(PortSettings{});
    TimeTransmitter transmitter(pc, kMonday);
    link.SetModemLines({true, false});
    EXPECT_FALSE(transmitter.Step(link).newSecond); // the second it started in is not announced
    pc.Advance(1);
    EXPECT_TRUE(transmitter.Step(link).sent);
    EXPECT_FALSE(transmitter.Step(link).sent);
    EXPECT_EQ(link.Sent(), kTelegram);
    link.SetModemLines({false, false});
    pc.Advance(1);
    const TimeTransmitter::Tick silent = transmitter.Step(link);
    EXPECT_TRUE(silent.newSecond && !silent.sent);
    link.SetModemLines({false, true}); // carrier-detect alone will do
    pc.Advance(1);
    EXPECT_TRUE(transmitter.Step(link).sent);
    EXPECT_EQ(link.Sent().size(), 2 * kTimeTelegramLength);
}

TEST(TimeTransmitter, RunsTheGivenSecondsSettingTheClockAndEndsOnAVanishingPortOrCancel) {
    FrozenTimeSource master{MakeDateTime(2008, 1, 1)};
    ClockSimulator clock(master);
    ScriptedClockLink link(clock);
    link.open(PortSettings{});
    link.SetModemLines({true, true});
    SteppingTime pcTime(MakeDateTime(2008, 6, 4, 9, 5, 7), 3);
    SendTimeOutcome outcome = RunTimeTransmitter(link, pcTime, kMonday, 3, milliseconds{0}, {}, {});
    EXPECT_EQ(outcome.link, LinkStatus::Ok);
    EXPECT_EQ(outcome.telegrams, 3);
    EXPECT_EQ(clock.ClockTime(), MakeDateTime(2008, 6, 4, 9, 5, 10));

    FailingClockLink failing(link);
    failing.PortErrorAtSend(20); // inside the second telegram
    outcome = RunTimeTransmitter(failing, pcTime, kMonday, 0, milliseconds{0}, {}, {});
    EXPECT_EQ(outcome.link, LinkStatus::PortError);
    EXPECT_EQ(outcome.telegrams, 1);
    std::stop_source stop;
    outcome = RunTimeTransmitter(link, pcTime, kMonday, 0, milliseconds{0},
                                 [&](const DateTime&, bool) { stop.request_stop(); }, stop.get_token());
    EXPECT_EQ(outcome.link, LinkStatus::Cancelled);
    EXPECT_EQ(outcome.seconds, 1);
}

} // namespace
} // namespace plumet
