#include "serialline.h"

#ifndef _WIN32

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace clocksim {

namespace {

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

speed_t SpeedOf(int baud) {
    switch (baud) {
    case 300: return B300;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
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

} // namespace clocksim

#endif
