#pragma once
// The one door to the timing clock: a byte link with per-byte timeouts and cancel, the
// byte helpers every transfer is built from, and the port constants of each transfer.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>

namespace plumet {

using std::chrono::milliseconds;

// Unexpected is never returned by a link itself: ExpectByte reports a byte that came but
// was not the one awaited.
enum class LinkStatus { Ok, Timeout, Cancelled, PortError, Unexpected };

const char* LinkStatusName(LinkStatus status);

enum class Parity { None, Even, Odd };

struct PortSettings {
    std::string portId; // "3" for COM3, "ttyUSB0", or a device path
    int baud = 9600;
    int dataBits = 8;
    Parity parity = Parity::None;
    int stopBits = 1;
    int outputQueue = 512;
    int inputQueue = 1024;
};

// "9600,n,8,1"
std::string SettingsText(const PortSettings& settings);

struct ModemLines {
    bool clearToSend = false;
    bool carrierDetect = false;
};

struct ByteResult {
    LinkStatus status = LinkStatus::Timeout;
    std::uint8_t byte = 0;
    bool ok() const { return status == LinkStatus::Ok; }
};

class ClockLink {
public:
    virtual ~ClockLink() = default;
    virtual LinkStatus open(const PortSettings& settings) = 0;
    // Returns once the bytes before it have left the line and this one is on its way: a
    // link never runs more than one byte ahead of the line. A cancel seen before or while
    // waiting gives Cancelled; the byte may or may not have gone out, nothing after it does.
    virtual LinkStatus sendByte(std::uint8_t b, std::stop_token cancel = {}) = 0;
    // One byte, or Timeout when none came within `timeout` (zero: only what is already
    // waiting), or Cancelled. Cancel wins over a waiting byte. The timeout counts from the
    // moment the last byte sent has left the line.
    virtual ByteResult receiveByte(milliseconds timeout, std::stop_token cancel = {}) = 0;
    // Both lines inactive when the port is closed or cannot tell.
    virtual ModemLines modemLines() = 0;
    virtual void close() = 0;
};

// The clock's side of an in-memory exchange: it sees each byte the program sends and
// returns what it answers.
class LinkPeer {
public:
    virtual ~LinkPeer() = default;
    virtual std::string OnByte(std::uint8_t b) = 0;
    // The program waits for input and nothing is queued: it has stopped sending.
    virtual std::string OnPause() { return {}; }
    // The program closed the port (or went silent for long): a half-sent message is void.
    virtual void OnHangUp() {}
};

// ---- byte helpers shared by the transfers ----

LinkStatus SendBytes(ClockLink& link, std::string_view bytes, std::stop_token cancel = {});
// High byte first.
LinkStatus SendCount(ClockLink& link, std::uint16_t count, std::stop_token cancel = {});
// Ok only when the next byte is `expected`; a different byte gives Unexpected.
LinkStatus ExpectByte(ClockLink& link, std::uint8_t expected, milliseconds timeout, std::stop_token cancel = {});

struct CountResult {
    LinkStatus status = LinkStatus::Timeout;
    std::uint16_t count = 0;
};
// Two bytes, high byte first; the timeout applies to each byte.
CountResult ReceiveCount(ClockLink& link, milliseconds timeout, std::stop_token cancel = {});
// Fills `into` byte by byte; stops at the first byte that does not come.
LinkStatus ReceiveBytes(ClockLink& link, std::span<std::uint8_t> into, milliseconds timeout,
                        std::stop_token cancel = {});
// Reads and drops bytes until `quiet` passes without one. Ok, or Cancelled / PortError.
LinkStatus DrainInput(ClockLink& link, milliseconds quiet, std::stop_token cancel = {});

// ---- port constants per transfer ----

struct TransferConstants {
    PortSettings port;           // everything but the port id
    milliseconds byteTimeout{0}; // zero: the transfer never waits for a byte with a deadline
    milliseconds openDelay{0};   // from the dialog's load to opening the port
    milliseconds startDelay{0};  // from the dialog's load to the first byte

    PortSettings SettingsFor(std::string portId) const;
};

inline constexpr std::uint8_t kStartChar = 0x3E; // '>', also the clock's acknowledgement and end mark
inline constexpr std::uint8_t kCommandLoftSend = 0x31;
inline constexpr std::uint8_t kCommandLoftGet = 0x33;
inline constexpr std::uint8_t kCommandRacedataGet = 0x34;
inline constexpr std::uint8_t kCommandRacePointsSend = 0x38;

inline const TransferConstants kLoftSendConstants{{"", 9600, 8, Parity::None, 1, 8192, 1024},
                                                  milliseconds{2000}, milliseconds{0}, milliseconds{1000}};
inline const TransferConstants kLoftGetConstants{{"", 9600, 8, Parity::None, 1, 512, 16000},
                                                 milliseconds{2000}, milliseconds{0}, milliseconds{1000}};
inline const TransferConstants kRacePointsSendConstants{{"", 9600, 8, Parity::None, 1, 8192, 1024},
                                                        milliseconds{2000}, milliseconds{0}, milliseconds{1000}};
// Starts when the user asks for the data; the byte timeout is also the quiet time that
// empties the input first.
inline const TransferConstants kRacedataGetConstants{{"", 9600, 8, Parity::None, 1, 512, 16000},
                                                     milliseconds{500}, milliseconds{0}, milliseconds{0}};
inline const TransferConstants kSendTimeConstants{{"", 300, 8, Parity::None, 2, 512, 1024},
                                                  milliseconds{0}, milliseconds{10}, milliseconds{10}};
// The relays wait for bytes without a deadline; they only watch for a pause.
inline const TransferConstants kPrintRelayConstants{{"", 9600, 8, Parity::None, 1, 512, 1024},
                                                    milliseconds{0}, milliseconds{0}, milliseconds{0}};
inline constexpr milliseconds kPrintRelayFirstIdle{100};
inline constexpr milliseconds kPrintRelayIdle{1000};
inline const TransferConstants kTerminalProgramLoadConstants{{"", 9600, 8, Parity::None, 1, 32767, 1024},
                                                             milliseconds{500}, milliseconds{0}, milliseconds{100}};

} // namespace plumet
