#include <gtest/gtest.h>

#include "race/weeks.h"

namespace plumet {
namespace {

TEST(Weeks, WeeksStartOnSundayAndTheFirstHoldsNewYear) {
    // 2023 began on a Sunday: the first week is whole.
    EXPECT_EQ(WeekOfYear(2023, 1, 1), 1);
    EXPECT_EQ(WeekOfYear(2023, 1, 7), 1);
    EXPECT_EQ(WeekOfYear(2023, 1, 8), 2);
    // 2022 began on a Saturday: week 1 is that one day, the next Sunday starts week 2.
    EXPECT_EQ(WeekOfYear(2022, 1, 1), 1);
    EXPECT_EQ(WeekOfYear(2022, 1, 2), 2);
    EXPECT_EQ(WeekOfYear(2022, 12, 31), 53);
    // 15 May 2024 is a Wednesday of the twentieth week (2024 began on a Monday).
    EXPECT_EQ(WeekOfYear(2024, 5, 12), 20);
    EXPECT_EQ(WeekOfYear(2024, 5, 15), 20);
    EXPECT_EQ(WeekOfYear(2024, 5, 11), 19);
}

TEST(Weeks, ALeapYearThatStartsOnSaturdayEndsInWeek54) {
    EXPECT_EQ(WeekOfYear(2000, 12, 30), 53);
    EXPECT_EQ(WeekOfYear(2000, 12, 31), 54);
    EXPECT_EQ(WeekOfYear(2028, 12, 31), 54);
    EXPECT_EQ(kLastPossibleWeek, 54);
}

} // namespace
} // namespace plumet
