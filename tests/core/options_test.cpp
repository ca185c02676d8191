#include <gtest/gtest.h>

#include "app/options.h"
#include "testfolder.h"

#include <unistd.h>

namespace plumet {
namespace {

const std::string kRegion = "007North" + std::string(25, ' ');
const std::string kFederation = "003East" + std::string(26, ' ');

TEST(EnsureDataFolders, CreatesTheSixAndLeavesFilesOfTheSameNameAlone) {
    TestFolder folder;
    folder.Write("club", "not a folder");
    folder.Write("RACE/keep.txt", "kept");
    EXPECT_TRUE(EnsureDataFolders(folder.path()).empty());
    for (const char* name : {"exchange", "racepo", "fancier", "pigeon"})
        EXPECT_TRUE(std::filesystem::is_directory(folder.path() / name)) << name;
    EXPECT_EQ(folder.Read("club"), "not a folder");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "race"));
    EXPECT_EQ(folder.Read("RACE/keep.txt"), "kept");
}

TEST(EnsureDataFolders, ReportsFoldersThatCannotBeCreated) {
    if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    TestFolder folder;
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_EQ(EnsureDataFolders(folder.path()).size(), 6U);
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
    EXPECT_EQ(back.region, kRegion);
    EXPECT_EQ(back.RegionNumber(), "007");
    EXPECT_EQ(back.RegionName(), "North" + std::string(25, ' '));
    EXPECT_EQ(back.FederationNumber(), "03");
    EXPECT_EQ(back.comPort, "2");
    EXPECT_FLOAT_EQ(back.scaleFactor, 1.3F);
}

TEST(Options, ShortMissingOrOddFilesGiveDefaults) {
    TestFolder folder;
    EXPECT_EQ(ReadOptions(folder.path()).region, "");
    EXPECT_FALSE(folder.Exists("OPTIONS.PAR"));

    folder.Write("OPTIONS.PAR", kRegion + "\r\n" + kFederation + "\r\n2\r\n");
    Settings three = ReadOptions(folder.path());
    EXPECT_EQ(three.region, "");
    EXPECT_EQ(three.comPort, "");
    EXPECT_EQ(three.sizeChoice, "1");

    folder.Write("OPTIONS.PAR", kRegion + "\n" + kFederation + "\n5\n7\nextra\n");
    const Settings seven = ReadOptions(folder.path());
    EXPECT_EQ(seven.comPort, "5");
    EXPECT_EQ(seven.sizeChoice, "7");
    EXPECT_FLOAT_EQ(seven.scaleFactor, 1.0F);

    folder.Write("OPTIONS.PAR", std::string("\0\xff\x01\r\n\x80\r\n\r\n3\r\n", 12));
    const Settings binary = ReadOptions(folder.path());
    EXPECT_EQ(binary.region.size(), 3U);
    EXPECT_FLOAT_EQ(binary.scaleFactor, 1.5F);
}

TEST(Settings, PortIsUnsetWhenEmptyOrZero) {
    Settings s;
    EXPECT_FALSE(s.HasPort());
    s.comPort = "0";
    EXPECT_FALSE(s.HasPort());
    s.comPort = "ttyUSB0";
    EXPECT_TRUE(s.HasPort());
}

} // namespace
} // namespace plumet
