#pragma once
// The list of usable serial ports, each entry "COM " + port id.
#include <string>
#include <vector>

namespace plumet {

std::string PortEntry(const std::string& portId);

// Characters 5 onward of an entry: the port id ("COM 3" gives "3").
std::string PortIdOfEntry(const std::string& entry);

// The id a configured port stands for: "03", "COM3", "com3" and "\\.\COM3" all name port 3,
// the last being how Windows spells COM10 and above; a device name stays as written.
std::string NormalisedPortId(const std::string& configured);

// The 0-based position of the configured port in the list, or -1. The id is normalised
// first, so "03" and "COM3" find "COM 3"; a device name must match as written.
int FindComPort(const std::vector<std::string>& portList, const std::string& configured);

} // namespace plumet
