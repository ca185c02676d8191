#include <gtest/gtest.h>

#include "registers/clubchange.h"
#include "testfolder.h"

namespace plumet {
namespace {

std::string Club(const std::string& number, const std::string& name) {
    return number + name + std::string(30 - name.size(), ' ') + std::string(30, ' ');
}

std::string Fancier(const std::string& number, const std::string& name) {
    return number + name + std::string(20 - name.size(), ' ') + "N51301525E0070500001" + "Note" + std::string(26, ' ');
}

std::string Register(const std::vector<std::string>& records) {
    std::string bytes = " " + std::to_string(records.size()) + " \r\n";
    for (const auto& r : records) bytes += r + "\r\n";
    return bytes;
}

const std::string kPigeons = " 2 \r\nB       05     1234567M1300000000BLUE00\r\n"
                             "D     2019 0815   4711WABCDEF0100RED 01\r\n";

// Clubs 001 and 002; club 001 has fanciers 003 and 012 (with pigeons), club 002 has 001.
struct Registers : TestFolder {
    Registers() {
        Write("club/club.dat", Register({Club("001", "Blue Wings"), Club("002", "Red Tower")}));
        Write("fancier/f001.DAT", Register({Fancier("003", "Adams"), Fancier("012", "Meier")}));
        Write("fancier/f002.DAT", Register({Fancier("001", "Zorn")}));
        Write("pigeon/p001012.dat", kPigeons);
    }
    ClubChangeResult Move(std::string club, std::string fancier) const {
        return ChangeClub(path(), "001", "012", {std::move(club), std::move(fancier)});
    }
    std::string Snapshot() const {
        std::string all;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path()))
            if (entry.is_regular_file())
                all += entry.path().filename().string() + "=" + Read(entry.path().lexically_relative(path()).string());
        return all;
    }
};

struct SaveFault {
    explicit SaveFault(std::string name) {
        SetSaveFaultForTests([name](const Path& target) { return target.filename() == name; });
    }
    ~SaveFault() { SetSaveFaultForTests(nullptr); }
};

TEST(ClubChange, MovesTheFancierAndHisPigeonsToTheOtherClub) {
    Registers folder;
    const ClubChangeResult result = folder.Move("2", "5");
    ASSERT_TRUE(result.Done()) << result.saved.error;
    EXPECT_TRUE(result.moved);
    EXPECT_EQ(folder.Read("fancier/f001.DAT"), Register({Fancier("003", "Adams")}));
    EXPECT_EQ(folder.Read("fancier/f002.DAT"), Register({Fancier("001", "Zorn"), Fancier("005", "Meier")}));
    EXPECT_FALSE(folder.Exists("pigeon/p001012.dat"));
    EXPECT_EQ(folder.Read("pigeon/p002005.dat"), kPigeons);
}

TEST(ClubChange, RenumbersWithinTheClubAndIsNotLimitedTo255) {
    Registers folder;
    folder.Write("pigeon/p001300.dat", " 0 \r\n"); // left behind by someone long gone: replaced
    ASSERT_TRUE(folder.Move("001", "300").Done());
    EXPECT_EQ(folder.Read("fancier/f001.DAT"), Register({Fancier("003", "Adams"), Fancier("300", "Meier")}));
    EXPECT_EQ(folder.Read("pigeon/p001300.dat"), kPigeons);
    EXPECT_FALSE(folder.Exists("pigeon/p001012.dat"));
    EXPECT_EQ(MovedFancierRecord(Fancier("012", "Meier"), "300"), Fancier("300", "Meier"));
}

