#include <gtest/gtest.h>

#include <algorithm>

#include "app/catalogue.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(Catalogue, KeyIsEverythingBeforeTheFirstEqualsSign) {
    TextCatalogue c;
    c.LoadFromBytes("frmSet.Caption=Settings\r\n"
                    "frmClubAdd.Caption = Add club\r\n"
                    "a=b=c\r\n"
                    "=orphan\r\n"
                    "just a comment\r\n"
                    "dup=first\r\n"
                    "dup=second\r\n"
                    "empty=\r\n");
    EXPECT_EQ(c.LookupText("frmSet.Caption"), "Settings");
    EXPECT_EQ(c.LookupText("frmClubAdd.Caption"), "");
    EXPECT_EQ(c.LookupText("frmClubAdd.Caption "), " Add club");
    EXPECT_EQ(c.LookupText("a"), "b=c");
    EXPECT_EQ(c.LookupText("dup"), "first");
    EXPECT_TRUE(c.Contains("empty"));
    EXPECT_EQ(c.LookupText("FRMSET.CAPTION"), "");
    EXPECT_EQ(c.LookupText("just a comment"), "");
}

TEST(Catalogue, ReadsLfOnlyCrOnlyAndLongFiles) {
    TextCatalogue lf;
    lf.LoadFromBytes("x=1\ny=2\n");
    EXPECT_EQ(lf.LookupText("y"), "2");
    TextCatalogue cr;
    cr.LoadFromBytes("x=1\ry=2\r");
    EXPECT_EQ(cr.LookupText("y"), "2");

    std::string lines;
    for (int i = 1; i <= 1001; ++i) lines += "k" + std::to_string(i) + "=v" + std::to_string(i) + "\r\n";
    TextCatalogue big;
    big.LoadFromBytes(lines);
    EXPECT_EQ(big.LineCount(), 1001U);
    EXPECT_EQ(big.LookupText("k1000"), "v1000");
    EXPECT_EQ(big.LookupText("k1001"), "v1001");
}

TEST(Catalogue, MissingFileIsEmpty) {
    TestFolder folder;
    TextCatalogue c;
    EXPECT_FALSE(c.Load(folder.path()));
    EXPECT_EQ(c.LookupText("frmSet.Caption"), "");
    folder.Write("CLUB.TXT", "frmSet.Caption=Einstellungen\r\n");
    EXPECT_TRUE(c.Load(folder.path()));
    EXPECT_EQ(c.LookupText("frmSet.Caption"), "Einstellungen");
}

TEST(ShippedCatalogues, EveryLanguageHasTheSameKeysEachOnce) {
    const auto keysOf = [](const char* name) {
        const FileContent content = ReadWholeFile(std::filesystem::path(PLUMET_SOURCE_DIR) / "data" / name);
        EXPECT_EQ(content.status, ReadStatus::Ok) << name;
        std::vector<std::string> keys;
        for (const auto& line : SplitLines(content.bytes))
            if (const auto eq = line.find('='); eq != std::string::npos) keys.push_back(line.substr(0, eq));
        return keys;
    };
    auto english = keysOf("club.txt");
    auto german = keysOf("club.de.txt");
    std::sort(english.begin(), english.end());
    std::sort(german.begin(), german.end());
    EXPECT_EQ(std::adjacent_find(english.begin(), english.end()), english.end()) << "duplicate key";
    EXPECT_EQ(english, german);
    EXPECT_GT(english.size(), 500U);
}

} // namespace
} // namespace plumet
