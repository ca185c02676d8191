#include <gtest/gtest.h>

#include "core/race/raceentry.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(RaceEntry, ANewRaceTakesTheDefaultsButTodaysDateAndWeek) {
    const Race plain = NewRaceValues(std::nullopt, MakeDateTime(2024, 5, 15, 9, 30));
    EXPECT_EQ(RaceDateText(plain), "15.05.2024");
    EXPECT_EQ(plain.flightWeek, 20);

    Race defaults;
    defaults.name = PadRight("Weekly", 30);
    defaults.distanceUnit = kRaceInMiles;
    defaults.releaseMinute = 45;
    defaults.nights = 2;
    defaults.overNight = true;
    defaults.footerComment = PadRight("Foot", 60);
    defaults.meanDistance = "0321";
    Race expected = defaults;
    expected.day = 31;
    expected.month = 12;
    expected.year = 2024;
    expected.flightWeek = 53;
    // Not carried over: the date, the week, the numbers, the coordinates and the counters.
    defaults.flightWeek = 14;
    defaults.clubNumber = 7;
    defaults.releaseLatitude = "N50293000";
    defaults.pigeonsEntered = 12;
    EXPECT_EQ(NewRaceValues(defaults, MakeDateTime(2024, 12, 31)), expected);
}

TEST(RaceEntry, TheEditorBoxesGiveBackTheRaceWithTheReleasePointCoordinatesOfItsSlot) {
    RacePointTable points;
    TestFolder folder;
    std::filesystem::create_directories(folder.path() / "racepo");
    LoadRacePoints(points, RacePointFilePath(folder.path()));
    ASSERT_TRUE(PutRacePoint(points, "05SPA          Spa, Belgien                  N50293000E005520000"));
    Race race = NewRaceValues(std::nullopt, MakeDateTime(2024, 5, 15));
    race.name = PadRight("Spring 1", 30);
    race.clubName = PadRight("Nord", 30);
    race.clubNumber = 7;
    race.releasePointName = "SPA          Spa, Belgien                  ";
    race.releasePointNumber = 5;
    race.headerComment = PadRight("Opener", 60);
    race.footerComment = std::string(60, ' ');
    race.releaseLatitude = "N50293000";
    race.releaseLongitude = "E005520000";
    RaceEditorFields fields = RaceEditorFieldsOf(race);
    EXPECT_EQ(fields.closedToHour, "06");
    EXPECT_EQ(CollectRace(fields, points), race);

    fields.name = "Spring 1";
    fields.headerComment = "";
    fields.meanDistance = "25";
    fields.nights = "2";
    fields.racePoint.number = 99; // no such slot: no coordinates
    race = CollectRace(fields, points);
    EXPECT_EQ(race.name, PadRight("Spring 1", 30));
    EXPECT_EQ(race.headerComment, std::string(60, ' '));
    EXPECT_EQ(race.meanDistance, "0025");
    EXPECT_TRUE(race.overNight);
    EXPECT_EQ(race.releaseLatitude, std::string(9, ' '));
}

} // namespace
} // namespace plumet
