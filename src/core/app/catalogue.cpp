#include "app/catalogue.h"

namespace plumet {

bool TextCatalogue::Load(const Path& programFolder) {
    const FileContent content = ReadWholeFile(ResolvePath(programFolder, kCatalogueFileName));
    LoadFromBytes(content.status == ReadStatus::Ok ? content.bytes : std::string());
    return content.status == ReadStatus::Ok;
}

void TextCatalogue::LoadFromBytes(std::string_view bytes) {
    firstValueByKey_.clear();
    const auto lines = SplitLines(bytes);
    lineCount_ = lines.size();
    for (const auto& line : lines) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        firstValueByKey_.try_emplace(line.substr(0, eq), line.substr(eq + 1));
    }
}

std::string TextCatalogue::LookupText(std::string_view key) const {
    const auto it = firstValueByKey_.find(std::string(key));
    return it == firstValueByKey_.end() ? std::string() : it->second;
}

bool TextCatalogue::Contains(std::string_view key) const {
    return firstValueByKey_.count(std::string(key)) > 0;
}

void TextCatalogue::AddMissingFrom(const TextCatalogue& fallback) {
    for (const auto& [key, text] : fallback.firstValueByKey_) firstValueByKey_.try_emplace(key, text);
}

} // namespace plumet
