#include "core/clock/linepacer.h"

#include <algorithm>
#include <thread>

namespace plumet {

namespace {

// A port that holds a byte is asked again this soon, and never later than one byte time,
// so a cancel stops the line within a byte.
constexpr nanoseconds kQueuePoll = std::chrono::microseconds(500);

} // namespace

nanoseconds LineByteTime(int baud, int dataBits, Parity parity, int stopBits) {
    if (baud <= 0) return nanoseconds{0};
    const long long bits = 1 + dataBits + (parity == Parity::None ? 0 : 1) + stopBits;
    return nanoseconds{(bits * 1'000'000'000LL + baud - 1) / baud};
}

nanoseconds LineByteTime(const PortSettings& settings) {
    return LineByteTime(settings.baud, settings.dataBits, settings.parity, settings.stopBits);
}

void SteadyLineClock::Sleep(nanoseconds span) {
    if (span > nanoseconds{0}) std::this_thread::sleep_for(span);
}

void LinePacer::Start(const PortSettings& settings) {
    byteTime_ = LineByteTime(settings);
    idleAt_ = clock_.Now();
}

LinkStatus LinePacer::Sent(PortOutputQueue& port, std::stop_token cancel) {
    const LineClock::time_point start = std::max(clock_.Now(), idleAt_);
    idleAt_ = start + byteTime_;
    const nanoseconds poll = byteTime_ > nanoseconds{0} ? std::min(byteTime_, kQueuePoll) : kQueuePoll;
    bool held = false;
    for (;;) {
        if (cancel.stop_requested()) {
            port.Discard();
            return LinkStatus::Cancelled;
        }
        const std::optional<std::size_t> queued = port.Queued();
        if (!queued) return LinkStatus::PortError;
        const LineClock::time_point now = clock_.Now();
        if (*queued > 0) {
            held = true;
            clock_.Sleep(poll);
            continue;
        }
        // A byte the port held until now only starts on the line now.
        if (held) idleAt_ = std::max(idleAt_, now + byteTime_);
        if (now >= start) return LinkStatus::Ok;
        clock_.Sleep(std::min<nanoseconds>(start - now, std::max(byteTime_, poll)));
    }
}

nanoseconds LinePacer::UntilIdle() const { return std::max(nanoseconds{0}, idleAt_ - clock_.Now()); }

} // namespace plumet
