#include <gtest/gtest.h>

#include "app/cp1252.h"
#include "app/files.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(SplitLines, AcceptsCrLfLfAndLoneCr) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(ResolvePath, FindsEntriesOfAnyCaseAndKeepsNewSpelling) {
    TestFolder folder;
    folder.Write("Club/CLUB.DAT", "x");
    EXPECT_EQ(ResolvePath(folder.path(), "club\\club.dat"), folder.path() / "Club" / "CLUB.DAT");
    EXPECT_EQ(ResolvePath(folder.path(), "club\\new.dat"), folder.path() / "Club" / "new.dat");
    EXPECT_EQ(ResolvePath(folder.path(), "race/W001.d01"), folder.path() / "race" / "W001.d01");
}

TEST(SaveFileAtomically, ReplacesWholeAndLeavesNoTemporary) {
    TestFolder folder;
    const Path target = folder.path() / "f.dat";
    ASSERT_TRUE(SaveLines(target, {" 1 ", "abc"}));
    EXPECT_EQ(folder.Read("f.dat"), " 1 \r\nabc\r\n");
    ASSERT_TRUE(SaveFileAtomically(target, "new"));
    EXPECT_EQ(folder.Read("f.dat"), "new");
    EXPECT_EQ(folder.EntryCount(), 1U);
}

TEST(SaveFileAtomically, FailureKeepsTheOldFileAndSaysWhy) {
    TestFolder folder;
    const Path target = folder.path() / "f.dat";
    ASSERT_TRUE(SaveFileAtomically(target, "old"));
    SetSaveFaultForTests([](const Path&) { return true; });
    const SaveResult result = SaveFileAtomically(target, "new");
    SetSaveFaultForTests(nullptr);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("f.dat"), std::string::npos);
    EXPECT_EQ(folder.Read("f.dat"), "old");
    EXPECT_EQ(folder.EntryCount(), 1U);

    const SaveResult noFolder = SaveFileAtomically(folder.path() / "missing" / "x.dat", "x");
    EXPECT_FALSE(noFolder.ok);
}

TEST(SaveFilesTogether, ReplacesAllOrNone) {
    TestFolder folder;
    folder.Write("a/one.dat", "old one");
    folder.Write("b/two.dat", "old two");
    const std::vector<FileToSave> files = {{folder.path() / "a" / "one.dat", "new one"},
                                           {folder.path() / "b" / "two.dat", "new two"},
                                           {folder.path() / "b" / "three.dat", "new three"}};

    SetSaveFaultForTests([](const Path& target) { return target.filename() == "three.dat"; });
    const SaveResult failed = SaveFilesTogether(files);
    SetSaveFaultForTests(nullptr);
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.error.find("three.dat"), std::string::npos);
    EXPECT_EQ(folder.Read("a/one.dat"), "old one");
    EXPECT_EQ(folder.Read("b/two.dat"), "old two");
    EXPECT_FALSE(folder.Exists("b/three.dat"));
    EXPECT_FALSE(folder.Exists("a/~one.dat.tmp"));
    EXPECT_FALSE(folder.Exists("b/~two.dat.tmp"));

    // A folder where a file should go is found before anything is replaced.
    std::filesystem::create_directories(folder.path() / "b" / "three.dat");
    EXPECT_FALSE(SaveFilesTogether(files).ok);
    EXPECT_EQ(folder.Read("a/one.dat"), "old one");
    std::filesystem::remove(folder.path() / "b" / "three.dat");

    ASSERT_TRUE(SaveFilesTogether(files).ok);
    EXPECT_EQ(folder.Read("a/one.dat"), "new one");
    EXPECT_EQ(folder.Read("b/two.dat"), "new two");
    EXPECT_EQ(folder.Read("b/three.dat"), "new three");
    EXPECT_EQ(folder.EntryCount(), 2U);
}

TEST(Cp1252, RoundTripsEveryDefinedByteAndRefusesOthers) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const auto back = Utf8ToCp1252(Cp1252ToUtf8(all));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, all);
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");          // euro sign
    EXPECT_EQ(*Utf8ToCp1252("\xC3\xBC"), "\xFC");             // u umlaut
    EXPECT_FALSE(Utf8ToCp1252("\xE2\x88\x9A").has_value());    // square root sign
    EXPECT_FALSE(Utf8ToCp1252("\xC3").has_value());            // cut sequence
}

TEST(CountLine, HasBlankBeforeAndAfter) {
    EXPECT_EQ(FormatCountLine(3), " 3 ");
    EXPECT_EQ(FormatCountLine(0), " 0 ");
    EXPECT_EQ(FormatCountLine(250), " 250 ");
}

} // namespace
} // namespace plumet
