#include "core/clock/clocklink.h"

namespace plumet {

const char* LinkStatusName(LinkStatus status) {
    switch (status) {
    case LinkStatus::Ok: return "ok";
    case LinkStatus::Timeout: return "timeout";
    case LinkStatus::Cancelled: return "cancelled";
    case LinkStatus::PortError: return "port error";
    case LinkStatus::Unexpected: return "unexpected byte";
    }
    return "?";
}

std::string SettingsText(const PortSettings& settings) {
    const char parity = settings.parity == Parity::Even ? 'e' : settings.parity == Parity::Odd ? 'o' : 'n';
    return std::to_string(settings.baud) + "," + parity + "," + std::to_string(settings.dataBits) + "," +
           std::to_string(settings.stopBits);
}

LinkStatus SendBytes(ClockLink& link, std::string_view bytes, std::stop_token cancel) {
    for (const char c : bytes) {
        const LinkStatus status = link.sendByte(static_cast<std::uint8_t>(c), cancel);
        if (status != LinkStatus::Ok) return status;
    }
    return LinkStatus::Ok;
}

LinkStatus SendCount(ClockLink& link, std::uint16_t count, std::stop_token cancel) {
    const char bytes[] = {static_cast<char>(count >> 8), static_cast<char>(count & 0xFF)};
    return SendBytes(link, std::string_view(bytes, 2), std::move(cancel));
}

LinkStatus ExpectByte(ClockLink& link, std::uint8_t expected, milliseconds timeout, std::stop_token cancel) {
    const ByteResult got = link.receiveByte(timeout, std::move(cancel));
    if (!got.ok()) return got.status;
    return got.byte == expected ? LinkStatus::Ok : LinkStatus::Unexpected;
}

CountResult ReceiveCount(ClockLink& link, milliseconds timeout, std::stop_token cancel) {
    std::uint8_t bytes[2] = {};
    const LinkStatus status = ReceiveBytes(link, bytes, timeout, std::move(cancel));
    if (status != LinkStatus::Ok) return {status, 0};
    return {LinkStatus::Ok, static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1])};
}

LinkStatus ReceiveBytes(ClockLink& link, std::span<std::uint8_t> into, milliseconds timeout, std::stop_token cancel) {
    for (std::uint8_t& slot : into) {
        const ByteResult got = link.receiveByte(timeout, cancel);
        if (!got.ok()) return got.status;
        slot = got.byte;
    }
    return LinkStatus::Ok;
}

LinkStatus DrainInput(ClockLink& link, milliseconds quiet, std::stop_token cancel) {
    for (;;) {
        const ByteResult got = link.receiveByte(quiet, cancel);
        if (got.status == LinkStatus::Timeout) return LinkStatus::Ok;
        if (!got.ok()) return got.status;
    }
}

PortSettings TransferConstants::SettingsFor(std::string portId) const {
    PortSettings settings = port;
    settings.portId = std::move(portId);
    return settings;
}

} // namespace plumet
