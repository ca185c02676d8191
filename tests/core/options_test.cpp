#include <gtest/gtest.h>

#include <array>

#include "app/options.h"
#include "testfolder.h"

namespace plumet {
namespace {

const std::string kRegion = "007North" + std::string(25, ' ');
const std::string kFederation = "003East" + std::string(26, ' ');

TEST(EnsureDataFolders, CreatesTheSixLeavesAFileOfTheSameNameAloneAndReportsWhatItCannotCreate) {
    TestFolder folder;
    folder.Write("club", "not a folder");
    folder.Write("RACE/keep.txt", "kept");
    EXPECT_TRUE(EnsureDataFolders(folder.path()).empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "pigeon"));
    EXPECT_EQ(folder.Read("club"), "not a folder");
    EXPECT_FALSE(folder.HasEntryNamed("race"));
    TestFolder locked;
    using std::filesystem::perms;
    std::filesystem::permissions(locked.path(), perms::owner_read | perms::owner_exec);
    if (!locked.RefusesNewEntries()) return; // root, and Windows, ignore folder permissions
    EXPECT_EQ(EnsureDataFolders(locked.path()).size(), 6U);
}

TEST(Options, WritesTheExampleFileByteForByteAndReadsItBack) {
    TestFolder folder;
    Settings settings;
    settings.region = kRegion;
    settings.federation = kFederation;
    settings.comPort = "2";
    settings.sizeChoice = "2";
    ASSERT_TRUE(WriteOptions(folder.path(), settings));
    EXPECT_EQ(folder.Read("OPTIONS.PAR"), kRegion + "\r\n" + kFederation + "\r\n2\r\n2\r\n");
    const Settings back = ReadOptions(folder.path());
    EXPECT_EQ(back.RegionNumber() + back.FederationNumber() + back.comPort, "007032");
    EXPECT_FLOAT_EQ(back.scaleFactor, 1.3F);
    EXPECT_TRUE(back.HasPort());
    settings.comPort = "0";
    EXPECT_FALSE(settings.HasPort());
}

TEST(Options, ShortLongOrBinaryFilesAndASizeOf7GiveDefaults) {
    TestFolder folder;
    EXPECT_EQ(ReadOptions(folder.path()).region, "");
    EXPECT_FALSE(folder.Exists("OPTIONS.PAR"));
    folder.Write("OPTIONS.PAR", kRegion + "\r\n" + kFederation + "\r\n2\r\n");
    const Settings three = ReadOptions(folder.path());
    EXPECT_EQ(three.region + three.comPort + three.sizeChoice, "1");
    folder.Write("OPTIONS.PAR", kRegion + "\n" + kFederation + "\n5\n7\nextra\n");
    const Settings seven = ReadOptions(folder.path());
    EXPECT_EQ(seven.comPort + seven.sizeChoice, "57");
    EXPECT_FLOAT_EQ(seven.scaleFactor, 1.0F);
    folder.Write("OPTIONS.PAR", std::string("\0\xff\x01\r\n\x80\r\n\r\n3\r\n", 12));
    const Settings binary = ReadOptions(folder.path());
    EXPECT_EQ(binary.region.size(), 3U);
    EXPECT_FLOAT_EQ(binary.scaleFactor, 1.5F);
}

TEST(Options, TheMenusLiveInTheProgramsOwnFileAndStayHiddenUnlessItShowsThem) {
    TestFolder folder;
    Settings settings;
    settings.comPort = "2";
    settings.showRaceEvaluation = true;
    ASSERT_TRUE(WriteOptions(folder.path(), settings));
    EXPECT_EQ(folder.Read("OPTIONS.PAR"), "\r\n\r\n2\r\n1\r\n");
    EXPECT_EQ(folder.Read("plumet.ini"), "ShowRaceEvaluation=1\r\nShowTerminalProgramLoad=0\r\n");
    const struct { const char* file; bool race, terminal; } cases[] = {
        {"ShowRaceEvaluation=1\r\nShowTerminalProgramLoad=0\r\n", true, false},
        {"ShowTerminalProgramLoad=1\nShowRaceEvaluation=yes\n", false, true},
        {"; notes\r\nShowRaceEvaluation=1", true, false},
        {"ShowRaceEvaluation = 1\r\n\xff", false, false}};
    std::filesystem::remove(folder.path() / "plumet.ini");
    for (const auto& c : cases) {
        folder.Write("PLUMET.INI", c.file); // any letter case
        const Settings back = ReadOptions(folder.path());
        EXPECT_EQ(std::pair(back.showRaceEvaluation, back.showTerminalProgramLoad), std::pair(c.race, c.terminal)) << c.file;
        EXPECT_EQ(back.comPort, "2");
    }
    std::filesystem::remove(folder.path() / "PLUMET.INI");
    std::filesystem::remove(folder.path() / "OPTIONS.PAR");
    EXPECT_FALSE(ReadOptions(folder.path()).showRaceEvaluation);
}

TEST(Options, SettingsFieldsNeedEveryFieldAndNumbersInRange) {
    EXPECT_TRUE(SettingsFieldsValid("255", "Region", "99", "Federation"));
    EXPECT_TRUE(SettingsFieldsValid("0", "R", "0", "F"));
    const std::array<std::array<const char*, 4>, 6> refused{{{"256", "R", "1", "F"}, {"1", "R", "100", "F"},
                                                            {"-1", "R", "1", "F"}, {"1x", "R", "1", "F"},
                                                            {"", "R", "1", "F"}, {"1", "R", "1", ""}}};
    for (const auto& [region, regionName, federation, federationName] : refused)
        EXPECT_FALSE(SettingsFieldsValid(region, regionName, federation, federationName)) << region << federation;
}

} // namespace
} // namespace plumet
