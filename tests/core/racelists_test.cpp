#include <gtest/gtest.h>

#include "core/race/racelists.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(RaceLists, ItemsCarryTextAndNumberAndPointsWithoutANameAreLeftOut) {
    ClubTable clubs;
    InsertClub(clubs, "002" + PadRight("Nord", 60));
    InsertClub(clubs, "010" + PadRight("Sued", 30) + PadRight("x", 30));
    const auto clubItems = ClubItems(clubs);
    ASSERT_EQ(clubItems.size(), 2U);
    EXPECT_EQ(clubItems[1], (ListItem{PadRight("Sued", 30), 10}));
    RacePointTable points;
    PutRacePoint(points, "07SPA          " + PadRight("Spa", 30) + "N50293000E005520000");
    PutRacePoint(points, "09" + std::string(43, ' ') + "N50293000E005520000");
    EXPECT_EQ(RacePointItems(points), (std::vector<ListItem>{{"SPA          " + PadRight("Spa", 30), 7}}));
    // Choosing by text: the item itself, or the first one when the text is gone.
    EXPECT_EQ(IndexOfItemText(clubItems, PadRight("Sued", 30)), 1U);
    EXPECT_EQ(IndexOfItemText(clubItems, "Sued"), 0U);
}

} // namespace
} // namespace plumet
