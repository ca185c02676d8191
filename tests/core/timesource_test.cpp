#include <gtest/gtest.h>

#include "app/timesource.h"

namespace plumet {
namespace {

TEST(DateTime, WeekdaysAndCalendarChecks) {
    EXPECT_EQ(MakeDateTime(2008, 6, 4, 9, 5, 7).weekday, 3); // a Wednesday
    EXPECT_EQ(MakeDateTime(2000, 1, 1).weekday, 6);
    EXPECT_TRUE(IsValidDateTime(MakeDateTime(2008, 2, 29, 23, 59, 59)));
    EXPECT_FALSE(IsValidDateTime(MakeDateTime(2001, 2, 29)));
    EXPECT_FALSE(IsValidDateTime(MakeDateTime(2001, 13, 1)));
    EXPECT_FALSE(IsValidDateTime(MakeDateTime(2001, 1, 1, 24, 0, 0)));
}

TEST(DateTime, CivilSecondsRoundTripAcrossMonthYearAndEpoch) {
    for (const DateTime& at : {MakeDateTime(2008, 2, 29, 12, 0, 1), MakeDateTime(1969, 12, 31, 23, 59, 59),
                               MakeDateTime(2029, 12, 31, 0, 0, 0)})
        EXPECT_EQ(FromCivilSeconds(CivilSeconds(at)), at);
    EXPECT_EQ(CivilSeconds(MakeDateTime(1970, 1, 2)), 86400);
}

TEST(FrozenTimeSource, StandsStillUntilMoved) {
    FrozenTimeSource time(MakeDateTime(2008, 12, 31, 23, 59, 30));
    EXPECT_EQ(time.Now(), time.Now());
    time.Advance(45);
    EXPECT_EQ(time.Now(), MakeDateTime(2009, 1, 1, 0, 0, 15));
    time.Advance(-86400);
    EXPECT_EQ(time.Now(), MakeDateTime(2008, 12, 31, 0, 0, 15));
}

TEST(SystemTimeSource, GivesAValidLocalTime) {
    const DateTime now = SystemTimeSource().Now();
    EXPECT_TRUE(IsValidDateTime(now));
    EXPECT_EQ(MakeDateTime(now.year, now.month, now.day).weekday, now.weekday);
    EXPECT_LE(std::abs(now.utcOffsetMinutes), 14 * 60);
}

} // namespace
} // namespace plumet
