#pragma once
// The pace of a serial line. Drivers, USB adapters and pseudo-terminals take kilobytes at
// once and may report their queue empty before the line has carried it, so a link counts a
// byte as gone only when the port's own queue is empty and the line has had the time to
// carry every byte before it. Waiting for the last byte too would add the wake-up latency
// of every byte to the line; one byte in hand is what a UART's holding register keeps.
#include <chrono>
#include <cstddef>
#include <optional>
#include <stop_token>

#include "core/clock/clocklink.h"

namespace plumet {

using std::chrono::nanoseconds;

// One byte on the line: a start bit, the data bits, the parity bit and the stop bits over
// the baud rate. Zero for a line without a rate.
nanoseconds LineByteTime(const PortSettings& settings);
nanoseconds LineByteTime(int baud, int dataBits, Parity parity, int stopBits);

// Monotonic time and sleep, so that tests can run the pace without waiting for it.
class LineClock {
public:
    using time_point = std::chrono::steady_clock::time_point;
    virtual ~LineClock() = default;
    virtual time_point Now() const = 0;
    virtual void Sleep(nanoseconds span) = 0;
};

class SteadyLineClock final : public LineClock {
public:
    time_point Now() const override { return std::chrono::steady_clock::now(); }
    void Sleep(nanoseconds span) override;
};

// What the pacer needs of a port.
class PortOutputQueue {
public:
    virtual ~PortOutputQueue() = default;
    // Bytes written to the port that have not reached the line yet; nothing when the port
    // has failed (an adapter pulled out).
    virtual std::optional<std::size_t> Queued() = 0;
    // Drops whatever the port still holds, so nothing more goes out.
    virtual void Discard() = 0;
};

class LinePacer {
public:
    explicit LinePacer(LineClock& clock) : clock_(clock) {}

    // A line just opened: idle, at the pace of `settings`.
    void Start(const PortSettings& settings);
    // Call once a byte has been written to the port. Returns when the bytes before it have
    // left the line and the port's queue is empty; on cancel the port's queue is dropped.
    LinkStatus Sent(PortOutputQueue& port, std::stop_token cancel = {});
    // How long the line still needs for what was sent; zero once the last byte has left.
    // Answer timeouts count from then.
    nanoseconds UntilIdle() const;
    nanoseconds ByteTime() const { return byteTime_; }

private:
    LineClock& clock_;
    nanoseconds byteTime_{0};
    LineClock::time_point idleAt_{}; // when the last byte sent has left the line
};

} // namespace plumet
