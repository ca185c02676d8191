#include "core/clock/tracinglink.h"

namespace plumet {

std::string TraceByteLine(bool fromProgram, std::uint8_t b) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string line = fromProgram ? "PC    " : "CLOCK ";
    line += kHex[b >> 4];
    line += kHex[b & 15];
    if (b >= 0x20 && b < 0x7F) {
        line += " '";
        line += static_cast<char>(b);
        line += '\'';
    }
    return line;
}

LinkStatus TracingClockLink::open(const PortSettings& settings) {
    const LinkStatus status = inner_.open(settings);
    sink_("open " + settings.portId + " " + SettingsText(settings) + " out " + std::to_string(settings.outputQueue) +
          " in " + std::to_string(settings.inputQueue) + ": " + LinkStatusName(status));
    return status;
}

LinkStatus TracingClockLink::sendByte(std::uint8_t b, std::stop_token cancel) {
    const LinkStatus status = inner_.sendByte(b, std::move(cancel));
    if (status == LinkStatus::Ok)
        sink_(TraceByteLine(true, b));
    else
        sink_(TraceByteLine(true, b) + " not sent: " + LinkStatusName(status));
    return status;
}

ByteResult TracingClockLink::receiveByte(milliseconds timeout, std::stop_token cancel) {
    const ByteResult got = inner_.receiveByte(timeout, std::move(cancel));
    if (got.ok())
        sink_(TraceByteLine(false, got.byte));
    else
        sink_(std::string("CLOCK -- ") + LinkStatusName(got.status) + " after " + std::to_string(timeout.count()) +
              " ms");
    return got;
}

ModemLines TracingClockLink::modemLines() {
    const ModemLines lines = inner_.modemLines();
    sink_(std::string("lines CTS ") + (lines.clearToSend ? "on" : "off") + " DCD " +
          (lines.carrierDetect ? "on" : "off"));
    return lines;
}

void TracingClockLink::close() {
    inner_.close();
    sink_("close");
}

} // namespace plumet
