#include <gtest/gtest.h>

#include <fstream>

#include "registers/clubs.h"
#include "testfolder.h"

namespace plumet {
namespace {

std::string Golden(const std::string& name) {
    std::ifstream in(std::string(PLUMET_TEST_DATA) + "/clubs/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ClubFolder : TestFolder {
    ClubFolder() { std::filesystem::create_directories(path() / "club"); }
    std::string File() const { return Read("club/club.dat"); }
};

TEST(Clubs, FileReadsAndWritesBackByteForByte) {
    TestFolder folder;
    const std::string golden = Golden("club.dat");
    std::string lfOnly;
    for (const char c : golden)
        if (c != '\r') lfOnly += c;
    folder.Write("CLUB/Club.DAT", lfOnly);
    ClubTable table;
    ASSERT_EQ(LoadClubs(table, ClubFilePath(folder.path())), 3U);
    EXPECT_EQ(ClubNameOf(table.Record(1)), "Brieftaubenverein M\xFCnster" + std::string(5, ' '));
    ASSERT_TRUE(SaveClubs(table, ClubFilePath(folder.path())));
    EXPECT_EQ(folder.Read("CLUB/Club.DAT"), golden);
}

TEST(Clubs, AddBuildsPaddedRecordsInNumberOrder) {
    ClubFolder folder;
    ClubTable table;
    LoadClubs(table, ClubFilePath(folder.path()));
    EXPECT_TRUE(SaveAddedClub(table, folder.path(), {"10", "Zur Post", "  Treffen freitags"}).Done());
    EXPECT_TRUE(SaveAddedClub(table, folder.path(), {"2", " Brieftaubenverein M\xFCnster ", "gegr\xFCndet 1921"}).Done());
    EXPECT_TRUE(SaveAddedClub(table, folder.path(), {"005", "Heimatliebe", ""}).Done());
    EXPECT_EQ(folder.File(), Golden("club.dat"));
    EXPECT_EQ(table.Record(2).size(), kClubRecordLength);
}

TEST(Clubs, AddRefusesBadInputDuplicatesAndAFullRegisterAndChangesNothing) {
    ClubFolder folder;
    ClubTable table;
    ASSERT_TRUE(SaveAddedClub(table, folder.path(), {"5", "Heimatliebe", ""}).Done());
    const std::string before = folder.File();
    const struct {
        ClubFields fields;
        int message;
        const char* focus;
    } refused[] = {{{"100", "Name", ""}, kClubInvalidInput, "Text1"},
                   {{"", "Name", ""}, kClubInvalidInput, "Text1"},
                   {{"1x", "Name", ""}, kClubInvalidInput, "Text1"},
                   {{"1234", "Name", ""}, kClubInvalidInput, "Text1"},
                   {{"6", "    ", ""}, kClubInvalidInput, "Text2"},
                   {{"6", "", "note"}, kClubInvalidInput, "Text2"},
                   {{"005", "Other", ""}, kClubNumberExists, "Text1"}};
    for (const auto& r : refused) {
        const ActionResult result = SaveAddedClub(table, folder.path(), r.fields);
        EXPECT_EQ(result.message, r.message) << r.fields.number << "/" << r.fields.name;
        EXPECT_EQ(result.focusField, r.focus) << r.fields.number;
    }
    EXPECT_EQ(table.Count(), 1U);
    EXPECT_EQ(folder.File(), before);
    EXPECT_TRUE(SaveAddedClub(table, folder.path(), {"99", "Last", ""}).Done());

    ClubTable full;
    for (int n = 0; n < 250; ++n) InsertClub(full, ZeroPadded(n, 3) + std::string(60, 'x'));
    EXPECT_EQ(SaveAddedClub(full, folder.path(), {"", "", ""}).message, kClubRegisterFull);
}

TEST(Clubs, AlterMayKeepTheNumberAndTakesAnyThreeDigitNumber) {
    ClubFolder folder;
    folder.Write("club/club.dat", Golden("club.dat"));
    ClubTable table;
    LoadClubs(table, ClubFilePath(folder.path()));
    EXPECT_EQ(CurrentClubFields(table, "005"), (ClubFields{"005", "Heimatliebe", ""}));
    EXPECT_FALSE(CurrentClubFields(table, "006"));
    EXPECT_FALSE(CurrentClubFields(table, ""));

    EXPECT_TRUE(SaveAlteredClub(table, folder.path(), "005", {"005", "Heimatliebe e.V.", ""}).Done());
    EXPECT_EQ(ClubNameOf(table.Record(2)), "Heimatliebe e.V." + std::string(14, ' '));

    const std::string before = folder.File();
    const ActionResult clash = SaveAlteredClub(table, folder.path(), "005", {"010", "Heimatliebe", ""});
    EXPECT_EQ(clash.message, kClubNumberExists);
    EXPECT_EQ(SaveAlteredClub(table, folder.path(), "005", {"005", " ", ""}).message, kClubInvalidInput);
    EXPECT_EQ(folder.File(), before);
    EXPECT_EQ(FindClub(table, "005"), 2U);

    // Corrected after the refusals: stored once, under its new number, in order.
    EXPECT_TRUE(SaveAlteredClub(table, folder.path(), "005", {"500", "Heimatliebe", ""}).Done());
    ASSERT_EQ(table.Count(), 3U);
    EXPECT_EQ(FindClub(table, "005"), 0U);
    EXPECT_EQ(ClubNumberOf(table.Record(3)), "500");
    ClubTable reloaded;
    EXPECT_EQ(LoadClubs(reloaded, ClubFilePath(folder.path())), 3U);
    EXPECT_EQ(reloaded.Records(), table.Records());
}

TEST(Clubs, DeleteLeavesTheClubsFancierFilesAlone) {
    ClubFolder folder;
    ClubTable table;
    ASSERT_TRUE(SaveAddedClub(table, folder.path(), {"7", "Only", ""}).Done());
    folder.Write("fancier/f007.DAT", " 0 \r\n");
    EXPECT_TRUE(DeleteCurrentClub(table, folder.path(), "007").Done());
    EXPECT_EQ(folder.File(), " 0 \r\n");
    EXPECT_TRUE(folder.Exists("fancier/f007.DAT"));
}

TEST(Clubs, AFailedSaveReachesTheCallerAndKeepsTableAndFile) {
    ClubFolder folder;
    folder.Write("club/club.dat", Golden("club.dat"));
    ClubTable table;
    LoadClubs(table, ClubFilePath(folder.path()));
    SetSaveFaultForTests([](const Path&) { return true; });
    const ActionResult added = SaveAddedClub(table, folder.path(), {"20", "New", ""});
    const ActionResult altered = SaveAlteredClub(table, folder.path(), "002", {"003", "Renamed", ""});
    const ActionResult deleted = DeleteCurrentClub(table, folder.path(), "010");
    SetSaveFaultForTests(nullptr);
    for (const ActionResult& r : {added, altered, deleted}) {
        EXPECT_EQ(r.message, 0);
        EXPECT_FALSE(r.saved.ok);
        EXPECT_FALSE(r.saved.error.empty());
        EXPECT_FALSE(r.Done());
    }
    EXPECT_EQ(table.Count(), 3U);
    EXPECT_EQ(FindClub(table, "002"), 1U);
    EXPECT_EQ(folder.File(), Golden("club.dat"));

    // A file shorter than its count line is never replaced by the add.
    folder.Write("club/club.dat", " 5 \r\n" + table.Record(1) + "\r\n");
    EXPECT_EQ(LoadClubs(table, ClubFilePath(folder.path())), 0U);
    EXPECT_FALSE(SaveAddedClub(table, folder.path(), {"20", "New", ""}).saved.ok);
    EXPECT_EQ(folder.File(), " 5 \r\n" + Golden("club.dat").substr(5, 65));
}

TEST(Clubs, MainListLines) {
    ClubTable table;
    InsertClub(table, "010" + std::string("Zur Post") + std::string(22, ' ') + std::string(30, 'n'));
    const auto lines = ClubListLines(table);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0], "010:     Zur Post" + std::string(22, ' '));
    EXPECT_EQ(ClubNumberOfListLine(lines[0]), "010");
    EXPECT_EQ(ClubNameOfListLine(lines[0]), "Zur Post" + std::string(22, ' '));
}

} // namespace
} // namespace plumet
