// The core words nothing itself: every sentence it hands to the user comes from the catalogue.
// The sources are read as text; a literal that reads like words must be a catalogue key.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "core/app/catalogue.h"

namespace plumet {
namespace {

struct Literal {
    std::string file;
    std::string text;
};

// The string literals of a C++ source, without those in comments and character literals.
std::vector<std::string> StringLiterals(const std::string& source) {
    std::vector<std::string> literals;
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source.compare(i, 2, "//") == 0) {
            i = source.find('\n', i);
            if (i == std::string::npos) break;
        } else if (source.compare(i, 2, "/*") == 0) {
            i = source.find("*/", i + 2);
            if (i == std::string::npos) break;
            ++i;
        } else if (source[i] == '\'') {
            for (++i; i < source.size() && source[i] != '\''; ++i)
                if (source[i] == '\\') ++i;
        } else if (source[i] == '"') {
            std::string text;
            for (++i; i < source.size() && source[i] != '"'; ++i) {
                if (source[i] == '\\') text += source[i++];
                text += source[i];
            }
            literals.push_back(text);
        }
    }
    return literals;
}

std::vector<Literal> CoreLiterals() {
    std::vector<Literal> all;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Path(PLUMET_SOURCE_DIR) / "src" / "core")) {
        if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
        for (std::string& text : StringLiterals(ReadWholeFile(entry.path()).bytes))
            all.push_back({entry.path().filename().string(), std::move(text)});
    }
    return all;
}

// Where words are not for the user: the simulator's own state file and log, the diagnostic
// trace of the line, the save journal's head line and test hooks, and the markup of exports.
const std::set<std::string> kNotForTheUser = {"clocksimulator.cpp", "clockstate.cpp", "tracinglink.cpp",
                                              "clocklink.cpp",      "files.cpp",      "xmlexport.cpp",
                                              "resultexport.cpp",   "seasonlayout.cpp"};
// The result list's remark for a pigeon with a data error stands in these words in every language.
const std::set<std::string> kFixedWords = {"Data Error for this pigeon"};

TEST(CatalogueSource, CoreShowsNoWordsOfItsOwnAndEveryKeyItNamesIsInBothCatalogues) {
    std::vector<TextCatalogue> shipped(2);
    std::set<std::string> prefixes; // "Files", "frmLoftSend" …: what a key begins with
    for (std::size_t i = 0; i < shipped.size(); ++i) {
        const std::string bytes = ReadWholeFile(Path(PLUMET_SOURCE_DIR) / "data" / (i == 0 ? "club.txt" : "club.de.txt")).bytes;
        shipped[i].LoadFromBytes(bytes);
        for (const std::string& line : SplitLines(bytes))
            if (line.find('=') != std::string::npos && line.find('.') < line.find('='))
                prefixes.insert(line.substr(0, line.find('.')));
    }
    const std::regex key(R"(^[A-Za-z]+\.[A-Za-z0-9.()]+$)");
    const std::regex words(R"([A-Za-z][a-z]+ [a-z]{2,})");
    std::size_t keys = 0;
    for (const Literal& literal : CoreLiterals()) {
        if (std::regex_match(literal.text, key) && prefixes.count(literal.text.substr(0, literal.text.find('.'))) != 0) {
            ++keys;
            for (const TextCatalogue& catalogue : shipped)
                EXPECT_TRUE(catalogue.Contains(literal.text)) << literal.file << ": " << literal.text;
        } else if (kNotForTheUser.count(literal.file) == 0 && kFixedWords.count(literal.text) == 0) {
            EXPECT_FALSE(std::regex_search(literal.text, words)) << literal.file << ": \"" << literal.text << "\"";
        }
    }
    EXPECT_GT(keys, 50U); // the scan found the keys at all
}

} // namespace
} // namespace plumet
