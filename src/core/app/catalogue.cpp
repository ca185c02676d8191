#include "core/app/catalogue.h"

#include <memory>
#include <mutex>

#include "core/app/cp1252.h"

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

namespace {

struct Catalogues {
    TextCatalogue folder;
    TextCatalogue shipped;
};

// Workers word their reasons while the user-interface thread may load the catalogue afresh.
std::mutex catalogueMutex;
std::shared_ptr<const Catalogues> cataloguesInUse = std::make_shared<Catalogues>();

std::shared_ptr<const Catalogues> CataloguesInUse() {
    const std::lock_guard lock(catalogueMutex);
    return cataloguesInUse;
}

} // namespace

void UseCatalogues(TextCatalogue folder, TextCatalogue shipped) {
    auto next = std::make_shared<const Catalogues>(Catalogues{std::move(folder), std::move(shipped)});
    const std::lock_guard lock(catalogueMutex);
    cataloguesInUse = std::move(next);
}

std::string CatalogueText(std::string_view key, std::initializer_list<std::string> values) {
    return CatalogueTextOf(key, std::vector<std::string>(values));
}

std::string CatalogueTextOf(std::string_view key, const std::vector<std::string>& given) {
    const auto catalogues = CataloguesInUse();
    std::string text = catalogues->folder.Contains(key) ? catalogues->folder.LookupText(key)
                                                        : catalogues->shipped.LookupText(key);
    if (text.empty()) {
        text = std::string(key);
        for (const auto& value : given) text += " " + value;
        return text;
    }
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next <= '9') {
            const auto index = static_cast<std::size_t>(next - '1');
            out += index < given.size() ? given[index] : std::string();
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string PathText(const Path& path) {
    const std::u8string utf8 = path.u8string();
    const std::string bytes(utf8.begin(), utf8.end());
    if (auto converted = Utf8ToCp1252(bytes)) return *converted;
    std::string out;
    for (const char c : bytes) out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return out;
}

} // namespace plumet
