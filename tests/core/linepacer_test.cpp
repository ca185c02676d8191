#include <gtest/gtest.h>

#include <functional>

#include "core/clock/linepacer.h"

namespace plumet {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

// Time moves only when the pacer sleeps.
class FakeClock final : public LineClock {
public:
    time_point Now() const override { return now_; }
    void Sleep(nanoseconds span) override {
        now_ += span;
        if (onSleep) onSleep();
    }
    void Advance(nanoseconds span) { now_ += span; }
    nanoseconds Elapsed() const { return now_ - time_point{}; }
    std::function<void()> onSleep;

private:
    time_point now_{};
};

// A port whose driver holds each byte for `hold` after it was written, or fails.
class FakePort final : public PortOutputQueue {
public:
    explicit FakePort(const FakeClock& clock, nanoseconds hold = nanoseconds{0}) : clock_(clock), hold_(hold) {}
    void Write() { heldUntil_ = clock_.Now() + hold_; }
    std::optional<std::size_t> Queued() override {
        if (failed) return std::nullopt;
        return clock_.Now() < heldUntil_ ? 1 : 0;
    }
    void Discard() override { ++discarded; }
    bool failed = false;
    int discarded = 0;

private:
    const FakeClock& clock_;
    nanoseconds hold_;
    LineClock::time_point heldUntil_{};
};

PortSettings Line(int baud, int dataBits, Parity parity, int stopBits) {
    return {"", baud, dataBits, parity, stopBits, 512, 1024};
}

TEST(LinePacer, AByteTakesItsStartDataParityAndStopBits) {
    const struct {
        PortSettings line;
        long long nanoseconds;
    } cases[] = {
        {Line(9600, 8, Parity::None, 1), 1'041'667},  // 10 bits
        {Line(300, 8, Parity::None, 2), 36'666'667},  // the time telegram: 11 bits
        {Line(9600, 7, Parity::Even, 1), 1'041'667},  // 10 bits
        {Line(2400, 8, Parity::Odd, 2), 5'000'000},   // 12 bits
        {Line(0, 8, Parity::None, 1), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SettingsText(c.line));
        EXPECT_EQ(LineByteTime(c.line).count(), c.nanoseconds);
    }
}

TEST(LinePacer, APortThatTakesEverythingAtOnceStillGoesAtTheLinesPace) {
    FakeClock clock;
    FakePort port(clock);
    LinePacer pacer(clock);
    pacer.Start(kLoftSendConstants.port);
    const nanoseconds byte = pacer.ByteTime();
    for (int i = 0; i < 100; ++i) {
        port.Write();
        ASSERT_EQ(pacer.Sent(port), LinkStatus::Ok);
        EXPECT_LE(pacer.UntilIdle(), byte); // never more than one byte ahead of the line
    }
    // The answer's timeout starts once the last byte has left the line.
    EXPECT_GE(clock.Elapsed() + pacer.UntilIdle(), 100 * microseconds(1040));
    EXPECT_EQ(clock.Elapsed() + pacer.UntilIdle(), 100 * byte); // and nothing is added

    // A pause is not saved up: after it the line takes a byte at once, the next one a byte later.
    clock.Advance(milliseconds(50));
    const nanoseconds before = clock.Elapsed();
    for (int i = 0; i < 2; ++i) {
        port.Write();
        ASSERT_EQ(pacer.Sent(port), LinkStatus::Ok);
    }
    EXPECT_EQ(clock.Elapsed() - before, byte);
    EXPECT_EQ(pacer.UntilIdle(), byte);
}

TEST(LinePacer, APortSlowerThanTheLineSetsThePace) {
    FakeClock clock;
    FakePort port(clock, milliseconds(3));
    LinePacer pacer(clock);
    pacer.Start(kLoftSendConstants.port);
    for (int i = 0; i < 10; ++i) {
        port.Write();
        ASSERT_EQ(pacer.Sent(port), LinkStatus::Ok);
        EXPECT_EQ(pacer.UntilIdle(), pacer.ByteTime()); // it left the driver just now
    }
    EXPECT_GE(clock.Elapsed(), milliseconds(30));
    EXPECT_LT(clock.Elapsed(), milliseconds(31));
}

TEST(LinePacer, CancelDropsWhatThePortHoldsAndAFailedPortIsAnError) {
    FakeClock clock;
    FakePort port(clock);
    LinePacer pacer(clock);
    pacer.Start(kSendTimeConstants.port); // 300 baud: a byte takes 36.7 ms
    port.Write();
    ASSERT_EQ(pacer.Sent(port), LinkStatus::Ok);
    std::stop_source cancel;
    clock.onSleep = [&] { cancel.request_stop(); }; // while the line carries the first byte
    port.Write();
    EXPECT_EQ(pacer.Sent(port, cancel.get_token()), LinkStatus::Cancelled);
    EXPECT_EQ(port.discarded, 1);
    EXPECT_LE(clock.Elapsed(), pacer.ByteTime()); // seen within a byte

    port.failed = true;
    EXPECT_EQ(pacer.Sent(port), LinkStatus::PortError);
    EXPECT_EQ(port.discarded, 1);
}

} // namespace
} // namespace plumet
