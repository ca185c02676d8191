#include <gtest/gtest.h>

#include <atomic>

#include "clock/clocksimulator.h"
#include "clock/scriptedlink.h"
#include "clock/sendtime.h"

namespace plumet {
namespace {

constexpr int kSunday = 0;
constexpr int kMonday = 1;
constexpr int kSaturday = 6;

// A PC clock that moves on by one second every `callsPerSecond` looks.
class SteppingTime final : public TimeSource {
public:
    SteppingTime(DateTime start, int callsPerSecond) : start_(start), calls_(callsPerSecond) {}
    DateTime Now() const override {
        const long step = looks_++ / calls_;
        return FromCivilSeconds(CivilSeconds(start_) + step);
    }

private:
    DateTime start_;
    int calls_;
    mutable std::atomic<long> looks_{0};
};

TEST(TimeTelegram, FourthOfJune2008AtNineOhFiveOhSeven) {
    const DateTime at = MakeDateTime(2008, 6, 4, 9, 5, 7);
    EXPECT_EQ(TimeTelegram(at, kMonday),
              "\x10\x19\x10\x15\x10\x17\x13\x10\x14\x10\x16\x10\x18\x10\x33\x0D");
    EXPECT_EQ(TimeTelegram(at, kSunday)[6], '\x14');
    EXPECT_EQ(TimeTelegram(MakeDateTime(2019, 12, 31, 23, 59, 58), kMonday),
              std::string("\x12\x13\x15\x19\x15\x18\x12\x13\x11\x11\x12\x11\x19\x10\x33\x0D", 16));
}

TEST(TimeTelegram, WeekdayCountsFromTheFirstDayOfTheWeek) {
    // 1 June 2008 was a Sunday.
    for (int offset = 0; offset < 7; ++offset) {
        const int weekday = MakeDateTime(2008, 6, 1 + offset).weekday;
        EXPECT_EQ(TelegramWeekday(weekday, kSunday), offset + 1);
        EXPECT_EQ(TelegramWeekday(weekday, kMonday), offset == 0 ? 7 : offset);
        EXPECT_EQ(TelegramWeekday(weekday, kSaturday), offset == 6 ? 1 : offset + 2);
    }
}

class Transmitter : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(link.open(kSendTimeConstants.SettingsFor("1")), LinkStatus::Ok); }

    FrozenTimeSource pc{MakeDateTime(2008, 6, 4, 9, 5, 7)};
    ScriptedClockLink link;
};

TEST_F(Transmitter, OneTelegramPerSecondAndNoneWhileTheClockIsNotListening) {
    TimeTransmitter transmitter(pc, kMonday);
    link.SetModemLines({true, false});
    EXPECT_FALSE(transmitter.Step(link).newSecond); // the second it started in is not announced
    EXPECT_TRUE(link.Sent().empty());

    pc.Advance(1);
    const TimeTransmitter::Tick first = transmitter.Step(link);
    EXPECT_TRUE(first.newSecond);
    EXPECT_TRUE(first.sent);
    EXPECT_FALSE(transmitter.Step(link).newSecond);
    EXPECT_FALSE(transmitter.Step(link).sent);
    EXPECT_EQ(link.Sent(), TimeTelegram(MakeDateTime(2008, 6, 4, 9, 5, 8), kMonday));

    link.SetModemLines({false, false});
    pc.Advance(1);
    const TimeTransmitter::Tick silent = transmitter.Step(link);
    EXPECT_TRUE(silent.newSecond);
    EXPECT_FALSE(silent.sent);
    EXPECT_EQ(silent.now, MakeDateTime(2008, 6, 4, 9, 5, 9));
    EXPECT_EQ(link.Sent().size(), kTimeTelegramLength);

    link.SetModemLines({false, true}); // carrier-detect alone will do
    pc.Advance(1);
    EXPECT_TRUE(transmitter.Step(link).sent);
    EXPECT_EQ(link.Sent().substr(kTimeTelegramLength), TimeTelegram(MakeDateTime(2008, 6, 4, 9, 5, 10), kMonday));
}

TEST_F(Transmitter, RunsForTheGivenSecondsAndTheSimulatedClockTakesTheTime) {
    FrozenTimeSource master{MakeDateTime(2008, 1, 1)};
    ClockSimulator clock(master);
    ScriptedClockLink simulated(clock);
    ASSERT_EQ(simulated.open(kSendTimeConstants.SettingsFor("1")), LinkStatus::Ok);
    simulated.SetModemLines({true, true});
    SteppingTime pcTime(MakeDateTime(2008, 6, 4, 9, 5, 7), 3);
    std::vector<DateTime> seen;
    const SendTimeOutcome outcome = RunTimeTransmitter(simulated, pcTime, kMonday, 3, milliseconds{0},
                                                       [&](const DateTime& now, bool sent) {
                                                           EXPECT_TRUE(sent);
                                                           seen.push_back(now);
                                                       },
                                                       {});
    EXPECT_EQ(outcome.link, LinkStatus::Ok);
    EXPECT_EQ(outcome.seconds, 3);
    EXPECT_EQ(outcome.telegrams, 3);
    ASSERT_EQ(seen.size(), 3U);
    EXPECT_EQ(seen.back(), MakeDateTime(2008, 6, 4, 9, 5, 10));
    EXPECT_EQ(simulated.Sent().size(), 3 * kTimeTelegramLength);
    EXPECT_EQ(clock.ClockTime(), MakeDateTime(2008, 6, 4, 9, 5, 10));
}

TEST_F(Transmitter, AVanishingPortEndsItAndCancelStopsIt) {
    link.SetModemLines({true, false});
    FailingClockLink failing(link);
    failing.PortErrorAtSend(20); // inside the second telegram
    SteppingTime pcTime(MakeDateTime(2008, 6, 4, 9, 5, 7), 1);
    SendTimeOutcome outcome = RunTimeTransmitter(failing, pcTime, kMonday, 0, milliseconds{0}, {}, {});
    EXPECT_EQ(outcome.link, LinkStatus::PortError);
    EXPECT_EQ(outcome.telegrams, 1);

    std::stop_source stop;
    link.SetModemLines({false, false});
    outcome = RunTimeTransmitter(link, pcTime, kMonday, 0, milliseconds{0},
                                 [&](const DateTime&, bool) { stop.request_stop(); }, stop.get_token());
    EXPECT_EQ(outcome.link, LinkStatus::Cancelled);
    EXPECT_EQ(outcome.seconds, 1);
    EXPECT_EQ(outcome.telegrams, 0);
}

} // namespace
} // namespace plumet
