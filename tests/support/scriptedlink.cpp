#include "support/scriptedlink.h"

namespace plumet {

void ScriptedClockLink::QueueIncoming(std::string_view bytes) {
    {
        const std::lock_guard lock(mutex_);
        QueueLocked(bytes);
    }
    arrived_.notify_all();
}

void ScriptedClockLink::QueueLocked(std::string_view bytes) {
    for (const char c : bytes) incoming_.push_back(static_cast<std::uint8_t>(c));
}

void ScriptedClockLink::AnswerAfter(std::size_t sentCount, std::string_view bytes) {
    {
        const std::lock_guard lock(mutex_);
        if (sentCount <= sent_.size())
            QueueLocked(bytes);
        else
            script_.emplace_back(sentCount, std::string(bytes));
    }
    arrived_.notify_all();
}

void ScriptedClockLink::SetModemLines(ModemLines lines) {
    const std::lock_guard lock(mutex_);
    lines_ = lines;
}

std::string ScriptedClockLink::Sent() const {
    const std::lock_guard lock(mutex_);
    return sent_;
}

bool ScriptedClockLink::IsOpen() const {
    const std::lock_guard lock(mutex_);
    return open_;
}

PortSettings ScriptedClockLink::LastSettings() const {
    const std::lock_guard lock(mutex_);
    return settings_;
}

LinkStatus ScriptedClockLink::open(const PortSettings& settings) {
    const std::lock_guard lock(mutex_);
    if (open_) return LinkStatus::PortError;
    settings_ = settings;
    open_ = true;
    return LinkStatus::Ok;
}

LinkStatus ScriptedClockLink::sendByte(std::uint8_t b, std::stop_token cancel) {
    {
        const std::lock_guard lock(mutex_);
        if (!open_) return LinkStatus::PortError;
        if (cancel.stop_requested()) return LinkStatus::Cancelled;
        sent_.push_back(static_cast<char>(b));
        if (peer_) QueueLocked(peer_->OnByte(b));
        for (auto it = script_.begin(); it != script_.end();) {
            if (it->first <= sent_.size()) {
                QueueLocked(it->second);
                it = script_.erase(it);
            } else {
                ++it;
            }
        }
    }
    arrived_.notify_all();
    return LinkStatus::Ok;
}

ByteResult ScriptedClockLink::receiveByte(milliseconds timeout, std::stop_token cancel) {
    std::unique_lock lock(mutex_);
    if (!open_) return {LinkStatus::PortError, 0};
    if (cancel.stop_requested()) return {LinkStatus::Cancelled, 0};
    if (incoming_.empty() && peer_) QueueLocked(peer_->OnPause());
    arrived_.wait_for(lock, cancel, timeout, [this] { return !incoming_.empty() || !open_; });
    if (cancel.stop_requested()) return {LinkStatus::Cancelled, 0};
    if (!open_) return {LinkStatus::PortError, 0};
    if (incoming_.empty()) return {LinkStatus::Timeout, 0};
    const std::uint8_t b = incoming_.front();
    incoming_.pop_front();
    return {LinkStatus::Ok, b};
}

ModemLines ScriptedClockLink::modemLines() {
    const std::lock_guard lock(mutex_);
    return open_ ? lines_ : ModemLines{};
}

void ScriptedClockLink::close() {
    {
        const std::lock_guard lock(mutex_);
        if (!open_) return;
        open_ = false;
        if (peer_) peer_->OnHangUp();
    }
    arrived_.notify_all();
}

LinkStatus FailingClockLink::open(const PortSettings& settings) {
    return inner_.open(settings);
}

LinkStatus FailingClockLink::sendByte(std::uint8_t b, std::stop_token cancel) {
    if (sentCount_++ >= sendErrorAt_) return LinkStatus::PortError;
    return inner_.sendByte(b, std::move(cancel));
}

ByteResult FailingClockLink::receiveByte(milliseconds timeout, std::stop_token cancel) {
    if (receivedCount_ >= receiveErrorAt_) return {LinkStatus::PortError, 0};
    ByteResult got = inner_.receiveByte(timeout, std::move(cancel));
    if (got.ok()) ++receivedCount_;
    return got;
}

} // namespace plumet
