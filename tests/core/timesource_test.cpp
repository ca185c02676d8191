#include <gtest/gtest.h>

#include "core/app/timesource.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(DateTime, CalendarChecksAndAFrozenClockMovedAcrossTheYearEndAndBack) {
    EXPECT_TRUE(IsValidDateTime(MakeDateTime(2008, 2, 29, 23, 59, 59)));
    EXPECT_FALSE(IsValidDateTime(MakeDateTime(2001, 2, 29)) || IsValidDateTime(MakeDateTime(2001, 1, 1, 24, 0, 0)));
    FrozenTimeSource time(MakeDateTime(2008, 12, 31, 23, 59, 30));
    time.Advance(45);
    EXPECT_EQ(time.Now(), MakeDateTime(2009, 1, 1, 0, 0, 15));
    time.Advance(-39 * 365 * 86400 - 10 * 86400 - 16); // across the 1970 epoch
    EXPECT_EQ(time.Now(), MakeDateTime(1969, 12, 31, 23, 59, 59));
    const DateTime now = SystemTimeSource().Now();
    EXPECT_TRUE(IsValidDateTime(now));
    EXPECT_EQ(MakeDateTime(now.year, now.month, now.day).weekday, now.weekday);
}

TEST(DateTime, TheOffsetFromUtcIsTheOneInForceAtEachTime) {
    const struct { const char* zone; DateTime at; int minutes; } cases[] = {
        {"Europe/Berlin", MakeDateTime(2025, 10, 25, 14, 0, 0), 120},
        {"Europe/Berlin", MakeDateTime(2025, 10, 26, 9, 0, 0), 60},
        {"Europe/Berlin", MakeDateTime(2025, 3, 30, 2, 30, 0), 120}, // skipped by the change: after it
        {"America/St_Johns", MakeDateTime(2024, 1, 15, 12, 0, 0), -210},
        {"America/St_Johns", MakeDateTime(2024, 7, 15, 12, 0, 0), -150},
    };
    for (const auto& c : cases) {
        const ScopedTimeZone zone(c.zone);
        EXPECT_EQ(LocalUtcOffsetMinutes(c.at), c.minutes) << c.zone << " " << c.at.month;
    }
}

} // namespace
} // namespace plumet
