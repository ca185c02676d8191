#pragma once
// The current date and time as an injectable object, so tests can freeze it.
#include <cstdint>
#include <functional>
#include <mutex>

namespace plumet {

struct DateTime {
    int year = 2000;
    int month = 1; // 1-12
    int day = 1;   // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 6;          // 0 = Sunday ... 6 = Saturday (1 January 2000 was a Saturday)
    int utcOffsetMinutes = 0; // local time minus UTC

    bool operator==(const DateTime&) const = default;
};

// The date and time with its weekday filled in; nothing is checked.
DateTime MakeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// True when the fields name a real calendar date and a time of day.
bool IsValidDateTime(const DateTime& at);
// Seconds since 1 January 1970 00:00 of the same wall-clock time (the offset is ignored).
std::int64_t CivilSeconds(const DateTime& at);
DateTime FromCivilSeconds(std::int64_t seconds, int utcOffsetMinutes = 0);

// The offset from UTC, in minutes, in force at a local wall-clock time.
using UtcOffsetAt = std::function<int(const DateTime& local)>;
// From the system's zone rules (the TZ variable where it is set); a time that the change to
// summer time skips counts with the offset after the change.
int LocalUtcOffsetMinutes(const DateTime& local);
// The same offset at every time.
UtcOffsetAt FixedUtcOffset(int minutes);

class TimeSource {
public:
    virtual ~TimeSource() = default;
    // Local wall-clock time.
    virtual DateTime Now() const = 0;
};

class SystemTimeSource final : public TimeSource {
public:
    DateTime Now() const override;
};

class FrozenTimeSource final : public TimeSource {
public:
    explicit FrozenTimeSource(DateTime at = MakeDateTime(2000, 1, 1)) : at_(at) {}
    DateTime Now() const override;
    void Set(DateTime at);
    void Advance(std::int64_t seconds);

private:
    mutable std::mutex mutex_;
    DateTime at_;
};

} // namespace plumet
