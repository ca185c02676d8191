#include <gtest/gtest.h>

#include "core/releasepoints/releasepoints.h"
#include "testfolder.h"

namespace plumet {
namespace {

const std::string kRacePoints = TestData("releasepoints/racepo.dat");
const PositionFields kSpa = {{"N", "50", "29", "30", "00"}, {"E", "005", "52", "00", "00"}};

const std::string kEmpty = TestData("releasepoints/empty.dat");

struct RacePointFolder : TestFolder {
    RacePointTable table;
    RacePointsLoad loaded;
    explicit RacePointFolder(const std::string& bytes = "") {
        std::filesystem::create_directories(path() / "racepo");
        if (!bytes.empty()) Write("racepo/racepo.dat", bytes);
        loaded = LoadRacePoints(table, RacePointFilePath(path()));
    }
    std::string File() const { return Read("racepo/racepo.dat"); }
};

TEST(RacePoints, FirstUseWritesNinetyEightEmptySlotsAndAMissingFolderIsTold) {
    RacePointFolder folder;
    EXPECT_EQ(folder.loaded.count, 98U);
    EXPECT_EQ(folder.File(), kEmpty);
    folder.Write("racepo/racepo.dat", ""); // no bytes: nothing to keep
    EXPECT_EQ(LoadRacePoints(folder.table, RacePointFilePath(folder.path())).count, 98U);
    EXPECT_EQ(folder.File(), kEmpty);
    TestFolder noFolder;
    RacePointTable table;
    EXPECT_TRUE(!LoadRacePoints(table, RacePointFilePath(noFolder.path())).problem.empty() && table.Count() == 98U);
}

TEST(RacePoints, TheGoldenFileIsBuiltByAddAndReadsAndWritesBackByteForByte) {
    RacePointFolder fresh;
    for (const RacePointFields& fields :
         {RacePointFields{"98", "BARCELONA", "Barcelona", {{"N", "41", "22", "50", "00"}, {"E", "2", "10", "45", ""}}},
          RacePointFields{"1", "SPA", "Spa, Belgien", kSpa},
          RacePointFields{"05", "ORLEANS", "Orleans-Saran, Loiret", {{"", "47", "54", "50", "12"},
                                                                     {"+", "1", "52", "33", "99"}}}})
        EXPECT_TRUE(SaveAddedRacePoint(fresh.table, fresh.path(), fields).Done());
    EXPECT_EQ(fresh.File(), kRacePoints);
    RacePointFolder folder(kRacePoints);
    ASSERT_EQ(folder.loaded.count, 98U);
    ASSERT_TRUE(SaveRacePoints(folder.table, RacePointFilePath(folder.path())));
    EXPECT_EQ(folder.File(), kRacePoints);
}

TEST(RacePoints, AddAndAlterRefuseWithMessageOneAndFocusOnTheFault) {
    RacePointFolder folder;
    PositionFields farNorth = kSpa;
    farNorth.latitude.degrees = "90";
    PositionFields badSign = kSpa;
    badSign.longitude.sign = "N";
    const std::pair<RacePointFields, const char*> refused[] = {
        {{"", "SPA", "Spa", kSpa}, "Text1"}, {{"99", "SPA", "Spa", kSpa}, "Text1"}, {{"5", "", "Spa", kSpa}, "Text2"},
        {{"5", "SPA", "", kSpa}, "Text3"},   {{"5", "   ", "Spa", kSpa}, "Text2"}, {{"5", "SPA", " ", kSpa}, "Text3"},
        {{"5", "SPA", "Spa", farNorth}, "Text5"},
        {{"5", "SPA", "Spa", badSign}, "Text9"}};
    for (const auto& [fields, focus] : refused) {
        const ActionResult result = SaveAddedRacePoint(folder.table, folder.path(), fields);
        EXPECT_TRUE(result.message == kRacePointInvalidInput && result.focusField == focus) << focus;
        EXPECT_EQ(SaveAlteredRacePoint(folder.table, folder.path(), fields).focusField, focus);
    }
    EXPECT_EQ(folder.File(), kEmpty);
}

TEST(RacePoints, ATypedNumberFillsTheFieldsAddOverwritesAndDeleteEmptiesTheSlot) {
    RacePointFolder folder(kRacePoints);
    const auto found = RacePointForTypedNumber(folder.table, "05");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->position.latitude, (CoordinateFields{"+", "47", "54", "50", "12"}));
    for (const char* ignored : {"5", "00", "99", "x5"}) EXPECT_FALSE(RacePointForTypedNumber(folder.table, ignored));
    RacePointFields changed = *found;
    changed.place = "Saran";
    ASSERT_TRUE(SaveAddedRacePoint(folder.table, folder.path(), changed).Done());
    EXPECT_EQ(RacePointPlaceOf(folder.table.Record(5)), "Saran" + std::string(25, ' '));

    EXPECT_FALSE(WithFailingSaves([&] { return DeleteCurrentRacePoint(folder.table, folder.path(), "05"); }).saved.ok);
    EXPECT_EQ(folder.table.Record(5), BuildRacePointRecord(RacePointFieldsOnSave(changed)));
    ASSERT_TRUE(DeleteCurrentRacePoint(folder.table, folder.path(), "05").Done());
    EXPECT_EQ(folder.File(), TestData("releasepoints/racepo_deleted.dat"));
}

TEST(RacePoints, MalformedFilesAreRefusedAndNeverReplaced) {
    const std::string slot = EmptyRacePointRecord(1) + "\r\n";
    for (const std::string& bytes : {" 2 \r\n" + slot + "02\r\n", "two\r\n" + slot, " 3 \r\n" + slot + slot,
                                     " 100 \r\n" + slot}) {
        RacePointFolder folder(bytes);
        EXPECT_TRUE(folder.loaded.outcome == LoadOutcome::Unreadable && !folder.loaded.problem.empty());
        EXPECT_FALSE(SaveAddedRacePoint(folder.table, folder.path(), {"1", "SPA", "Spa", kSpa}).saved.ok ||
                     DeleteCurrentRacePoint(folder.table, folder.path(), "01").saved.ok);
        EXPECT_EQ(folder.File(), bytes);
    }
}

TEST(RacePoints, ASlotBeyondAShortRegisterIsWrittenWithTheEmptySlotsBeforeIt) {
    RacePointFolder folder(" 1 \n" + EmptyRacePointRecord(1) + "\n");
    ASSERT_EQ(folder.loaded.count, 1U);
    ASSERT_TRUE(SaveAddedRacePoint(folder.table, folder.path(), {"4", "SPA", "Spa", kSpa}).Done());
    RacePointFolder back(folder.File());
    ASSERT_EQ(back.loaded.count, 4U);
    EXPECT_EQ(back.table.Record(3), EmptyRacePointRecord(3));
    EXPECT_FALSE(PutRacePoint(back.table, "00" + std::string(62, ' ')));
}

TEST(RacePoints, NamesTakeOnlyWhatTheClockCanShowAndTheListScrollsToTheSlot) {
    EXPECT_EQ(FilteredText(U"Sp\u00E4 +,-./x", RacePointTextKey), "Sp +,-.x");
    EXPECT_TRUE(RacePointListTopIndex(25) == 15 && !RacePointListTopIndex(9));
}

} // namespace
} // namespace plumet
