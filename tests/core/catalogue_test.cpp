#include <gtest/gtest.h>

#include <algorithm>

#include "app/catalogue.h"
#include "app/cp1252.h"
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

namespace {

std::string ShippedBytes(const char* relative) {
    const FileContent content = ReadWholeFile(std::filesystem::path(PLUMET_SOURCE_DIR) / relative);
    EXPECT_EQ(content.status, ReadStatus::Ok) << relative;
    return content.bytes;
}

std::vector<std::string> EntryLines(const std::string& bytes) {
    std::vector<std::string> entries;
    for (const auto& line : SplitLines(bytes))
        if (line.find('=') != std::string::npos) entries.push_back(line);
    return entries;
}

} // namespace

// The UI tests check window keys against this list, so it must name exactly the catalogue's keys.
TEST(ShippedCatalogues, KeyListMatchesTheCatalogue) {
    const std::string listed = ShippedBytes("tests/data/catalogue/keys.txt");
    EXPECT_EQ(listed.find('\r'), std::string::npos) << "key list has LF line ends";
    const auto keys = SplitLines(listed);
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));

    std::vector<std::string> catalogueKeys;
    for (const auto& line : EntryLines(ShippedBytes("data/club.txt"))) catalogueKeys.push_back(line.substr(0, line.find('=')));
    std::sort(catalogueKeys.begin(), catalogueKeys.end());
    EXPECT_EQ(keys, catalogueKeys);
}

TEST(ShippedCatalogues, AreWindows1252WithCrLfAndAValueForEveryKey) {
    for (const char* name : {"data/club.txt", "data/club.de.txt"}) {
        const std::string bytes = ShippedBytes(name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
        const auto count = [&](char c) { return std::count(bytes.begin(), bytes.end(), c); };
        std::size_t pairs = 0;
        for (std::size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2)) ++pairs;
        EXPECT_EQ(count('\r'), static_cast<std::ptrdiff_t>(pairs)) << name << ": every line ends with CR LF";
        EXPECT_EQ(count('\n'), static_cast<std::ptrdiff_t>(pairs)) << name << ": every line ends with CR LF";
        // A byte Windows-1252 leaves undefined would not survive the round trip.
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes) << name;
        for (const auto& line : EntryLines(bytes)) EXPECT_GT(line.size(), line.find('=') + 1) << name << ": " << line;
    }
    const std::string english = ShippedBytes("data/club.txt");
    EXPECT_TRUE(std::all_of(english.begin(), english.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    // Umlauts are single bytes, not UTF-8 sequences.
    const std::string german = ShippedBytes("data/club.de.txt");
    EXPECT_NE(german.find("Z\xFC" "chter"), std::string::npos);
    EXPECT_EQ(german.find("\xC3\xBC"), std::string::npos);
}

// A pigeon record keeps its sex in one position, and the three sexes must stay apart.
TEST(ShippedCatalogues, SexLettersAreSingleDistinctCharacters) {
    for (const char* name : {"data/club.txt", "data/club.de.txt"}) {
        TextCatalogue c;
        c.LoadFromBytes(ShippedBytes(name));
        const std::string male = c.LookupText("frmMain.MaleSex");
        const std::string female = c.LookupText("frmMain.FemaleSex");
        const std::string none = c.LookupText("frmMain.NoSex");
        EXPECT_EQ(male.size(), 1U) << name;
        EXPECT_EQ(female.size(), 1U) << name;
        EXPECT_EQ(none.size(), 1U) << name;
        EXPECT_TRUE(male != female && male != none && female != none) << name;
        for (const std::string& s : {male, female, none})
            EXPECT_TRUE(!s.empty() && s[0] >= 'A' && s[0] <= 'Z') << name << ": typed letters are stored upper-case";
    }
}

} // namespace
} // namespace plumet
