#include "core/clock/portlist.h"

#include <cctype>
#include <string_view>

#include "core/app/fixedwidth.h"

namespace plumet {

constexpr std::string_view kEntryPrefix = "COM ";

std::string PortEntry(const std::string& portId) { return std::string(kEntryPrefix) + portId; }

std::string PortIdOfEntry(const std::string& entry) {
    return entry.size() > kEntryPrefix.size() ? entry.substr(kEntryPrefix.size()) : std::string();
}

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != start[i]) return false;
    return true;
}

} // namespace

std::string NormalisedPortId(const std::string& configured) {
    const std::string id = TrimBlanks(configured);
    std::string_view number = id;
    if (StartsWithNoCase(number, "\\\\.\\")) number.remove_prefix(4);
    if (StartsWithNoCase(number, "COM")) number.remove_prefix(3);
    const auto value = IsAllDigits(number) ? ParseInteger(number) : std::nullopt;
    return value ? std::to_string(*value) : id;
}

int FindComPort(const std::vector<std::string>& portList, const std::string& configured) {
    const std::string id = NormalisedPortId(configured);
    if (id.empty()) return -1;
    if (IsAllDigits(id) && (id.size() > 3 || *ParseInteger(id) > 255)) return -1;
    for (std::size_t i = 0; i < portList.size(); ++i)
        if (portList[i] == PortEntry(id)) return static_cast<int>(i);
    return -1;
}

} // namespace plumet