TEST(ClubChange, RefusalsComeInOrderAndChangeNothing) {
    Registers folder;
    std::vector<std::string> full;
    for (int i = 1; i <= 250; ++i) full.push_back(Fancier(std::string(3 - std::to_string(i).size(), '0') +
                                                               std::to_string(i), "F"));
    folder.Write("club/club.dat", Register({Club("001", "Blue Wings"), Club("002", "Red Tower"), Club("003", "Full")}));
    folder.Write("fancier/f003.DAT", Register(full));
    const std::string before = folder.Snapshot();

    const struct {
        std::string club, fancier;
        int message;
        std::string focus;
    } cases[] = {
        {"000", "005", kClubChangeZeroNumber, "Text1"}, {"002", "", kClubChangeZeroNumber, "Text2"},
        {"009", "000", kClubChangeZeroNumber, "Text2"}, {"009", "005", kClubChangeUnknownClub, "Text1"},
        {"003", "001", kClubChangeClubFull, "Text1"},   {"002", "001", kClubChangeNumberTaken, "Text2"},
        {"001", "012", kClubChangeNumberTaken, "Text2"}, // staying where he is
    };
    for (const auto& c : cases) {
        const ClubChangeResult result = folder.Move(c.club, c.fancier);
        EXPECT_EQ(result.message, c.message) << c.club << "/" << c.fancier;
        EXPECT_EQ(result.focusField, c.focus) << c.club << "/" << c.fancier;
        EXPECT_TRUE(result.saved.ok);
        EXPECT_FALSE(result.moved);
    }
    EXPECT_EQ(folder.Snapshot(), before);
    EXPECT_EQ(ClubChangeNumberOnLeave(" 7 ", 3), "007");
}

TEST(ClubChange, MissingPigeonFileGivesAnEmptyOneAndAnOddOneIsCopiedWhole) {
    {
        Registers folder;
        std::filesystem::remove(folder.path() / "pigeon/p001012.dat");
        ASSERT_TRUE(folder.Move("002", "005").Done());
        EXPECT_EQ(folder.Read("pigeon/p002005.dat"), " 0 \r\n");
    }
    {
        Registers folder;
        const std::string odd = " 5 \r\nB       05     1234567M1300000000BLUE00\r\n"; // count says more than it holds
        folder.Write("pigeon/p001012.dat", odd);
        ASSERT_TRUE(folder.Move("002", "005").Done());
        EXPECT_EQ(folder.Read("pigeon/p002005.dat"), odd);
        EXPECT_FALSE(folder.Exists("pigeon/p001012.dat"));
    }
}

TEST(ClubChange, FilesThatCannotBeReadStopTheMoveBeforeAnyChange) {
    for (const std::string blocked : {"fancier/f002.DAT", "pigeon/p001012.dat", "pigeon/p002005.dat"}) {
        Registers folder;
        std::filesystem::remove(folder.path() / blocked);
        std::filesystem::create_directories(folder.path() / blocked); // exists, but is no file
        const std::string before = folder.Snapshot();
        const ClubChangeResult result = folder.Move("002", "005");
        EXPECT_FALSE(result.saved.ok) << blocked;
        EXPECT_NE(result.saved.error.find("not moved"), std::string::npos) << result.saved.error;
        EXPECT_EQ(folder.Snapshot(), before) << blocked;
    }
    Registers gone;
    gone.Write("fancier/f001.DAT", Register({Fancier("003", "Adams")}));
    EXPECT_FALSE(gone.Move("002", "005").saved.ok);
    EXPECT_FALSE(gone.Exists("pigeon/p002005.dat"));
}

TEST(ClubChange, AFailedWriteIsReportedAndTheEarlierStepsArePutBack) {
    // Each write in turn fails: the pigeon copy, the target club's file, the source club's file.
    for (const std::string failing : {"p002005.dat", "f002.DAT", "f001.DAT"}) {
        Registers folder;
        folder.Write("pigeon/p002005.dat", "an old file that is replaced only by a finished move");
        const std::string before = folder.Snapshot();
        SaveFault fault(failing);
        const ClubChangeResult result = folder.Move("002", "005");
        EXPECT_FALSE(result.saved.ok) << failing;
        EXPECT_FALSE(result.moved);
        EXPECT_NE(result.saved.error.find(failing), std::string::npos) << result.saved.error;
        EXPECT_EQ(folder.Snapshot(), before) << failing;
    }
    Registers renumber; // one file holds both ends of the move
    SaveFault fault("f001.DAT");
    EXPECT_FALSE(renumber.Move("001", "013").saved.ok);
    EXPECT_FALSE(renumber.Exists("pigeon/p001013.dat"));
    EXPECT_EQ(renumber.Read("pigeon/p001012.dat"), kPigeons);
}

} // namespace
} // namespace plumet
