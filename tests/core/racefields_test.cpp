#include <gtest/gtest.h>

#include "app/fieldrules.h"
#include "race/racefields.h"

namespace plumet {
namespace {

TEST(RaceFields, TheRaceNameTakesOnlyWhatAFileNameCanHold) {
    EXPECT_EQ(FilteredText(U"Spring_1 a", RaceNameKey), "Spring_1 a");
    EXPECT_EQ(FilteredText(U"Sp\u00E4t/1.\\:*?\"<>|", RaceNameKey), "Spt1");
    EXPECT_EQ(RaceNameKey(kBackspaceKey), '\b');
}

TEST(RaceFields, TimeAndDateBoxesHaveTheirRanges) {
    EXPECT_EQ(ZeroFilledOnLeave("", 2), "00");
    EXPECT_EQ(ZeroFilledOnLeave(" 7", 2), "07");
    EXPECT_EQ(ZeroFilledOnLeave("", 1), "0");
    EXPECT_TRUE(IsHourText("00"));
    EXPECT_TRUE(IsHourText("23"));
    EXPECT_FALSE(IsHourText("24"));
    EXPECT_TRUE(IsMinuteText("59"));
    EXPECT_FALSE(IsMinuteText("60"));
    EXPECT_FALSE(IsMinuteText(""));
    EXPECT_FALSE(IsRaceWeekText("00"));
    EXPECT_FALSE(IsRaceWeekText(""));
    EXPECT_TRUE(IsRaceWeekText("1"));
    EXPECT_TRUE(IsRaceWeekText("54"));
    EXPECT_FALSE(IsRaceWeekText("55"));
    EXPECT_TRUE(IsDayText("00"));
    EXPECT_TRUE(IsDayText("31"));
    EXPECT_FALSE(IsDayText("32"));
    EXPECT_TRUE(IsMonthText("12"));
    EXPECT_FALSE(IsMonthText("13"));
    EXPECT_FALSE(ClosedPeriodApplies(""));
    EXPECT_FALSE(ClosedPeriodApplies("0"));
    EXPECT_TRUE(ClosedPeriodApplies("1"));
}

} // namespace
} // namespace plumet
