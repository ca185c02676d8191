#include "clock/serialclocklink.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <algorithm>

#include "clock/serialports.h"

namespace plumet::ui {
namespace {

// Waits are cut into slices so a cancel is seen within one slice.
constexpr int kSliceMs = 20;

QSerialPort::Parity QtParity(Parity parity) {
    switch (parity) {
    case Parity::Even: return QSerialPort::EvenParity;
    case Parity::Odd: return QSerialPort::OddParity;
    case Parity::None: break;
    }
    return QSerialPort::NoParity;
}

} // namespace

SerialClockLink::SerialClockLink() = default;
SerialClockLink::~SerialClockLink() { close(); }

bool SerialClockLink::Failed() const {
    return port_->error() != QSerialPort::NoError && port_->error() != QSerialPort::TimeoutError;
}

LinkStatus SerialClockLink::open(const PortSettings& settings) {
    close();
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(QString::fromStdString(PortDeviceName(settings.portId)));
    if (settings.portId.empty() || !port_->open(QIODevice::ReadWrite)) {
        port_.reset();
        return LinkStatus::PortError;
    }
    const bool configured =
        port_->setBaudRate(settings.baud) &&
        port_->setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
        port_->setParity(QtParity(settings.parity)) &&
        port_->setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
        port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        close();
        return LinkStatus::PortError;
    }
    // Interface cables of the clocks draw their supply from DTR and RTS; pseudo-terminals refuse both.
    port_->setDataTerminalReady(true);
    port_->setRequestToSend(true);
    port_->clearError();
    port_->setReadBufferSize(std::max(settings.inputQueue, 0));
    pending_.clear();
    return LinkStatus::Ok;
}

LinkStatus SerialClockLink::sendByte(std::uint8_t b, std::stop_token cancel) {
    if (!port_) return LinkStatus::PortError;
    if (cancel.stop_requested()) return LinkStatus::Cancelled;
    const char byte = static_cast<char>(b);
    if (port_->write(&byte, 1) != 1) return LinkStatus::PortError;
    while (port_->bytesToWrite() > 0) {
        if (cancel.stop_requested()) return LinkStatus::Cancelled;
        if (!port_->waitForBytesWritten(kSliceMs) && Failed()) return LinkStatus::PortError;
    }
    return LinkStatus::Ok;
}

ByteResult SerialClockLink::receiveByte(milliseconds timeout, std::stop_token cancel) {
    if (!port_) return {LinkStatus::PortError, 0};
    QDeadlineTimer deadline(timeout.count());
    for (;;) {
        if (cancel.stop_requested()) return {LinkStatus::Cancelled, 0};
        if (pending_.isEmpty() && port_->bytesAvailable() > 0) pending_ = port_->readAll();
        if (!pending_.isEmpty()) {
            const auto byte = static_cast<std::uint8_t>(pending_.front());
            pending_.remove(0, 1);
            return {LinkStatus::Ok, byte};
        }
        const qint64 left = deadline.remainingTime();
        if (left <= 0) return {LinkStatus::Timeout, 0};
        if (!port_->waitForReadyRead(static_cast<int>(std::min<qint64>(left, kSliceMs))) && Failed())
            return {LinkStatus::PortError, 0};
        port_->clearError();
    }
}

ModemLines SerialClockLink::modemLines() {
    if (!port_) return {};
    const QSerialPort::PinoutSignals pins = port_->pinoutSignals();
    port_->clearError();
    return {pins.testFlag(QSerialPort::ClearToSendSignal), pins.testFlag(QSerialPort::DataCarrierDetectSignal)};
}

void SerialClockLink::close() {
    if (port_) port_->close();
    port_.reset();
    pending_.clear();
}

} // namespace plumet::ui
