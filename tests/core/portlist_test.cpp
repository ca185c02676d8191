#include <gtest/gtest.h>

#include "clock/portlist.h"

namespace plumet {
namespace {

TEST(FindComPort, NormalisesNumbersAndMatchesDeviceNames) {
    const std::vector<std::string> ports = {"COM 1", "COM 3", "COM ttyUSB0"};
    EXPECT_EQ(FindComPort(ports, "3"), 1);
    EXPECT_EQ(FindComPort(ports, "03"), 1);
    EXPECT_EQ(FindComPort(ports, "4"), -1);
    EXPECT_EQ(FindComPort(ports, ""), -1);
    EXPECT_EQ(FindComPort(ports, "ttyUSB0"), 2);
    EXPECT_EQ(FindComPort(ports, "256"), -1);
    EXPECT_EQ(PortIdOfEntry("COM 3"), "3");
    EXPECT_EQ(PortIdOfEntry("COM"), "");
}

} // namespace
} // namespace plumet
