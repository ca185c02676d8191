#pragma once
// The text catalogue club.txt: every user-visible text, looked up by key.
#include <string>
#include <string_view>
#include <unordered_map>

#include "app/files.h"

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

} // namespace plumet
