#include <gtest/gtest.h>

#include <array>

#include "core/app/options.h"
#include "testfolder.h"

namespace plumet {
namespace {

const std::string kRegion = "007North" + std::string(25, ' ');
const std::string kFederation = "003East" + std::string(26, ' ');
const std::string kLines = kRegion + "\r\n" + kFederation + "\r\n";

Settings Example() {
    Settings settings;
    settings.region = kRegion, settings.federation = kFederation, settings.comPort = "2";
    return settings;
}

TEST(EnsureDataFolders, CreatesTheSixLeavesAFileOfTheSameNameAloneAndReportsWhatItCannotCreate) {
    TestFolder folder;
    folder.Write("club", "not a folder");
    folder.Write("RACE/keep.txt", "kept");
    EXPECT_TRUE(EnsureDataFolders(folder.path()).empty() && std::filesystem::is_directory(folder.path() / "pigeon"));
    EXPECT_TRUE(folder.Read("club") == "not a folder" && !folder.HasEntryNamed("race"));
    TestFolder locked;
    using std::filesystem::perms;
    std::filesystem::permissions(locked.path(), perms::owner_read | perms::owner_exec);
    if (!locked.RefusesNewEntries()) return; // root, and Windows, ignore folder permissions
    EXPECT_EQ(EnsureDataFolders(locked.path()).size(), 6U);
}

TEST(Options, WritesTheExampleFileByteForByteAndReadsItBack) {
    TestFolder folder;
    Settings settings = Example();
    settings.sizeChoice = "2";
    ASSERT_TRUE(WriteOptions(folder.path(), settings));
    EXPECT_EQ(folder.Read("OPTIONS.PAR"), kLines + "2\r\n2\r\n");
    const Settings back = ReadOptions(folder.path());
    EXPECT_EQ(back.RegionNumber() + back.FederationNumber() + back.comPort, "007032");
    EXPECT_FLOAT_EQ(back.scaleFactor, 1.3F);
    settings.comPort = "0";
    EXPECT_TRUE(back.HasPort() && !settings.HasPort());
}

TEST(Options, ALongFileAndASizeOf7GiveTheirLinesAndSize1) {
    TestFolder folder;
    EXPECT_EQ(ReadOptions(folder.path()).region, "");
    EXPECT_FALSE(folder.Exists("OPTIONS.PAR"));
    folder.Write("OPTIONS.PAR", kRegion + "\n" + kFederation + "\n5\n7\nextra\n");
    const Settings seven = ReadOptions(folder.path());
    EXPECT_EQ(seven.comPort + seven.sizeChoice, "57");
    EXPECT_FLOAT_EQ(seven.scaleFactor, 1.0F);
}

// Each damage gives the defaults and says why; nothing of the garbage is used.
TEST(Options, ADamagedFileIsReportedAndGivesTheDefaults) {
    const struct {
        const char* what;
        std::string bytes; // empty: a folder or a link loop in the file's place
        const char* reason;
    } cases[] = {
        {"folder", "", "it is a folder"},
        {"loop", "", "leads round in a circle"},
        {"huge line", std::string(10 << 20, '7') + "\r\n" + kFederation + "\r\n2\r\n1\r\n", "line 1 is too long"},
        {"NUL in the federation number", kRegion + "\r\n0" + std::string(1, '\0') + "2East\r\n2\r\n1\r\n",
         "line 2 holds a control character"},
        {"NUL in the port", kLines + "COM" + std::string(1, '\0') + "\r\n1\r\n", "line 3 holds a control character"},
        {"no region number", "North\r\n" + kFederation + "\r\n2\r\n1\r\n", "region line does not begin"},
        {"no federation number", kRegion + "\r\nEast\r\n2\r\n1\r\n", "federation line does not begin"},
        {"three lines", kLines + "2\r\n", "fewer than four lines"},
    };
    for (const auto& c : cases) {
        TestFolder folder;
        const Path file = folder.path() / "OPTIONS.PAR";
        if (std::string(c.what) == "folder") std::filesystem::create_directory(file);
        else if (std::string(c.what) == "loop") {
#ifdef _WIN32
            continue; // links need rights there
#endif
            std::filesystem::create_symlink(file, file);
        }
        else folder.Write("OPTIONS.PAR", c.bytes);
        const Settings settings = ReadOptions(folder.path());
        EXPECT_TRUE(settings.damage.find("OPTIONS.PAR") != std::string::npos &&
                    settings.damage.find(c.reason) != std::string::npos) << c.what << ": " << settings.damage;
        EXPECT_EQ(SettingsProblem(settings), settings.damage) << c.what;
        EXPECT_EQ(settings.region + settings.federation + settings.comPort + settings.sizeChoice, "1") << c.what;
    }
    TestFolder folder;
    EXPECT_NE(SettingsProblem(ReadOptions(folder.path())).find("region line"), std::string::npos); // none yet
    folder.Write("OPTIONS.PAR", kLines + "2\r\n1\r\n");
    EXPECT_EQ(SettingsProblem(ReadOptions(folder.path())), "");
}

TEST(Options, TheMenusLiveInTheProgramsOwnFileAndStayHiddenUnlessItShowsThem) {
    TestFolder folder;
    Settings settings = Example();
    settings.showRaceEvaluation = true;
    ASSERT_TRUE(WriteOptions(folder.path(), settings));
    EXPECT_EQ(folder.Read("OPTIONS.PAR"), kLines + "2\r\n1\r\n");
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
    std::filesystem::remove(folder.path() / "PLUMET.INI"), std::filesystem::remove(folder.path() / "OPTIONS.PAR");
    EXPECT_FALSE(ReadOptions(folder.path()).showRaceEvaluation);
}

TEST(Options, SettingsFieldsNeedEveryFieldAndNumbersInRange) {
    EXPECT_TRUE(SettingsFieldsValid("255", "Region", "99", "Federation") && SettingsFieldsValid("0", "R", "0", "F"));
    const std::array<std::array<const char*, 4>, 6> refused{{{"256", "R", "1", "F"}, {"1", "R", "100", "F"},
                                                            {"-1", "R", "1", "F"}, {"1x", "R", "1", "F"},
                                                            {"", "R", "1", "F"}, {"1", "R", "1", ""}}};
    for (const auto& [region, regionName, federation, federationName] : refused)
        EXPECT_FALSE(SettingsFieldsValid(region, regionName, federation, federationName)) << region << federation;
}

} // namespace
} // namespace plumet
