#pragma once
// The clock link over a real serial port (QSerialPort). Made and used on one thread: the
// transfer's worker thread.
#include <QByteArray>
#include <memory>

#include "clock/clocklink.h"

class QSerialPort;

namespace plumet::ui {

class SerialClockLink final : public ClockLink {
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

    std::unique_ptr<QSerialPort> port_;
    QByteArray pending_;
};

} // namespace plumet::ui
