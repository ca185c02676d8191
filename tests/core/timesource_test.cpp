#include <gtest/gtest.h>

#include "app/timesource.h"

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

} // namespace
} // namespace plumet
