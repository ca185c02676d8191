#include <gtest/gtest.h>

#include "core/clock/portlist.h"

namespace plumet {
namespace {

TEST(FindComPort, NormalisesNumbersAndWindowsPortNamesAndMatchesDeviceNames) {
    const std::vector<std::string> ports = {"COM 1", "COM 3", "COM 10", "COM ttyUSB0"};
    const std::vector<std::pair<std::string, int>> cases = {
        {"3", 1},      {"03", 1},     {" 3 ", 1},          {"COM3", 1},          {"com03", 1},
        {"COM10", 2},  {"\\\\.\\COM10", 2}, {"\\\\.\\com10", 2}, {"ttyUSB0", 3},     {"4", -1},
        {"", -1},      {"COM", -1},   {"256", -1},         {"COM256", -1},       {"\\\\.\\ttyUSB0", -1},
        {"99999999999999999999", -1}};
    for (const auto& [configured, index] : cases) EXPECT_EQ(FindComPort(ports, configured), index) << configured;
    EXPECT_EQ(NormalisedPortId("\\\\.\\COM10"), "10");
    EXPECT_EQ(PortIdOfEntry("COM 3"), "3");
    EXPECT_EQ(PortIdOfEntry("COM"), "");
}

} // namespace
} // namespace plumet
