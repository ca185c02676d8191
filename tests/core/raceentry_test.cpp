#include <gtest/gtest.h>

#include "race/raceentry.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(RaceEntry, ANewRaceWithoutDefaultsStartsAtSevenWithTheNightClosed) {
    const Race race = NewRaceValues(std::nullopt, MakeDateTime(2024, 5, 15, 9, 30));
    EXPECT_EQ(race.releaseHour, 7);
    EXPECT_EQ(race.releaseMinute, 0);
    EXPECT_EQ(race.closedFromHour, 20);
    EXPECT_EQ(race.closedToHour, 6);
    EXPECT_EQ(race.meanDistance, "0000");
    EXPECT_EQ(race.nights, 0);
    EXPECT_FALSE(race.overNight);
    EXPECT_EQ(race.distanceUnit, kRaceInKm);
    EXPECT_TRUE(race.name.empty());
    EXPECT_EQ(RaceDateText(race), "15.05.2024");
    EXPECT_EQ(race.flightWeek, 20);
}

TEST(RaceEntry, ANewRaceTakesTheDefaultsButTodaysDateAndWeek) {
    Race defaults;
    defaults.name = PadRight("Weekly", 30);
    defaults.clubName = PadRight("Nord", 30);
    defaults.releasePointName = PadRight("SPA", 43);
    defaults.distanceUnit = kRaceInMiles;
    defaults.releaseHour = 6;
    defaults.releaseMinute = 45;
    defaults.nights = 2;
    defaults.overNight = true;
    defaults.closedFromHour = 21;
    defaults.closedToMinute = 30;
    defaults.headerComment = PadRight("Head", 60);
    defaults.footerComment = PadRight("Foot", 60);
    defaults.meanDistance = "0321";
    Race expected = defaults;
    // The date, the week and everything else that is not carried over come afresh.
    defaults.day = 1;
    defaults.month = 4;
    defaults.year = 2023;
    defaults.flightWeek = 14;
    defaults.clubNumber = 7;
    defaults.releasePointNumber = 5;
    defaults.releaseLatitude = "N50293000";
    defaults.pigeonsEntered = 12;
    expected.day = 31;
    expected.month = 12;
    expected.year = 2024;
    expected.flightWeek = 53;
    EXPECT_EQ(NewRaceValues(defaults, MakeDateTime(2024, 12, 31)), expected);
}

TEST(RaceEntry, CollectingPadsTheTextsAndTakesTheReleasePointCoordinates) {
    RacePointTable points;
    TestFolder fresh;
    std::filesystem::create_directories(fresh.path() / "racepo");
    LoadRacePoints(points, RacePointFilePath(fresh.path()));
    ASSERT_TRUE(PutRacePoint(points, "05SPA          Spa, Belgien                  N50293000E005520000"));

    RaceEditorFields fields;
    fields.name = "Spring 1";
    fields.day = 15;
    fields.month = 5;
    fields.year = 2024;
    fields.club = {PadRight("Nord", 30), 7};
    fields.racePoint = {"SPA          Spa, Belgien                  ", 5};
    fields.releaseHour = "07";
    fields.releaseMinute = "30";
    fields.closedFromHour = "20";
    fields.closedFromMinute = "00";
    fields.closedToHour = "06";
    fields.closedToMinute = "00";
    fields.nights = "";
    fields.flightWeek = "20";
    fields.headerComment = "Opener";
    fields.meanDistance = "25";
    Race race = CollectRace(fields, points);
    EXPECT_EQ(race.name, PadRight("Spring 1", 30));
    EXPECT_EQ(race.headerComment, PadRight("Opener", 60));
    EXPECT_EQ(race.footerComment, std::string(60, ' '));
    EXPECT_EQ(race.meanDistance, "0025");
    EXPECT_EQ(race.nights, 0);
    EXPECT_FALSE(race.overNight);
    EXPECT_EQ(race.releaseLatitude, "N50293000");
    EXPECT_EQ(race.releaseLongitude, "E005520000");
    EXPECT_EQ(race.releaseHour, 7);
    EXPECT_EQ(race.releaseMinute, 30);
    EXPECT_EQ(race.clubNumber, 7);
    EXPECT_EQ(race.releasePointNumber, 5);
    EXPECT_EQ(race.flightWeek, 20);

    fields.nights = "2";
    fields.racePoint.number = 99; // no such slot: no coordinates
    race = CollectRace(fields, points);
    EXPECT_TRUE(race.overNight);
    EXPECT_EQ(race.releaseLatitude, std::string(9, ' '));

    // The editor's boxes for a race, and back.
    const RaceEditorFields shown = RaceEditorFieldsOf(race);
    EXPECT_EQ(shown.releaseHour, "07");
    EXPECT_EQ(shown.closedToHour, "06");
    EXPECT_EQ(shown.nights, "2");
    EXPECT_EQ(shown.flightWeek, "20");
    EXPECT_EQ(shown.club.text, PadRight("Nord", 30));
}

} // namespace
} // namespace plumet
