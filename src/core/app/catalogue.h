#pragma once
// The text catalogue club.txt: every user-visible text, looked up by key.
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/app/files.h"

namespace plumet {

inline constexpr const char* kCatalogueFileName = "club.txt";

class TextCatalogue {
public:
    // Reads every line of the file (a longer file than the historical 1000 lines loses
    // nothing). Returns false when the file is missing or unreadable; the catalogue is then empty.
    bool Load(const Path& programFolder);
    void LoadFromBytes(std::string_view bytes);

    // The value after the first "=" of the first line whose key matches exactly; "" if none.
    std::string LookupText(std::string_view key) const;
    bool Contains(std::string_view key) const;
    // Takes every key of `fallback` that this catalogue lacks, so an installation's older
    // catalogue shows the shipped text for keys added since.
    void AddMissingFrom(const TextCatalogue& fallback);
    std::size_t LineCount() const { return lineCount_; }

private:
    std::unordered_map<std::string, std::string> firstValueByKey_;
    std::size_t lineCount_ = 0;
};

// The catalogues the core words its reasons in: the program folder's club.txt, and the
// shipped English one for the keys it lacks. The program and plumet-cli set them at start.
void UseCatalogues(TextCatalogue folder, TextCatalogue shipped);

// The text of `key` with %1 … %9 replaced by `values`, in Windows-1252. Without either
// catalogue holding the key: the key and the values, so nothing said is lost.
std::string CatalogueText(std::string_view key, std::initializer_list<std::string> values = {});
std::string CatalogueTextOf(std::string_view key, const std::vector<std::string>& values);

// A path as a message shows it: Windows-1252, '?' for what that cannot hold.
std::string PathText(const Path& path);

} // namespace plumet
