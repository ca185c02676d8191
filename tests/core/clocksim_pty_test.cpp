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

bool PseudoTerminalsWork() {
    const int fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0) return false;
    close(fd);
    return true;
}

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
        if (output_ >= 0) close(output_);
    }

    // The first line the simulator prints: the device to open.
    std::string FirstLine() {
        std::string line;
        char c = 0;
        pollfd poller{output_, POLLIN, 0};
        while (poll(&poller, 1, kByteWaitMs) > 0 && read(output_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

    int Stop() {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    bool Started() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

int OpenRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return fd;
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

std::string ReadBytes(int fd, std::size_t count) {
    std::string got;
    pollfd poller{fd, POLLIN, 0};
    while (got.size() < count && poll(&poller, 1, kByteWaitMs) > 0) {
        char buffer[256];
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0) break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

// A raw firmware upload has no answer at its end: the program closes the line at once, and
// whatever still waits in the line belongs to the upload all the same.
TEST(ClockSimulatorProgram, ServesALoftOnAPseudoTerminalAndKeepsWhatArrivesJustBeforeTheLineCloses) {
    if (!PseudoTerminalsWork()) GTEST_SKIP() << "no pseudo-terminals here";
    TestFolder folder;
    const std::string stateFile = (folder.path() / "clock.txt").string();
    ClockState state;
    state.region = 12;
    state.federation = 5;
    state.club = 7;
    state.fancier = 12;
    state.pigeons.resize(2);
    state.pigeons[0].ring[0] = 0xFF;
    state.pigeons[1].chip = {0x13, 0x80, 0, 0, 0x3E};
    ASSERT_TRUE(SaveClockState(stateFile, state));

    RunningSimulator simulator({"--state", stateFile, "--link-file", (folder.path() / "link").string()});
    ASSERT_TRUE(simulator.Started());
    const std::string device = simulator.FirstLine();
    ASSERT_FALSE(device.empty());
    EXPECT_EQ(folder.Read("link"), device + "\n");
    const int port = OpenRaw(device);
    ASSERT_GE(port, 0);
    ASSERT_EQ(write(port, ">3", 2), 2);
    std::string expected = std::string(">\x0C\x05\x07\x0C\x00\x02", 7);
    for (const ClockPigeon& p : state.pigeons)
        expected += std::string(p.ring.begin(), p.ring.end()) + std::string(p.chip.begin(), p.chip.end());
    EXPECT_EQ(ReadBytes(port, expected.size() + 1), expected + ">");

    // A loft with no pigeons, sent at 18:30:00 on Tuesday 3 June 2008, then a raw upload.
    const std::string loft = std::string(">1\x00\x1A\x0C\x05\x09\xC8", 8) + std::string(20, 'N') +
                             std::string("\x00\x00>\x03\x06\x08\x03\x12\x1E\x00", 10);
    ASSERT_EQ(write(port, loft.data(), loft.size()), static_cast<ssize_t>(loft.size()));
    EXPECT_EQ(ReadBytes(port, 1), ">");
    ASSERT_EQ(write(port, "\x08", 1), 1);
    EXPECT_EQ(ReadBytes(port, 1), "\x08");
    const std::string upload = "\x54\xAA\xAB\x55\x55\x57" + std::string(3000, '\x11') + std::string(1, '\0');
    ASSERT_EQ(write(port, upload.data(), upload.size()), static_cast<ssize_t>(upload.size()));
    close(port);

    ClockStateRead saved = LoadClockState(stateFile);
    for (int i = 0; i < 500 && saved.state.firmware.kind != FirmwareKind::Raw; ++i) {
        usleep(20000); // the simulator saves once it has seen the hang-up
        saved = LoadClockState(stateFile);
    }
    EXPECT_EQ(simulator.Stop(), 0);
    EXPECT_FALSE(folder.Exists("link"));
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(saved.state.club, 9);
    EXPECT_EQ(saved.state.fancier, 200);
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
