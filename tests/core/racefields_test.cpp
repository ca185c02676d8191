#include <gtest/gtest.h>

#include "core/app/fieldrules.h"
#include "core/race/racefields.h"

namespace plumet {
namespace {

TEST(RaceFields, TheNameTakesOnlyWhatAFileNameCanHoldAndTheBoxesHaveTheirRanges) {
    EXPECT_EQ(FilteredText(U"Sp\u00E4t_1 /.\\:*?\"<>|\b", RaceNameKey), "Spt_1 ");
    EXPECT_EQ(ZeroFilledOnLeave(" 7", 2), "07");
    const struct {
        bool (*check)(std::string_view);
        const char* lastGood;
        const char* firstBad;
    } ranges[] = {{IsHourText, "23", "24"}, {IsMinuteText, "59", "60"},
                  {[](std::string_view text) { return IsRaceWeekText(text, 2026); }, "53", "54"},
                  {[](std::string_view text) { return IsRaceWeekText(text, 2000); }, "54", "55"},
                  {IsDayText, "31", "32"},  {IsMonthText, "12", "13"}};
    for (const auto& range : ranges) {
        EXPECT_TRUE(range.check(range.lastGood)) << range.lastGood;
        EXPECT_FALSE(range.check(range.firstBad) || range.check("")) << range.firstBad;
    }
    EXPECT_TRUE(IsDayText("00")); // a day not entered
    EXPECT_FALSE(IsRaceWeekText("00", 2026));
}

} // namespace
} // namespace plumet
