#pragma once
// The simulator's end of the serial line: the master side of a pseudo-terminal, or a real
// serial device, in raw mode and non-blocking.
#include <cstddef>
#include <optional>
#include <string>

#include "core/clock/clocklink.h"

namespace clocksim {

class SerialLine {
public:
    SerialLine() = default;
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;
    ~SerialLine();

    // A new pseudo-terminal; programs open PeerPath(). Empty text on success, else the reason.
    std::string OpenPseudoTerminal();
    std::string OpenDevice(const std::string& path, int baud);

    int Fd() const { return fd_; }
    bool IsPseudoTerminal() const { return pseudo_; }
    // The device a program opens to reach the simulated clock.
    const std::string& PeerPath() const { return peerPath_; }
    // Drops what the program has not read yet, so a program that opens the line next does
    // not get answers meant for the one before.
    void DropUnreadOutput();

    // Bytes the program wrote that wait to be read.
    std::size_t Waiting() const;
    struct Input {
        std::string bytes;
        bool flushed = false; // the program dropped its output queue; what waits is void
        bool failed = false;
    };
    // At most `most` of the waiting bytes, or the news that the program flushed its output.
    Input Read(std::size_t most);
    // The speed and frame the program set on its end of the line; nothing when unknown.
    std::optional<plumet::PortSettings> ProgramSettings() const;

private:
    int fd_ = -1;
    bool pseudo_ = false;
    bool packets_ = false; // the pseudo-terminal reports the program's flushes
    std::string peerPath_;
};

} // namespace clocksim
