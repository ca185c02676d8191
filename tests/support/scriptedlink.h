#pragma once
// In-memory clock links for tests: a scripted clock (fixed answers or a LinkPeer such as the
// clock simulator) and a wrapper that makes a link fail in chosen ways.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/clock/clocklink.h"

namespace plumet {

class ScriptedClockLink final : public ClockLink {
public:
    ScriptedClockLink() = default;
    // Every byte sent goes to the peer; its answers become readable at once.
    explicit ScriptedClockLink(LinkPeer& peer) : peer_(&peer) {}

    // Bytes the clock has sent already, waiting to be read. Safe from any thread.
    void QueueIncoming(std::string_view bytes);
    // Queues `bytes` once the program has sent `sentCount` bytes in all.
    void AnswerAfter(std::size_t sentCount, std::string_view bytes);
    void SetModemLines(ModemLines lines);

    std::string Sent() const;
    bool IsOpen() const;
    PortSettings LastSettings() const;

    LinkStatus open(const PortSettings& settings) override;
    LinkStatus sendByte(std::uint8_t b, std::stop_token cancel = {}) override;
    ByteResult receiveByte(milliseconds timeout, std::stop_token cancel = {}) override;
    ModemLines modemLines() override;
    void close() override;

private:
    void QueueLocked(std::string_view bytes);

    mutable std::mutex mutex_;
    std::condition_variable_any arrived_;
    LinkPeer* peer_ = nullptr;
    std::deque<std::uint8_t> incoming_;
    std::string sent_;
    std::vector<std::pair<std::size_t, std::string>> script_;
    ModemLines lines_;
    PortSettings settings_;
    bool open_ = false;
};

// Wraps a link and breaks it on purpose. Positions count from 0 over the bytes that went
// through this wrapper in each direction.
class FailingClockLink final : public ClockLink {
public:
    explicit FailingClockLink(ClockLink& inner) : inner_(inner) {}

    // That byte and every later one fail with PortError.
    void PortErrorAtSend(std::size_t position) { sendErrorAt_ = position; }
    void PortErrorAtReceive(std::size_t position) { receiveErrorAt_ = position; }

    LinkStatus open(const PortSettings& settings) override;
    LinkStatus sendByte(std::uint8_t b, std::stop_token cancel = {}) override;
    ByteResult receiveByte(milliseconds timeout, std::stop_token cancel = {}) override;
    ModemLines modemLines() override { return inner_.modemLines(); }
    void close() override { inner_.close(); }

private:
    static constexpr std::size_t kNever = static_cast<std::size_t>(-1);

    ClockLink& inner_;
    std::size_t sendErrorAt_ = kNever;
    std::size_t receiveErrorAt_ = kNever;
    std::size_t sentCount_ = 0;
    std::size_t receivedCount_ = 0;
};

} // namespace plumet
