#include "serial/serialports.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>

#include "core/app/fixedwidth.h"
#include "core/clock/portlist.h"

namespace plumet {
namespace {

bool Opens(const QString& device) {
    QSerialPort port(device);
    port.setBaudRate(QSerialPort::Baud9600);
    if (!port.open(QIODevice::ReadWrite)) return false;
    port.close();
    return true;
}

std::string IdOf(const QSerialPortInfo& info) {
#ifdef _WIN32
    const QString name = info.portName();
    if (name.startsWith("COM", Qt::CaseInsensitive)) return name.mid(3).toStdString();
#endif
    return info.portName().toStdString();
}

std::function<std::vector<std::string>(const std::string&)>& TestEnumeration() {
    static std::function<std::vector<std::string>(const std::string&)> enumerate;
    return enumerate;
}

} // namespace

void SetPortEnumerationForTests(std::function<std::vector<std::string>(const std::string&)> enumerate) {
    TestEnumeration() = std::move(enumerate);
}

std::string PortDeviceName(const std::string& portId) {
#ifdef _WIN32
    const std::string id = NormalisedPortId(portId);
    if (IsAllDigits(id)) return "COM" + id;
#endif
    return portId;
}

std::vector<std::string> ListComPorts(const std::string& configuredPort) {
    if (TestEnumeration()) return TestEnumeration()(configuredPort);
    std::vector<std::string> ids;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const std::string id = IdOf(info);
        if (IsAllDigits(id) && (*ParseInteger(id) < 1 || *ParseInteger(id) > 254)) continue;
        if (Opens(info.systemLocation())) ids.push_back(id);
    }
    // Numbered ports in ascending order, named devices after them by name.
    std::sort(ids.begin(), ids.end(), [](const std::string& a, const std::string& b) {
        const bool an = IsAllDigits(a), bn = IsAllDigits(b);
        if (an != bn) return an;
        return an ? *ParseInteger(a) < *ParseInteger(b) : a < b;
    });
    const std::string configured = TrimBlanks(configuredPort);
    // "\\.\COM10" is port 10, listed already when it opens.
    if (configured.find_first_of("/\\") != std::string::npos && !IsAllDigits(NormalisedPortId(configured)) &&
        std::find(ids.begin(), ids.end(), configured) == ids.end() && Opens(QString::fromStdString(configured)))
        ids.push_back(configured);
    std::vector<std::string> entries;
    entries.reserve(ids.size());
    for (const auto& id : ids) entries.push_back(PortEntry(id));
    return entries;
}

} // namespace plumet
