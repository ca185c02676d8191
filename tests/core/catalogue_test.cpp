#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

#include "core/app/catalogue.h"
#include "core/app/cp1252.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(Catalogue, KeyIsEverythingBeforeTheFirstEqualsSignOnLinesEndedAnyWay) {
    TextCatalogue c;
    c.LoadFromBytes(TestData("catalogue/sample.txt"));
    for (const auto& row : TableCells("catalogue/sample lookups.txt")) // a key | its text in sample.txt
        EXPECT_EQ(c.LookupText(row[0]), row[1]) << row[0];
    EXPECT_TRUE(c.Contains("empty"));
    c.LoadFromBytes(TestData("catalogue/1001 keys.txt"));
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

std::string SourceFile(const char* relative) { return RequiredFile(Path(PLUMET_SOURCE_DIR) / relative); }

// The keys of a catalogue's lines, in file order.
std::vector<std::string> KeysOf(const std::string& bytes) {
    std::vector<std::string> keys;
    for (const auto& line : SplitLines(bytes))
        if (line.find('=') != std::string::npos) keys.push_back(line.substr(0, line.find('=')));
    return keys;
}

// The UI tests check window keys against tests/data/catalogue/keys.txt, so it must name exactly
// the catalogue's keys; a pigeon record keeps its sex in one position, so the sexes are single letters.
TEST(ShippedCatalogues, SameKeysOnceEachWindows1252WithCrLfAValueForEveryKeyAndSingleSexLetters) {
    std::vector<std::vector<std::string>> keys;
    for (const char* name : {"club.txt", "club.de.txt"}) {
        const std::string bytes = SourceFile((std::string("data/") + name).c_str());
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(JoinLinesCrLf(SplitLines(bytes)), bytes) << name << ": every line ends with CR LF";
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes) << name; // no byte Windows-1252 leaves undefined
        for (const auto& line : SplitLines(bytes)) // a value for every key
            EXPECT_TRUE(line.find('=') == std::string::npos || line.size() > line.find('=') + 1) << name << ": " << line;
        keys.push_back(KeysOf(bytes));
        std::sort(keys.back().begin(), keys.back().end());
        EXPECT_EQ(std::adjacent_find(keys.back().begin(), keys.back().end()), keys.back().end()) << name;
        const TextCatalogue c = ShippedCatalogue(name);
        const std::string sexes = c.LookupText("frmMain.MaleSex") + c.LookupText("frmMain.FemaleSex") +
                                  c.LookupText("frmMain.NoSex");
        EXPECT_TRUE(sexes.size() == 3 && sexes[0] != sexes[1] && sexes[0] != sexes[2] && sexes[1] != sexes[2]);
        EXPECT_TRUE(std::all_of(sexes.begin(), sexes.end(), [](char s) { return s >= 'A' && s <= 'Z'; })) << name;
    }
    EXPECT_EQ(keys[0], keys[1]);
    EXPECT_EQ(SplitLines(SourceFile("tests/data/catalogue/keys.txt")), keys[0]);
    EXPECT_NE(SourceFile("data/club.de.txt").find("Z\xFC" "chter"), std::string::npos); // an umlaut is one byte
}

// The core words nothing itself: every sentence it hands to the user comes from the catalogue.
// The sources are read as text; a literal that reads like words must be a catalogue key.
// The string literals of a C++ source, without those in comments and character literals.
std::vector<std::string> StringLiterals(const std::string& s) {
    std::vector<std::string> literals;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 2, "//") == 0) i = std::min(s.find('\n', i), s.size());
        else if (s.compare(i, 2, "/*") == 0) i = std::min(s.find("*/", i + 2), s.size()) + 1;
        else if (s[i] == '\'' || s[i] == '"') {
            const char quote = s[i];
            std::string text;
            for (++i; i < s.size() && s[i] != quote; ++i) {
                if (s[i] == '\\') text += s[i++];
                text += s[i];
            }
            if (quote == '"') literals.push_back(text);
        }
    }
    return literals;
}

// Where words are not for the user: the simulator's own state file and log, the diagnostic
// trace of the line, the save journal's head line and test hooks, and the markup of exports.
const std::set<std::string> kNotForTheUser = {"clocksimulator.cpp", "clockstate.cpp", "tracinglink.cpp",
                                              "clocklink.cpp",      "files.cpp",      "xmlexport.cpp",
                                              "resultexport.cpp",   "seasonlayout.cpp", "racelog.cpp",
                                              "combinedlist.cpp"};
// The result list's remark for a pigeon with a data error stands in these words in every language.
const std::set<std::string> kFixedWords = {"Data Error for this pigeon"};

TEST(CatalogueSource, CoreShowsNoWordsOfItsOwnAndEveryKeyItNamesIsInBothCatalogues) {
    const TextCatalogue shipped[] = {ShippedCatalogue("club.txt"), ShippedCatalogue("club.de.txt")};
    std::set<std::string> prefixes; // "Files", "frmLoftSend" …: what a key begins with
    for (const std::string& name : KeysOf(SourceFile("data/club.txt")))
        if (name.find('.') != std::string::npos) prefixes.insert(name.substr(0, name.find('.')));
    const std::regex key(R"(^[A-Za-z]+\.[A-Za-z0-9.()]+$)");
    const std::regex words(R"([A-Za-z][a-z]+ [a-z]{2,})");
    std::size_t keys = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Path(PLUMET_SOURCE_DIR) / "src" / "core")) {
        const std::string file = entry.path().filename().string();
        if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
        for (const std::string& text : StringLiterals(ReadWholeFile(entry.path()).bytes)) {
            if (std::regex_match(text, key) && prefixes.count(text.substr(0, text.find('.'))) != 0) {
                ++keys;
                for (const TextCatalogue& catalogue : shipped) EXPECT_TRUE(catalogue.Contains(text)) << file << ": " << text;
            } else if (kNotForTheUser.count(file) == 0 && kFixedWords.count(text) == 0) {
                EXPECT_FALSE(std::regex_search(text, words)) << file << ": \"" << text << "\"";
            }
        }
    }
    EXPECT_GT(keys, 50U); // the scan found the keys at all
}

} // namespace
} // namespace plumet
