#pragma once
// A clock link that the dialog's session owns but the test keeps hold of: every call goes to
// a link the test made (a scripted clock, the simulator, a failing wrapper).
#include <memory>

#include "clock/clocklink.h"
#include "clock/transfersession.h"

namespace plumet::ui::test {

class HeldLink final : public ClockLink {
public:
    explicit HeldLink(ClockLink& inner) : inner_(inner) {}
    LinkStatus open(const PortSettings& settings) override { return inner_.open(settings); }
    LinkStatus sendByte(std::uint8_t b, std::stop_token cancel = {}) override { return inner_.sendByte(b, cancel); }
    ByteResult receiveByte(milliseconds timeout, std::stop_token cancel = {}) override {
        return inner_.receiveByte(timeout, cancel);
    }
    ModemLines modemLines() override { return inner_.modemLines(); }
    void close() override { inner_.close(); }

private:
    ClockLink& inner_;
};

// While alive, every transfer dialog talks to `inner`.
class HoldLink {
public:
    explicit HoldLink(ClockLink& inner) {
        SetClockLinkFactoryForTests([&inner] { return std::make_unique<HeldLink>(inner); });
    }
    ~HoldLink() { SetClockLinkFactoryForTests(nullptr); }
    HoldLink(const HoldLink&) = delete;
    HoldLink& operator=(const HoldLink&) = delete;
};

} // namespace plumet::ui::test
