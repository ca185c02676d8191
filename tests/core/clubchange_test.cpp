#include <gtest/gtest.h>

#include "core/registers/clubchange.h"
#include "testfolder.h"

namespace plumet {
namespace {

const std::string kPigeons = TestData("clubchange/registers/pigeon/p001012.dat");

// Clubs 001, 002 and 003 (full); club 001 has fanciers 003 and 012 (with pigeons), 002 has 001.
struct Registers : TestFolder {
    Registers() { CopyData("clubchange/registers"); }
    ClubChangeResult Move(std::string club, std::string fancier) const {
        return ChangeClub(path(), "001", "012", {std::move(club), std::move(fancier)});
    }
};

TEST(ClubChange, MovesTheFancierWithHisPigeonsOrRenumbersHimInHisClub) {
    Registers folder;
    ASSERT_TRUE(folder.Move("2", "5").moved);
    EXPECT_EQ(folder.Read("fancier/f001.DAT"), TestData("clubchange/moved/f001.DAT"));
    EXPECT_EQ(folder.Read("fancier/f002.DAT"), TestData("clubchange/moved/f002.DAT"));
    EXPECT_FALSE(folder.Exists("pigeon/p001012.dat"));
    EXPECT_EQ(folder.Read("pigeon/p002005.dat"), kPigeons);

    Registers same; // beyond 255, over a pigeon file nobody owns
    same.Write("pigeon/p001300.dat", " 0 \r\n");
    ASSERT_TRUE(same.Move("001", "300").moved);
    EXPECT_EQ(same.Read("fancier/f001.DAT"), TestData("clubchange/renumbered/f001.DAT"));
    EXPECT_EQ(same.Read("pigeon/p001300.dat"), kPigeons);
    EXPECT_FALSE(same.Exists("pigeon/p001012.dat"));
}

TEST(ClubChange, RefusalsComeInOrderAndChangeNothing) {
    Registers folder;
    const auto before = folder.Snapshot();
    const struct {
        std::string club, fancier;
        int message;
        std::string focus;
    } cases[] = {
        {"000", "005", kClubChangeZeroNumber, "Text1"},  {"002", "", kClubChangeZeroNumber, "Text2"},
        {"009", "000", kClubChangeZeroNumber, "Text2"},  {"009", "005", kClubChangeUnknownClub, "Text1"},
        {"003", "001", kClubChangeClubFull, "Text1"},    {"002", "001", kClubChangeNumberTaken, "Text2"},
        {"001", "012", kClubChangeNumberTaken, "Text2"}, // staying where he is
    };
    for (const auto& c : cases) {
        const ClubChangeResult result = folder.Move(c.club, c.fancier);
        EXPECT_EQ(result.message, c.message) << c.club << "/" << c.fancier;
        EXPECT_EQ(result.focusField, c.focus) << c.club << "/" << c.fancier;
        EXPECT_TRUE(result.saved.ok && !result.moved);
    }
    EXPECT_EQ(folder.Snapshot(), before);
}

TEST(ClubChange, PigeonFilesAreNeverLostAndAnUnreadableFileStopsTheMoveBeforeAnythingChanges) {
    Registers missing; // no file: an empty one under the new name
    std::filesystem::remove(missing.path() / "pigeon/p001012.dat");
    ASSERT_TRUE(missing.Move("002", "005").moved);
    EXPECT_EQ(missing.Read("pigeon/p002005.dat"), " 0 \r\n");
    Registers odd; // a count the lines do not bear out: copied as it is
    odd.Write("pigeon/p001012.dat", " 5 \r\n" + kPigeons.substr(5));
    ASSERT_TRUE(odd.Move("002", "005").moved);
    EXPECT_EQ(odd.Read("pigeon/p002005.dat"), " 5 \r\n" + kPigeons.substr(5));

    for (const std::string blocked : {"fancier/f002.DAT", "pigeon/p001012.dat", "pigeon/p002005.dat"}) {
        Registers folder;
        std::filesystem::remove(folder.path() / blocked);
        std::filesystem::create_directories(folder.path() / blocked);
        const auto before = folder.Snapshot();
        const ClubChangeResult result = folder.Move("002", "005");
        EXPECT_FALSE(result.saved.ok || result.moved) << blocked;
        EXPECT_EQ(folder.Snapshot(), before) << blocked;
    }
}

TEST(ClubChange, AFailedWriteIsReportedAndTheEarlierStepsArePutBack) {
    // The pigeon copy, the target club's file, the source club's file, and one file for both.
    const std::pair<std::string, std::string> cases[] = {
        {"p002005.dat", "002"}, {"f002.DAT", "002"}, {"f001.DAT", "002"}, {"f001.DAT", "001"}};
    for (const auto& [failing, club] : cases) {
        Registers folder;
        folder.Write("pigeon/p" + club + "005.dat", "replaced only by a finished move");
        const auto before = folder.Snapshot();
        const auto result = WithFailingSaves([&, c = club] { return folder.Move(c, "005"); }, SavesOf(failing));
        EXPECT_FALSE(result.saved.ok || result.moved) << failing;
        EXPECT_NE(result.saved.error.find(failing), std::string::npos) << result.saved.error;
        EXPECT_EQ(folder.Snapshot(), before) << failing;
    }
}

} // namespace
} // namespace plumet
