#include "core/records/registertable.h"

namespace plumet {

bool RegisterFileHoldsRecords(const Path& path) {
    const FileContent content = ReadWholeFile(path);
    if (content.status == ReadStatus::Missing || (content.status == ReadStatus::Ok && content.bytes.empty()))
        return false;
    const std::vector<std::string> lines = SplitLines(content.bytes);
    const auto count = lines.empty() ? std::nullopt : ParseInteger(lines.front());
    return !count || *count != 0;
}

long long LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
    return value;
}

} // namespace plumet
