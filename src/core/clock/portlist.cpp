#include "clock/portlist.h"

#include "app/fixedwidth.h"

namespace plumet {

std::string PortEntry(const std::string& portId) { return "COM " + portId; }

std::string PortIdOfEntry(const std::string& entry) { return entry.size() > 4 ? entry.substr(4) : std::string(); }

int FindComPort(const std::vector<std::string>& portList, const std::string& configured) {
    std::string id = TrimBlanks(configured);
    if (IsAllDigits(id)) {
        const auto value = ParseInteger(id);
        if (!value || *value > 255) return -1;
        id = std::to_string(*value);
    }
    if (id.empty()) return -1;
    for (std::size_t i = 0; i < portList.size(); ++i)
        if (portList[i] == PortEntry(id)) return static_cast<int>(i);
    return -1;
}

} // namespace plumet
