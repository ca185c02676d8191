// plumet-clocksim itself, on a pseudo-terminal, spoken to the way a program's serial port does.
#include <gtest/gtest.h>

#if defined(PLUMET_CLOCKSIM) && !defined(_WIN32)

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "clock/clockstate.h"
#include "testfolder.h"

extern char** environ;

namespace plumet {
namespace {

constexpr int kByteWaitMs = 10000; // generous: the machine may be busy

// Up to `count` bytes, or what came before the wait ran out; a 0 count reads up to a line end.
std::string ReadBytes(int fd, std::size_t count) {
    std::string got;
    pollfd poller{fd, POLLIN, 0};
    char c = 0;
    while ((count == 0 || got.size() < count) && poll(&poller, 1, kByteWaitMs) > 0 && read(fd, &c, 1) == 1) {
        if (count == 0 && c == '\n') break;
        got += c;
    }
    return got;
}

// The simulator with its standard output on a pipe, stopped by SIGTERM.
class RunningSimulator {
public:
    explicit RunningSimulator(std::vector<std::string> args) {
        args.insert(args.begin(), PLUMET_CLOCKSIM);
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawn(&pid_, PLUMET_CLOCKSIM, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        output_ = out[0];
    }
    ~RunningSimulator() {
        if (pid_ > 0) Stop();
        close(output_);
    }
    // The first line the simulator prints: the device to open.
    std::string Device() const { return ReadBytes(output_, 0); }
    int Stop() {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

int OpenRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

void Write(int fd, const std::string& bytes) {
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

// A raw firmware upload has no answer at its end: the program closes the line at once, and
// whatever still waits in the line belongs to the upload all the same.
TEST(ClockSimulatorProgram, ServesALoftOnAPseudoTerminalAndKeepsWhatArrivesJustBeforeTheLineCloses) {
    const int probe = posix_openpt(O_RDWR | O_NOCTTY);
    if (probe < 0) GTEST_SKIP() << "no pseudo-terminals here";
    close(probe);
    TestFolder folder;
    const std::string stateFile = (folder.path() / "clock.txt").string();
    ClockState state;
    state.region = 12;
    state.federation = 5;
    state.club = 7;
    state.fancier = 12;
    state.pigeons = {{{0xFF}, {0x13, 0x80, 0, 0, 0x3E}}};
    ASSERT_TRUE(SaveClockState(stateFile, state));

    RunningSimulator simulator({"--state", stateFile, "--link-file", (folder.path() / "link").string()});
    const std::string device = simulator.Device();
    ASSERT_FALSE(device.empty());
    EXPECT_EQ(folder.Read("link"), device + "\n");
    const int port = OpenRaw(device);
    ASSERT_GE(port, 0);
    Write(port, ">3");
    EXPECT_EQ(ReadBytes(port, 28), std::string(">\x0C\x05\x07\x0C\x00\x01\xFF", 8) + std::string(14, '\0') +
                                       std::string("\x13\x80\x00\x00\x3E>", 6));
    // A loft with no pigeons, sent at 18:30:00 on Tuesday 3 June 2008, then a raw upload.
    Write(port, std::string(">1\x00\x1A\x0C\x05\x09\xC8", 8) + std::string(20, 'N') +
                    std::string("\x00\x00>\x03\x06\x08\x03\x12\x1E\x00", 10));
    EXPECT_EQ(ReadBytes(port, 1), ">");
    Write(port, "\x08");
    EXPECT_EQ(ReadBytes(port, 1), "\x08");
    Write(port, "\x54\xAA\xAB\x55\x55\x57" + std::string(3000, '\x11') + std::string(1, '\0'));
    close(port);

    ClockStateRead saved = LoadClockState(stateFile);
    for (int i = 0; i < 500 && saved.state.firmware.kind != FirmwareKind::Raw; ++i) {
        usleep(20000); // the simulator saves once it has seen the hang-up
        saved = LoadClockState(stateFile);
    }
    EXPECT_EQ(simulator.Stop(), 0);
    EXPECT_FALSE(folder.Exists("link"));
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(std::to_string(saved.state.club) + "/" + std::to_string(saved.state.fancier), "9/200");
    EXPECT_EQ(saved.state.name, std::string(20, 'N'));
    EXPECT_TRUE(saved.state.pigeons.empty());
    EXPECT_TRUE(saved.state.firmware.kind == FirmwareKind::Raw && saved.state.firmware.complete);
}

} // namespace
} // namespace plumet

#else

TEST(ClockSimulatorProgram, ServesALoftOnAPseudoTerminalAndKeepsWhatArrivesJustBeforeTheLineCloses) {
    GTEST_SKIP() << "the simulator needs pseudo-terminals";
}

#endif
