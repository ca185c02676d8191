#include <gtest/gtest.h>

#include "app/weeks.h"

namespace plumet {
namespace {

TEST(Weeks, WeekOneHoldsTheFirstOfJanuaryAndWeeksStartOnSunday) {
    struct Case {
        int year, month, day, week;
    };
    const Case cases[] = {
        {2024, 1, 1, 1},    {2024, 1, 6, 1},    {2024, 1, 7, 2},  // a Monday first of January
        {2023, 1, 1, 1},    {2023, 1, 7, 1},    {2023, 1, 8, 2},  // a Sunday first of January
        {2022, 1, 1, 1},    {2022, 1, 2, 2},                      // a Saturday: week 1 is one day long
        {2022, 12, 31, 53}, {2023, 12, 31, 53},                   // every year reaches week 53
        {2000, 12, 30, 53}, {2000, 12, 31, 54},                   // a leap year that began on a Saturday
        {2024, 6, 1, 22},   {2024, 6, 2, 23},
    };
    for (const Case& c : cases) EXPECT_EQ(WeekNumber(c.year, c.month, c.day), c.week) << c.year << "-" << c.month << "-" << c.day;
}

TEST(Weeks, TextIsTwoDigits) {
    EXPECT_EQ(WeekText(MakeDateTime(2024, 1, 7)), "02");
    EXPECT_EQ(WeekText(MakeDateTime(2024, 6, 2)), "23");
    EXPECT_EQ(WeekNumber(MakeDateTime(2022, 12, 31, 23, 59, 59)), 53);
}

} // namespace
} // namespace plumet
