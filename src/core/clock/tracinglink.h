#pragma once
// A clock link wrapper that logs every byte in both directions, for diagnostics.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/clock/clocklink.h"

namespace plumet {

// "PC    3E '>'" or "CLOCK 9A": who sent the byte, its hex code, and the character when printable.
std::string TraceByteLine(bool fromProgram, std::uint8_t b);

class TracingClockLink final : public ClockLink {
public:
    using Sink = std::function<void(std::string_view line)>;
    TracingClockLink(ClockLink& inner, Sink sink) : inner_(inner), sink_(std::move(sink)) {}

    LinkStatus open(const PortSettings& settings) override;
    LinkStatus sendByte(std::uint8_t b, std::stop_token cancel = {}) override;
    ByteResult receiveByte(milliseconds timeout, std::stop_token cancel = {}) override;
    ModemLines modemLines() override;
    void close() override;

private:
    ClockLink& inner_;
    Sink sink_;
};

} // namespace plumet
