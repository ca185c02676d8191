#include "serialline.h"

#ifndef _WIN32

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "core/app/fixedwidth.h"

namespace clocksim {

namespace {

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

constexpr struct {
    int baud;
    speed_t speed;
} kSpeeds[] = {{300, B300},     {1200, B1200},   {2400, B2400},   {4800, B4800},  {9600, B9600},
               {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};

speed_t SpeedOf(int baud) {
    for (const auto& s : kSpeeds)
        if (s.baud == baud) return s.speed;
    return B0;
}

int BaudOf(speed_t speed) {
    for (const auto& s : kSpeeds)
        if (s.speed == speed) return s.baud;
    return 0;
}

// No echo, no line editing, no character translation, 8 data bits, no flow control.
bool MakeRaw(int fd, speed_t speed) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | CSTOPB | PARENB);
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (speed != B0) {
        cfsetispeed(&settings, speed);
        cfsetospeed(&settings, speed);
    }
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

} // namespace

SerialLine::~SerialLine() {
    if (fd_ >= 0) ::close(fd_);
}

std::string SerialLine::OpenPseudoTerminal() {
    fd_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd_ < 0) return Reason("posix_openpt");
    if (grantpt(fd_) != 0 || unlockpt(fd_) != 0) return Reason("unlocking the pseudo-terminal");
    const char* name = ptsname(fd_);
    if (name == nullptr) return Reason("ptsname");
    peerPath_ = name;
    pseudo_ = true;
    // The program's side starts raw; its settings stay with the terminal after this close.
    // The close also makes the line read as hung up until a program opens it.
    const int peer = ::open(peerPath_.c_str(), O_RDWR | O_NOCTTY);
    if (peer < 0) return Reason("opening " + peerPath_);
    const bool raw = MakeRaw(peer, B9600);
    ::close(peer);
    if (!raw) return Reason("setting raw mode");
    if (fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK) != 0) return Reason("fcntl");
#ifdef TIOCPKT
    // A UART drops its queue when the program flushes it; packet mode tells us when it does.
    int on = 1;
    packets_ = ioctl(fd_, TIOCPKT, &on) == 0;
#endif
    return {};
}

std::string SerialLine::OpenDevice(const std::string& path, int baud) {
    const speed_t speed = SpeedOf(baud);
    if (speed == B0) return "unsupported baud rate " + std::to_string(baud);
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) return Reason("opening " + path);
    if (!MakeRaw(fd_, speed)) return Reason("setting raw mode on " + path);
    peerPath_ = path;
    return {};
}

void SerialLine::DropUnreadOutput() {
    if (!pseudo_) {
        tcflush(fd_, TCOFLUSH);
        return;
    }
    // What waits on the program's side is only reachable from there.
    const int peer = ::open(peerPath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (peer < 0) return;
    tcflush(peer, TCIFLUSH);
    ::close(peer);
}

std::size_t SerialLine::Waiting() const {
    int count = 0;
    if (ioctl(fd_, FIONREAD, &count) != 0 || count < 0) return 0;
    return static_cast<std::size_t>(count);
}

SerialLine::Input SerialLine::Read(std::size_t most) {
    Input input;
    std::string buffer(most + (packets_ ? 1 : 0), '\0');
    const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
    if (n < 0) {
        input.failed = errno != EAGAIN && errno != EINTR && errno != EIO; // EIO: nobody has the line open
        return input;
    }
    buffer.resize(static_cast<std::size_t>(n));
    if (!packets_) {
        input.bytes = std::move(buffer);
        return input;
    }
#ifdef TIOCPKT
    // Each read starts with a control byte: data, or what changed on the program's side.
    if (!buffer.empty() && buffer[0] == TIOCPKT_DATA) input.bytes = plumet::AfterFirstChar(buffer);
    else if (!buffer.empty()) input.flushed = (buffer[0] & TIOCPKT_FLUSHWRITE) != 0;
#endif
    return input;
}

std::optional<plumet::PortSettings> SerialLine::ProgramSettings() const {
    // On a pseudo-terminal's master side these are the settings of the program's side.
    termios settings{};
    if (tcgetattr(fd_, &settings) != 0) return std::nullopt;
    plumet::PortSettings port;
    port.baud = BaudOf(cfgetospeed(&settings));
    if (port.baud == 0) return std::nullopt;
    switch (settings.c_cflag & CSIZE) {
    case CS5: port.dataBits = 5; break;
    case CS6: port.dataBits = 6; break;
    case CS7: port.dataBits = 7; break;
    default: port.dataBits = 8; break;
    }
    port.parity = (settings.c_cflag & PARENB) == 0 ? plumet::Parity::None
                  : (settings.c_cflag & PARODD) != 0 ? plumet::Parity::Odd
                                                      : plumet::Parity::Even;
    port.stopBits = (settings.c_cflag & CSTOPB) != 0 ? 2 : 1;
    return port;
}

} // namespace clocksim

#endif
