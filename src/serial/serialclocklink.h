#pragma once
// The clock link over a real serial port (QSerialPort). Made and used on one thread: the
// transfer's worker thread. The pace of the line comes from the core's pacer; this class
// only tells it how much the driver still holds.
#include <QByteArray>
#include <memory>
#include <optional>

#include "core/clock/clocklink.h"
#include "core/clock/linepacer.h"

class QSerialPort;

namespace plumet {

class SerialClockLink final : public ClockLink, private PortOutputQueue {
public:
    SerialClockLink();
    ~SerialClockLink() override;

    LinkStatus open(const PortSettings& settings) override;
    LinkStatus sendByte(std::uint8_t b, std::stop_token cancel = {}) override;
    ByteResult receiveByte(milliseconds timeout, std::stop_token cancel = {}) override;
    ModemLines modemLines() override;
    void close() override;

private:
    bool Failed() const;
    std::optional<std::size_t> Queued() override;
    void Discard() override;

    std::unique_ptr<QSerialPort> port_;
    QByteArray pending_;
    SteadyLineClock clock_;
    LinePacer pacer_{clock_};
};

} // namespace plumet
