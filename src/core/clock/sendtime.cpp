#include "core/clock/sendtime.h"

#include <condition_variable>
#include <mutex>

namespace plumet {

namespace {

constexpr std::uint8_t kDigitBase = 0x10;

void AddTwoDigits(std::string& telegram, int value) {
    telegram += static_cast<char>(kDigitBase + value / 10 % 10);
    telegram += static_cast<char>(kDigitBase + value % 10);
}

bool SameSecond(const DateTime& a, const DateTime& b) {
    return a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

// Sleeps, but wakes at once on cancel.
void Pause(milliseconds span, std::stop_token cancel) {
    std::mutex mutex;
    std::unique_lock lock(mutex);
    std::condition_variable_any never;
    never.wait_for(lock, cancel, span, [] { return false; });
}

} // namespace

int TelegramWeekday(int weekday, int firstDayOfWeek) { return ((weekday - firstDayOfWeek) % 7 + 7) % 7 + 1; }

std::string TimeTelegram(const DateTime& at, int firstDayOfWeek) {
    std::string telegram;
    telegram.reserve(kTimeTelegramLength);
    AddTwoDigits(telegram, at.hour);
    AddTwoDigits(telegram, at.minute);
    AddTwoDigits(telegram, at.second);
    telegram += static_cast<char>(kDigitBase + TelegramWeekday(at.weekday, firstDayOfWeek));
    AddTwoDigits(telegram, at.day);
    AddTwoDigits(telegram, at.month);
    AddTwoDigits(telegram, at.year % 100);
    telegram += "\x10\x33\x0D";
    return telegram;
}

bool ClockListens(const ModemLines& lines) { return lines.clearToSend || lines.carrierDetect; }

TimeTransmitter::TimeTransmitter(const TimeSource& clock, int firstDayOfWeek)
    : clock_(clock), firstDayOfWeek_(firstDayOfWeek), last_(clock.Now()) {}

TimeTransmitter::Tick TimeTransmitter::Step(ClockLink& link, std::stop_token cancel) {
    Tick tick;
    tick.now = clock_.Now();
    if (SameSecond(tick.now, last_)) return tick;
    tick.newSecond = true;
    last_ = tick.now;
    if (!ClockListens(link.modemLines())) return tick;
    tick.link = SendBytes(link, TimeTelegram(tick.now, firstDayOfWeek_), std::move(cancel));
    tick.sent = tick.link == LinkStatus::Ok;
    return tick;
}

SendTimeOutcome RunTimeTransmitter(ClockLink& link, const TimeSource& clock, int firstDayOfWeek, long seconds,
                                   milliseconds poll, const SendTimeProgress& progress, std::stop_token cancel) {
    SendTimeOutcome outcome;
    TimeTransmitter transmitter(clock, firstDayOfWeek);
    for (;;) {
        if (cancel.stop_requested()) {
            outcome.link = LinkStatus::Cancelled;
            return outcome;
        }
        const TimeTransmitter::Tick tick = transmitter.Step(link, cancel);
        if (tick.link != LinkStatus::Ok) {
            outcome.link = tick.link;
            return outcome;
        }
        if (tick.newSecond) {
            ++outcome.seconds;
            if (tick.sent) ++outcome.telegrams;
            if (progress) progress(tick.now, tick.sent);
            if (seconds > 0 && outcome.seconds >= seconds) return outcome;
        }
        Pause(poll, cancel);
    }
}

} // namespace plumet
