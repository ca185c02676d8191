#include <gtest/gtest.h>

#include "core/registers/clubs.h"
#include "testfolder.h"

namespace plumet {
namespace {

const std::string kGolden = TestData("clubs/club.dat");

struct ClubFolder : TestFolder {
    ClubTable table;
    explicit ClubFolder(const std::string& bytes = kGolden) {
        Write("club/club.dat", bytes);
        LoadClubs(table, ClubFilePath(path()));
    }
    std::string File() const { return Read("club/club.dat"); }
};

TEST(Clubs, LfFileReadsAndWritesBackAsTheGoldenFileWhichAddBuildsInNumberOrder) {
    std::string lfOnly = kGolden;
    std::erase(lfOnly, '\r');
    TestFolder folder;
    folder.Write("CLUB/Club.DAT", lfOnly);
    ClubTable table;
    ASSERT_EQ(LoadClubs(table, ClubFilePath(folder.path())), 3U);
    ASSERT_TRUE(SaveClubs(table, ClubFilePath(folder.path())));
    EXPECT_EQ(folder.Read("CLUB/Club.DAT"), kGolden);

    ClubFolder added(" 0 \r\n");
    for (const ClubFields& f : {ClubFields{"10", "Zur Post", "  Treffen freitags"},
                                ClubFields{"2", " Brieftaubenverein M\xFCnster ", "gegr\xFCndet 1921"},
                                ClubFields{"005", "Heimatliebe", ""}})
        EXPECT_TRUE(SaveAddedClub(added.table, added.path(), f).Done());
    EXPECT_EQ(added.File(), kGolden);
}

TEST(Clubs, AddRefusesBadInputDuplicatesAndAFullRegisterWithTheFocusOnTheFault) {
    ClubFolder folder;
    const struct {
        ClubFields fields;
        int message;
        const char* focus;
    } refused[] = {{{"100", "Name", ""}, kClubInvalidInput, "Text1"}, {{"", "Name", ""}, kClubInvalidInput, "Text1"},
                   {{"1x", "Name", ""}, kClubInvalidInput, "Text1"},  {{"6", "    ", ""}, kClubInvalidInput, "Text2"},
                   {{"005", "Other", ""}, kClubNumberExists, "Text1"}};
    for (const auto& r : refused) {
        const ActionResult result = SaveAddedClub(folder.table, folder.path(), r.fields);
        EXPECT_TRUE(result.message == r.message && result.focusField == r.focus) << r.fields.number << "/" << r.fields.name;
    }
    EXPECT_EQ(folder.File(), kGolden);
    ClubTable full;
    for (int n = 0; n < 250; ++n) InsertClub(full, ZeroPadded(n, 3) + std::string(60, 'x'));
    EXPECT_EQ(SaveAddedClub(full, folder.path(), {"", "", ""}).message, kClubRegisterFull);
}

TEST(Clubs, AlterKeepsOrMovesTheNumberAndRefusesAClash) {
    ClubFolder folder;
    EXPECT_EQ(CurrentClubFields(folder.table, "005"), (ClubFields{"005", "Heimatliebe", ""}));
    EXPECT_TRUE(SaveAlteredClub(folder.table, folder.path(), "005", {"005", "Heimatliebe e.V.", ""}).Done());
    const std::string before = folder.File();
    EXPECT_EQ(SaveAlteredClub(folder.table, folder.path(), "005", {"010", "X", ""}).message, kClubNumberExists);
    EXPECT_EQ(folder.File(), before);
    // Fanciers filed under the old number keep the club on it; an empty fancier file does not.
    folder.Write("fancier/F005.dat", " 1 \r\n001Meier\r\n");
    EXPECT_EQ(SaveAlteredClub(folder.table, folder.path(), "005", {"500", "Heimatliebe", ""}).message,
              kClubFilesUnderOldNumber);
    EXPECT_EQ(folder.File(), before);
    folder.Write("fancier/F005.dat", " 0 \r\n");
    EXPECT_TRUE(SaveAlteredClub(folder.table, folder.path(), "005", {"500", "Heimatliebe", ""}).Done());
    EXPECT_TRUE(folder.table.Count() == 3U && ClubNumberOf(folder.table.Record(3)) == "500"); // once, new number, last
}

TEST(Clubs, DeletingTheLastClubLeavesACountOfZeroAndItsFancierFile) {
    ClubFolder folder(" 1 \r\n007" + std::string(60, ' ') + "\r\n");
    folder.Write("fancier/f007.DAT", " 0 \r\n");
    EXPECT_TRUE(DeleteCurrentClub(folder.table, folder.path(), "007").Done());
    EXPECT_TRUE(folder.File() == " 0 \r\n" && folder.Exists("fancier/f007.DAT"));
}

TEST(Clubs, AFailedSaveKeepsTableAndFile) {
    ClubFolder folder;
    const SaveFault fault;
    for (const ActionResult& r : {SaveAddedClub(folder.table, folder.path(), {"20", "New", ""}),
                                  SaveAlteredClub(folder.table, folder.path(), "002", {"003", "Renamed", ""}),
                                  DeleteCurrentClub(folder.table, folder.path(), "010")})
        EXPECT_TRUE(!r.Done() && !r.saved.error.empty());
    EXPECT_TRUE(FindClub(folder.table, "002") == 1U && folder.table.Count() == 3U);
    EXPECT_EQ(folder.File(), kGolden);
}

} // namespace
} // namespace plumet
