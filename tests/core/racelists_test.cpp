#include <gtest/gtest.h>

#include "race/racelists.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(RaceLists, ItemsCarryTheTextShownAndTheNumber) {
    TestFolder folder;
    folder.Write("club/club.dat", " 2 \r\n002" + PadRight("Nord", 30) + PadRight("", 30) + "\r\n010" +
                                      PadRight("Sued", 30) + PadRight("x", 30) + "\r\n");
    ClubTable clubs;
    LoadClubs(clubs, ClubFilePath(folder.path()));
    const auto clubItems = ClubItems(clubs);
    ASSERT_EQ(clubItems.size(), 2U);
    EXPECT_EQ(clubItems[1], (ListItem{PadRight("Sued", 30), 10}));

    std::filesystem::create_directories(folder.path() / "racepo");
    RacePointTable points;
    LoadRacePoints(points, RacePointFilePath(folder.path()));
    PutRacePoint(points, "07SPA          " + PadRight("Spa", 30) + "N50293000E005520000");
    PutRacePoint(points, "09" + std::string(43, ' ') + "N50293000E005520000"); // no name: not listed
    const auto pointItems = RacePointItems(points);
    ASSERT_EQ(pointItems.size(), 1U);
    EXPECT_EQ(pointItems[0], (ListItem{"SPA          " + PadRight("Spa", 30), 7}));

    // Choosing by text: the item itself, or the first one when the text is gone.
    EXPECT_EQ(IndexOfItemText(clubItems, PadRight("Sued", 30)), 1U);
    EXPECT_EQ(IndexOfItemText(clubItems, "Sued"), 0U);
    EXPECT_EQ(IndexOfItemText({}, "Sued"), 0U);
}

} // namespace
} // namespace plumet
