#include "serial/serialclocklink.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <algorithm>

#include "serial/serialports.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace plumet {
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
    pacer_.Start(settings);
    return LinkStatus::Ok;
}

LinkStatus SerialClockLink::sendByte(std::uint8_t b, std::stop_token cancel) {
    if (!port_) return LinkStatus::PortError;
    if (cancel.stop_requested()) return LinkStatus::Cancelled;
    const char byte = static_cast<char>(b);
    if (port_->write(&byte, 1) != 1) return LinkStatus::PortError;
    // Into the driver first; from there the pacer follows it onto the line.
    while (port_->bytesToWrite() > 0) {
        if (cancel.stop_requested()) {
            Discard();
            return LinkStatus::Cancelled;
        }
        if (!port_->waitForBytesWritten(kSliceMs) && Failed()) return LinkStatus::PortError;
    }
    return pacer_.Sent(*this, cancel);
}

std::optional<std::size_t> SerialClockLink::Queued() {
    if (!port_ || Failed()) return std::nullopt;
    const auto inQt = static_cast<std::size_t>(port_->bytesToWrite());
#if defined(_WIN32)
    COMSTAT stat{};
    DWORD errors = 0;
    if (!ClearCommError(port_->handle(), &errors, &stat)) return std::nullopt;
    return inQt + stat.cbOutQue;
#elif defined(TIOCOUTQ)
    int inDriver = 0;
    if (::ioctl(port_->handle(), TIOCOUTQ, &inDriver) != 0) return std::nullopt;
    return inQt + static_cast<std::size_t>(std::max(inDriver, 0));
#else
    return inQt; // the line-time floor alone sets the pace
#endif
}

void SerialClockLink::Discard() {
    if (port_) port_->clear(QSerialPort::Output);
}

ByteResult SerialClockLink::receiveByte(milliseconds timeout, std::stop_token cancel) {
    if (!port_) return {LinkStatus::PortError, 0};
    // An answer cannot start before the line has carried what was sent.
    const milliseconds line = std::chrono::ceil<milliseconds>(pacer_.UntilIdle());
    QDeadlineTimer deadline((timeout > milliseconds{0} ? timeout + line : timeout).count());
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
    // The last byte is still on its way; a driver might drop it with the port.
    if (port_ && !Failed()) clock_.Sleep(pacer_.UntilIdle());
    if (port_) port_->close();
    port_.reset();
    pending_.clear();
}

} // namespace plumet
