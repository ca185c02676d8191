#pragma once
// frmSendTime's time transmitter: at the start of each new second the PC's date and time
// go to the clock as a 16-byte telegram, but only while the clock listens on its status
// lines. Nothing is ever read back.
#include <chrono>
#include <cstddef>
#include <functional>
#include <stop_token>
#include <string>

#include "core/app/timesource.h"
#include "core/clock/clocklink.h"

namespace plumet {

inline constexpr std::size_t kTimeTelegramLength = 16;
// How often the transmitter looks at the PC clock; a telegram leaves at most this late.
inline constexpr milliseconds kSendTimePoll{5};

// 1 to 7, counted from `firstDayOfWeek`; both days 0 = Sunday ... 6 = Saturday.
int TelegramWeekday(int weekday, int firstDayOfWeek);

// Hour, minute, second, weekday, day, month, year % 100 as digit bytes 0x10 + d, then
// 0x10, "3" and CR.
std::string TimeTelegram(const DateTime& at, int firstDayOfWeek);

// Clear-to-send or carrier-detect.
bool ClockListens(const ModemLines& lines);

// One look at the PC clock and the status lines; call it as often as you like.
class TimeTransmitter {
public:
    // Remembers the current second: the first telegram waits for the next one.
    TimeTransmitter(const TimeSource& clock, int firstDayOfWeek);

    struct Tick {
        bool newSecond = false;
        bool sent = false;
        LinkStatus link = LinkStatus::Ok; // a failed or cancelled send
        DateTime now;
    };
    Tick Step(ClockLink& link, std::stop_token cancel = {});

private:
    const TimeSource& clock_;
    int firstDayOfWeek_;
    DateTime last_;
};

struct SendTimeOutcome {
    LinkStatus link = LinkStatus::Ok; // Cancelled when stopped, PortError when the port failed
    long seconds = 0;                 // new seconds seen
    long telegrams = 0;
};

// After each new second: its time, and whether a telegram went out.
using SendTimeProgress = std::function<void(const DateTime& now, bool sent)>;

// The transmitter until cancelled, or until `seconds` new seconds have passed when it is
// above zero. A failing port ends it.
SendTimeOutcome RunTimeTransmitter(ClockLink& link, const TimeSource& clock, int firstDayOfWeek, long seconds,
                                   milliseconds poll, const SendTimeProgress& progress, std::stop_token cancel);

} // namespace plumet
