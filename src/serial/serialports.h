#pragma once
#include <functional>
#include <string>
#include <vector>

namespace plumet {

// The usable serial ports as "COM " + id entries: the id is n of COMn on Windows and the
// device name elsewhere. A configured device path that opens (a /dev/serial/by-id link,
// a pseudo-terminal) is listed too, so it counts as available.
std::vector<std::string> ListComPorts(const std::string& configuredPort);

// Tests replace the enumeration with a fixed list; nullptr restores the real one.
void SetPortEnumerationForTests(std::function<std::vector<std::string>(const std::string&)> enumerate);

// The device QSerialPort opens for a port id.
std::string PortDeviceName(const std::string& portId);

} // namespace plumet
