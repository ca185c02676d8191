#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/catalogue.h"
#include "core/app/cp1252.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(Catalogue, KeyIsEverythingBeforeTheFirstEqualsSignOnLinesEndedAnyWay) {
    TextCatalogue c;
    c.LoadFromBytes("frmSet.Caption=Settings\r\nfrmClubAdd.Caption = Add club\na=b=c\r=orphan\r\n"
                    "dup=first\r\ndup=second\r\nempty=\r\n");
    EXPECT_EQ(c.LookupText("frmSet.Caption"), "Settings");
    EXPECT_EQ(c.LookupText("frmClubAdd.Caption"), "");
    EXPECT_EQ(c.LookupText("frmClubAdd.Caption "), " Add club");
    EXPECT_EQ(c.LookupText("a"), "b=c");
    EXPECT_EQ(c.LookupText("dup"), "first");
    EXPECT_TRUE(c.Contains("empty"));
    EXPECT_EQ(c.LookupText("FRMSET.CAPTION"), "");

    std::string lines;
    for (int i = 1; i <= 1001; ++i) lines += "k" + std::to_string(i) + "=v" + std::to_string(i) + "\r\n";
    c.LoadFromBytes(lines);
    EXPECT_EQ(c.LookupText("k1001"), "v1001");

    TextCatalogue older;
    older.LoadFromBytes("k1=own\r\n");
    older.AddMissingFrom(c); // keys added since the installation's catalogue was written
    EXPECT_EQ(older.LookupText("k1") + older.LookupText("k1001"), "ownv1001");

    TestFolder folder;
    EXPECT_FALSE(c.Load(folder.path()));
    EXPECT_EQ(c.LookupText("k1"), "");
    folder.Write("CLUB.TXT", "frmSet.Caption=Einstellungen\r\n");
    EXPECT_TRUE(c.Load(folder.path()));
    EXPECT_EQ(c.LookupText("frmSet.Caption"), "Einstellungen");
}

// The UI tests check window keys against tests/data/catalogue/keys.txt, so it must name exactly
// the catalogue's keys; a pigeon record keeps its sex in one position, so the sexes are single letters.
TEST(ShippedCatalogues, SameKeysOnceEachWindows1252WithCrLfAValueForEveryKeyAndSingleSexLetters) {
    const auto bytesOf = [](const char* relative) {
        return ReadWholeFile(std::filesystem::path(PLUMET_SOURCE_DIR) / relative).bytes;
    };
    std::vector<std::vector<std::string>> keys;
    for (const char* name : {"data/club.txt", "data/club.de.txt"}) {
        const std::string bytes = bytesOf(name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(JoinLinesCrLf(SplitLines(bytes)), bytes) << name << ": every line ends with CR LF";
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes) << name; // no byte Windows-1252 leaves undefined
        keys.emplace_back();
        for (const auto& line : SplitLines(bytes)) {
            const auto eq = line.find('=');
            if (eq == std::string::npos) continue;
            EXPECT_GT(line.size(), eq + 1) << name << ": " << line;
            keys.back().push_back(line.substr(0, eq));
        }
        std::sort(keys.back().begin(), keys.back().end());
        EXPECT_EQ(std::adjacent_find(keys.back().begin(), keys.back().end()), keys.back().end()) << name;
        TextCatalogue c;
        c.LoadFromBytes(bytes);
        const std::string sexes = c.LookupText("frmMain.MaleSex") + c.LookupText("frmMain.FemaleSex") +
                                  c.LookupText("frmMain.NoSex");
        EXPECT_TRUE(sexes.size() == 3 && sexes[0] != sexes[1] && sexes[0] != sexes[2] && sexes[1] != sexes[2]);
        EXPECT_TRUE(std::all_of(sexes.begin(), sexes.end(), [](char s) { return s >= 'A' && s <= 'Z'; })) << name;
    }
    EXPECT_EQ(keys[0], keys[1]);
    EXPECT_EQ(SplitLines(bytesOf("tests/data/catalogue/keys.txt")), keys[0]);
    EXPECT_NE(bytesOf("data/club.de.txt").find("Z\xFC" "chter"), std::string::npos); // an umlaut is one byte
}

} // namespace
} // namespace plumet
