#include <gtest/gtest.h>

#include "core/app/weeks.h"

namespace plumet {
namespace {

TEST(Weeks, WeekOneHoldsTheFirstOfJanuaryAndWeeksStartOnSunday) {
    struct Case {
        int year, month, day, week;
    };
    for (const Case c : {Case{2024, 1, 6, 1}, {2024, 1, 7, 2},   // a Monday first of January
                         {2023, 1, 7, 1}, {2023, 1, 8, 2},       // a Sunday first of January
                         {2022, 1, 1, 1}, {2022, 1, 2, 2},       // a Saturday: week 1 is one day long
                         {2023, 12, 31, 53}, {2000, 12, 31, 54}, // every year reaches 53; 2000 even 54
                         {2024, 6, 1, 22}, {2024, 6, 2, 23}})
        EXPECT_EQ(WeekNumber(c.year, c.month, c.day), c.week) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(WeekText(MakeDateTime(2024, 1, 7)), "02");
    EXPECT_EQ(LastWeekOfYear(2026) * 100 + LastWeekOfYear(2000), 5354);
}

} // namespace
} // namespace plumet
