#include <gtest/gtest.h>

#include <fstream>

#include "releasepoints/releasepoints.h"
#include "testfolder.h"

namespace plumet {
namespace {

std::string Golden() {
    std::ifstream in(std::string(PLUMET_TEST_DATA) + "/releasepoints/racepo.dat", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string EmptyRegister() {
    std::string bytes = " 98 \r\n";
    for (int n = 1; n <= 98; ++n) bytes += ZeroPadded(n, 2) + std::string(62, ' ') + "\r\n";
    return bytes;
}

RacePointFields Point(std::string number, std::string name, std::string place, PositionFields position) {
    return {std::move(number), std::move(name), std::move(place), std::move(position)};
}

const PositionFields kSpa = {{"N", "50", "29", "30", "00"}, {"E", "005", "52", "00", "00"}};

struct RacePointFolder : TestFolder {
    RacePointFolder() { std::filesystem::create_directories(path() / "racepo"); }
    std::string File() const { return Read("racepo/racepo.dat"); }
    RacePointsLoad Load(RacePointTable& table) const { return LoadRacePoints(table, RacePointFilePath(path())); }
};

TEST(RacePoints, FirstUseCreatesNinetyEightEmptySlots) {
    RacePointFolder folder;
    RacePointTable table;
    const RacePointsLoad loaded = folder.Load(table);
    EXPECT_EQ(loaded.count, 98U);
    EXPECT_TRUE(loaded.problem.empty());
    EXPECT_EQ(folder.File(), EmptyRegister());

    TestFolder noFolder; // the racepo folder is missing: the slots are there, the problem is told
    EXPECT_EQ(LoadRacePoints(table, RacePointFilePath(noFolder.path())).problem.empty(), false);
    EXPECT_EQ(table.Count(), 98U);
}

TEST(RacePoints, FileReadsAndWritesBackByteForByteAndIsBuiltByAdd) {
    RacePointFolder folder;
    folder.Write("racepo/racepo.dat", Golden());
    RacePointTable table;
    ASSERT_EQ(folder.Load(table).count, 98U);
    ASSERT_TRUE(SaveRacePoints(table, RacePointFilePath(folder.path())));
    EXPECT_EQ(folder.File(), Golden());

    RacePointFolder fresh;
    RacePointTable built;
    fresh.Load(built);
    const RacePointFields typed[] = {
        Point("98", "BARCELONA", "Barcelona", {{"N", "41", "22", "50", "00"}, {"E", "2", "10", "45", ""}}),
        Point("1", "SPA", "Spa, Belgien", kSpa),
        Point("05", "ORLEANS", "Orleans-Saran, Loiret", {{"", "47", "54", "50", "12"}, {"+", "1", "52", "33", "99"}})};
    for (const auto& fields : typed) EXPECT_TRUE(SaveAddedRacePoint(built, fresh.path(), fields).Done());
    EXPECT_EQ(fresh.File(), Golden());
}

TEST(RacePoints, AddRefusesWithMessageOneAndFocusOnTheFault) {
    RacePointFolder folder;
    RacePointTable table;
    folder.Load(table);
    PositionFields farNorth = kSpa;
    farNorth.latitude.degrees = "90";
    PositionFields badSign = kSpa;
    badSign.longitude.sign = "N";
    const struct {
        RacePointFields fields;
        const char* focus;
    } refused[] = {{Point("", "SPA", "Spa", kSpa), "Text1"},   {Point("0", "SPA", "Spa", kSpa), "Text1"},
                   {Point("99", "SPA", "Spa", kSpa), "Text1"}, {Point("5", "SPA", "", kSpa), "Text3"},
                   {Point("5", "", "Spa", kSpa), "Text2"},     {Point("5", "SPA", "Spa", farNorth), "Text5"},
                   {Point("5", "SPA", "Spa", badSign), "Text9"}};
    for (const auto& r : refused) {
        const ActionResult result = SaveAddedRacePoint(table, folder.path(), r.fields);
        EXPECT_EQ(result.message, kRacePointInvalidInput) << r.focus;
        EXPECT_EQ(result.focusField, r.focus);
        EXPECT_EQ(SaveAlteredRacePoint(table, folder.path(), r.fields).focusField, r.focus);
    }
    EXPECT_EQ(folder.File(), EmptyRegister());

    PositionFields blankSign = kSpa;
    blankSign.latitude.sign = "";
    ASSERT_TRUE(SaveAddedRacePoint(table, folder.path(), Point("5", "SPA", "Spa", blankSign)).Done());
    EXPECT_EQ(RacePointLatitudeOf(table.Record(5)), "+50293000");
}

TEST(RacePoints, AddOverwritesAndFillsFromATypedNumberDeleteEmptiesTheSlot) {
    RacePointFolder folder;
    folder.Write("racepo/racepo.dat", Golden());
    RacePointTable table;
    folder.Load(table);

    const auto found = RacePointForTypedNumber(table, "05");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, "ORLEANS");
    EXPECT_EQ(found->position.latitude, (CoordinateFields{"+", "47", "54", "50", "12"}));
    for (const char* ignored : {"5", "", "00", "99", "x5"}) EXPECT_FALSE(RacePointForTypedNumber(table, ignored)) << ignored;
    EXPECT_EQ(CurrentRacePointFields(table, "05"), found);
    for (const char* none : {"", "5", "00", "99"}) EXPECT_FALSE(CurrentRacePointFields(table, none)) << none;
    const auto empty = RacePointForTypedNumber(table, "07");
    ASSERT_TRUE(empty);
    EXPECT_EQ(*empty, Point("07", "", "", {DefaultCoordinateFields(Axis::Latitude), DefaultCoordinateFields(Axis::Longitude)}));

    RacePointFields changed = *found;
    changed.place = "Saran";
    ASSERT_TRUE(SaveAddedRacePoint(table, folder.path(), changed).Done());
    EXPECT_EQ(RacePointPlaceOf(table.Record(5)), "Saran" + std::string(25, ' '));

    SetSaveFaultForTests([](const Path&) { return true; });
    const ActionResult failed = DeleteCurrentRacePoint(table, folder.path(), "05");
    SetSaveFaultForTests(nullptr);
    EXPECT_FALSE(failed.saved.ok || failed.saved.error.empty());
    EXPECT_EQ(table.Record(5), BuildRacePointRecord(RacePointFieldsOnSave(changed)));

    ASSERT_TRUE(DeleteCurrentRacePoint(table, folder.path(), "05").Done());
    ASSERT_TRUE(DeleteCurrentRacePoint(table, folder.path(), "07").Done());
    const auto lines = SplitLines(folder.File());
    ASSERT_EQ(lines.size(), 99U);
    EXPECT_EQ(lines[0], " 98 ");
    EXPECT_EQ(lines[5], EmptyRacePointRecord(5));
    EXPECT_EQ(lines[8], "08" + std::string(62, ' '));
}

TEST(RacePoints, MalformedFilesAreRefusedAndNeverReplaced) {
    const std::string slot = EmptyRacePointRecord(1) + "\r\n";
    const std::string broken[] = {" 2 \r\n" + slot + "02\r\n",
                                  "two\r\n" + slot,
                                  " 3 \r\n" + slot + slot,
                                  " 100 \r\n" + slot,
                                  ""};
    for (const auto& bytes : broken) {
        RacePointFolder folder;
        folder.Write("racepo/racepo.dat", bytes);
        RacePointTable table;
        const RacePointsLoad loaded = folder.Load(table);
        EXPECT_EQ(loaded.count, 0U);
        EXPECT_EQ(loaded.outcome, LoadOutcome::Unreadable);
        EXPECT_FALSE(loaded.problem.empty());
        EXPECT_FALSE(SaveAddedRacePoint(table, folder.path(), Point("1", "SPA", "Spa", kSpa)).saved.ok);
        EXPECT_FALSE(DeleteCurrentRacePoint(table, folder.path(), "01").saved.ok);
        EXPECT_EQ(folder.File(), bytes);
        EXPECT_EQ(table.Count(), 0U);
    }
}

TEST(RacePoints, ASlotBeyondAShortRegisterIsWrittenNotLost) {
    RacePointFolder folder;
    folder.Write("racepo/racepo.dat", " 1 \n" + EmptyRacePointRecord(1) + "\n");
    RacePointTable table;
    ASSERT_EQ(folder.Load(table).count, 1U);
    ASSERT_TRUE(SaveAddedRacePoint(table, folder.path(), Point("4", "SPA", "Spa", kSpa)).Done());
    RacePointTable back;
    ASSERT_EQ(folder.Load(back).count, 4U);
    EXPECT_EQ(back.Record(3), EmptyRacePointRecord(3));
    EXPECT_EQ(RacePointNameOf(back.Record(4)), "SPA" + std::string(10, ' '));
    EXPECT_FALSE(PutRacePoint(back, "00" + std::string(62, ' ')));
    EXPECT_FALSE(PutRacePoint(back, "x1"));
    EXPECT_EQ(back.Count(), 4U);
}

TEST(RacePoints, KeysListLinesAndScrolling) {
    EXPECT_EQ(FilteredText(U"Sp\u00E4 +,-./x", RacePointTextKey), "Sp +,-.x");
    RacePointTable table;
    PutRacePoint(table, "05ORLEANS      " + std::string(49, ' '));
    const auto lines = RacePointListLines(table);
    ASSERT_EQ(lines.size(), 5U);
    EXPECT_EQ(lines[0], "01:  " + std::string(13, ' '));
    EXPECT_EQ(lines[4], "05:  ORLEANS      ");
    EXPECT_EQ(RacePointNumberOfListLine(lines[4]), "05");
    EXPECT_FALSE(RacePointListTopIndex(9));
    EXPECT_EQ(RacePointListTopIndex(10), 0);
    EXPECT_EQ(RacePointListTopIndex(25), 15);
}

} // namespace
} // namespace plumet
