#include <gtest/gtest.h>

#include "app/cp1252.h"
#include "app/files.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(Files, LinesEndAnyWayAndNamesResolveInAnyCaseKeepingANewSpelling) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\n\r\n"), (std::vector<std::string>{"a", "b", "c", "d", ""}));
    TestFolder folder;
    folder.Write("Club/CLUB.DAT", "x");
    folder.Write("Club/club.dat.bak", "x");
    const std::vector<std::pair<std::string, Path>> cases = {
        {"club\\club.dat", Path("Club") / "CLUB.DAT"}, {"CLUB/Club.Dat", Path("Club") / "CLUB.DAT"},
        {"Club\\CLUB.DAT", Path("Club") / "CLUB.DAT"}, {"club\\new.dat", Path("Club") / "new.dat"},
        {"race/W001.d01", Path("race") / "W001.d01"},   {"\\club\\\\CLUB.DAT.BAK", Path("Club") / "club.dat.bak"}};
    for (const auto& [relative, expected] : cases) EXPECT_EQ(ResolvePath(folder.path(), relative), folder.path() / expected) << relative;
}

TEST(SaveFileAtomically, ReplacesWholeOrKeepsTheOldFileAndSaysWhyLeavingNoTemporary) {
    TestFolder folder;
    const Path target = folder.path() / "f.dat";
    ASSERT_TRUE(SaveLines(target, {" 1 ", "abc"}));
    EXPECT_EQ(folder.Read("f.dat"), " 1 \r\nabc\r\n");
    const SaveResult result = WithFailingSaves([&] { return SaveFileAtomically(target, "new"); });
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("f.dat"), std::string::npos);
    EXPECT_EQ(folder.Read("f.dat"), " 1 \r\nabc\r\n");
    EXPECT_EQ(folder.EntryCount(), 1U);
    EXPECT_FALSE(SaveFileAtomically(folder.path() / "missing" / "x.dat", "x").ok);
    // Replacing through another spelling keeps the file's own.
    ASSERT_TRUE(SaveFileAtomically(ResolvePath(folder.path(), "F.DAT"), "replaced"));
    EXPECT_TRUE(folder.HasEntryNamed("f.dat"));
    EXPECT_EQ(folder.Read("f.dat") + std::to_string(folder.EntryCount()), "replaced1");
}

TEST(Files, Windows1252NamesAreSavedFoundAndListedAsTheirOwnCharacters) {
    TestFolder folder;
    std::filesystem::create_directory(folder.path() / NamePath("J\xFCrgen"));
    const std::string name = "M\xFCnster \x80.flt"; // u umlaut, euro sign
    const Path target = ResolvePath(folder.path(), "j\xFCrgen\\" + name);
    ASSERT_TRUE(SaveFileAtomically(target, "x"));
    EXPECT_EQ(ResolvePath(folder.path(), "J\xFCRGEN\\m\xFCNSTER \x80.FLT"), target);
    const Path listed = std::filesystem::directory_iterator(target.parent_path())->path();
    EXPECT_EQ(NameOf(listed.parent_path()) + "/" + NameOf(listed), "J\xFCrgen/" + name);
#ifdef _WIN32
    EXPECT_EQ(listed.filename().u8string(), u8"M\u00FCnster \u20AC.flt");
#endif
}

TEST(SaveFilesTogether, AFolderWhereAFileShouldGoIsFoundBeforeAnythingIsReplaced) {
    TestFolder folder;
    folder.Write("a/one.dat", "old one");
    std::filesystem::create_directories(folder.path() / "b" / "two.dat");
    const std::vector<FileToSave> files = {{folder.path() / "a" / "one.dat", "new one"},
                                           {folder.path() / "b" / "two.dat", "new two"}};
    EXPECT_FALSE(SaveFilesTogether(files).ok);
    EXPECT_EQ(folder.Read("a/one.dat"), "old one");
    std::filesystem::remove(folder.path() / "b" / "two.dat");
    ASSERT_TRUE(SaveFilesTogether(files).ok);
    EXPECT_EQ(folder.Read("a/one.dat") + folder.Read("b/two.dat"), "new onenew two");
    EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(folder.path()), {}), 4); // no temporary
}

TEST(Cp1252, RoundTripsEveryDefinedByteAndRefusesOthers) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC"); // euro sign
    EXPECT_FALSE(Utf8ToCp1252("\xE2\x88\x9A"));       // square root sign
    EXPECT_FALSE(Utf8ToCp1252("\xC3"));               // cut sequence
}

} // namespace
} // namespace plumet
