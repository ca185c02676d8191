// plumet-clocksim: a timing clock on a pseudo-terminal or a serial device, for tests, demos
// and training. The first line on standard output is the device a program opens.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/files.h"
#include "app/fixedwidth.h"
#include "app/timesource.h"
#include "clock/clocksimulator.h"
#include "clock/clockstate.h"
#include "clock/tracinglink.h"
#include "serialline.h"

#ifdef _WIN32

int main() {
    std::cerr << "plumet-clocksim needs a POSIX system (pseudo-terminals and termios).\n";
    return 1;
}

#else

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace {

using namespace plumet;
using clocksim::SerialLine;
using Steady = std::chrono::steady_clock;

constexpr const char* kUsage =
    "usage: plumet-clocksim [options]\n"
    "  --state FILE         load the clock from FILE and save it there after every change\n"
    "  --device PATH        serve a real serial device instead of a new pseudo-terminal\n"
    "  --baud N             baud rate of --device (default 9600; 300 for the time setting)\n"
    "  --link-file FILE     also write the device path into FILE (removed at exit)\n"
    "  --silent-after N     send nothing after the N-th byte\n"
    "  --corrupt-at N       send the N-th byte with every bit inverted\n"
    "  --print-on-connect   print the arrival list whenever a program opens the line\n"
    "  --pause-ms MS        quiet time that ends a release point list (default 200)\n"
    "  --hangup-ms MS       quiet time that voids a half-received message (default 3000)\n"
    "  --idle-exit S        end after S seconds without a byte\n"
    "  --master-time T      the master clock starts at T (YYYY-MM-DDTHH:MM:SS) and runs on\n"
    "  --verbose            trace every byte on standard error\n"
    "SIGUSR1 prints the arrival list; SIGTERM and SIGINT end the simulator.\n";

struct Options {
    std::string stateFile;
    std::string device;
    int baud = 9600;
    std::string linkFile;
    SimulatorFaults faults;
    bool printOnConnect = false;
    long long pauseMs = 200;
    long long hangUpMs = 3000;
    long long idleExitSeconds = 0;
    bool verbose = false;
    std::optional<DateTime> masterStart;
};

// "2024-06-02T18:30:00"
std::optional<DateTime> ParseDateTime(const std::string& text) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != ' ') ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto part = [&](std::size_t at, std::size_t length) { return ParseInteger(text.substr(at, length)); };
    const auto year = part(0, 4), month = part(5, 2), day = part(8, 2);
    const auto hour = part(11, 2), minute = part(14, 2), second = part(17, 2);
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    const DateTime at = MakeDateTime(static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day),
                                     static_cast<int>(*hour), static_cast<int>(*minute), static_cast<int>(*second));
    if (!IsValidDateTime(at)) return std::nullopt;
    return at;
}

// The system's time moved by a fixed number of seconds, so a demonstration can take place
// on any day.
class ShiftedTimeSource final : public TimeSource {
public:
    void StartAt(const DateTime& at) { shift_ = CivilSeconds(at) - CivilSeconds(system_.Now()); }
    DateTime Now() const override {
        const DateTime now = system_.Now();
        return FromCivilSeconds(CivilSeconds(now) + shift_, now.utcOffsetMinutes);
    }

private:
    SystemTimeSource system_;
    std::int64_t shift_ = 0;
};

volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t printRequested = 0;

void OnStop(int) { stopRequested = 1; }
void OnPrint(int) { printRequested = 1; }

void Catch(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: poll returns at once
    sigaction(signal, &action, nullptr);
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc) return std::nullopt;
            return std::string(argv[++i]);
        };
        const auto number = [&](long long low) -> std::optional<long long> {
            const auto text = value();
            const auto n = text ? ParseInteger(*text) : std::nullopt;
            if (!n || *n < low) return std::nullopt;
            return n;
        };
        if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--print-on-connect") {
            options.printOnConnect = true;
        } else if (arg == "--state" || arg == "--device" || arg == "--link-file") {
            const auto text = value();
            if (!text) return std::nullopt;
            (arg == "--state" ? options.stateFile : arg == "--device" ? options.device : options.linkFile) = *text;
        } else if (arg == "--baud") {
            const auto n = number(1);
            if (!n) return std::nullopt;
            options.baud = static_cast<int>(*n);
        } else if (arg == "--silent-after" || arg == "--corrupt-at") {
            const auto n = number(1);
            if (!n) return std::nullopt;
            (arg == "--silent-after" ? options.faults.silentAfter : options.faults.corruptAt) =
                static_cast<std::size_t>(*n);
        } else if (arg == "--master-time") {
            const auto text = value();
            options.masterStart = text ? ParseDateTime(*text) : std::nullopt;
            if (!options.masterStart) return std::nullopt;
        } else if (arg == "--pause-ms" || arg == "--hangup-ms" || arg == "--idle-exit") {
            const auto n = number(1);
            if (!n) return std::nullopt;
            (arg == "--pause-ms" ? options.pauseMs : arg == "--hangup-ms" ? options.hangUpMs : options.idleExitSeconds) =
                *n;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

class Simulator {
public:
    Simulator(const Options& options, SerialLine& line, ClockState state)
        : options_(options), line_(line), clock_(master_, std::move(state)) {
        if (options.masterStart) master_.StartAt(*options.masterStart);
        clock_.SetFaults(options.faults);
        clock_.SetEventSink([this](ClockEvent event, const std::string& detail) {
            std::cerr << "plumet-clocksim: " << ClockEventName(event) << ": " << detail << std::endl;
            if (event == ClockEvent::LoftReceived || event == ClockEvent::ReleasePointsReceived ||
                event == ClockEvent::TimeSet || event == ClockEvent::FirmwareReceived)
                dirty_ = true;
        });
    }

    int Run();

private:
    void Trace(bool fromProgram, std::uint8_t b) const {
        if (options_.verbose) std::cerr << TraceByteLine(fromProgram, b) << std::endl;
    }
    void Queue(const std::string& bytes) { pending_ += bytes; }
    // Bytes read, 0 when none were waiting, -1 when the line failed.
    ssize_t ReadBytes();
    void WriteBytes();
    void HangUp();
    void SaveIfChanged();

    const Options& options_;
    SerialLine& line_;
    ShiftedTimeSource master_;
    ClockSimulator clock_;
    std::string pending_;
    bool dirty_ = false;
    bool connected_ = false;
    bool paused_ = true;
    Steady::time_point lastByte_ = Steady::now();
};

int Simulator::Run() {
    if (!line_.IsPseudoTerminal()) {
        connected_ = true;
        if (options_.printOnConnect) Queue(clock_.PrintOut());
    }
    while (!stopRequested) {
        if (printRequested) {
            printRequested = 0;
            Queue(clock_.PrintOut());
        }
        pollfd poller{line_.Fd(), static_cast<short>(POLLIN | (pending_.empty() ? 0 : POLLOUT)), 0};
        const int ready = poll(&poller, 1, 20);
        if (ready < 0 && errno != EINTR) {
            std::cerr << "plumet-clocksim: poll failed\n";
            return 1;
        }
        if (ready > 0 && line_.IsPseudoTerminal() && (poller.revents & POLLHUP)) {
            // A program that closes the line right after its last byte: those bytes still wait here.
            if (poller.revents & POLLIN) {
                ssize_t n = 0;
                while ((n = ReadBytes()) > 0) {}
                if (n < 0) return 1;
            }
            if (connected_ || clock_.Busy()) HangUp();
            usleep(20000); // a hung-up terminal polls ready at once
        } else {
            if (!connected_) {
                connected_ = true;
                if (options_.verbose) std::cerr << "plumet-clocksim: a program opened the line" << std::endl;
                if (options_.printOnConnect) Queue(clock_.PrintOut());
            }
            if (ready > 0 && (poller.revents & POLLIN) && ReadBytes() < 0) return 1;
            if (!pending_.empty()) WriteBytes();
        }
        const auto quiet = Steady::now() - lastByte_;
        if (!paused_ && quiet >= std::chrono::milliseconds(options_.pauseMs)) {
            paused_ = true;
            const std::string answer = clock_.OnPause();
            for (const char c : answer) Trace(false, static_cast<std::uint8_t>(c));
            Queue(answer);
        }
        if (clock_.Busy() && quiet >= std::chrono::milliseconds(options_.hangUpMs)) clock_.OnHangUp();
        SaveIfChanged();
        if (options_.idleExitSeconds > 0 && pending_.empty() &&
            quiet >= std::chrono::seconds(options_.idleExitSeconds)) {
            std::cerr << "plumet-clocksim: idle for " << options_.idleExitSeconds << " s, ending" << std::endl;
            break;
        }
    }
    if (clock_.Busy()) clock_.OnHangUp();
    SaveIfChanged();
    return 0;
}

ssize_t Simulator::ReadBytes() {
    std::uint8_t buffer[512];
    const ssize_t n = read(line_.Fd(), buffer, sizeof buffer);
    if (n < 0) return errno == EAGAIN || errno == EINTR || errno == EIO ? 0 : -1;
    for (ssize_t i = 0; i < n; ++i) {
        Trace(true, buffer[i]);
        const std::string answer = clock_.OnByte(buffer[i]);
        for (const char c : answer) Trace(false, static_cast<std::uint8_t>(c));
        Queue(answer);
    }
    if (n > 0) {
        lastByte_ = Steady::now();
        paused_ = false;
    }
    return n;
}

void Simulator::WriteBytes() {
    const ssize_t n = write(line_.Fd(), pending_.data(), pending_.size());
    if (n > 0) {
        pending_.erase(0, static_cast<std::size_t>(n));
        lastByte_ = Steady::now();
    }
}

void Simulator::HangUp() {
    connected_ = false;
    if (options_.verbose) std::cerr << "plumet-clocksim: the program closed the line" << std::endl;
    clock_.OnHangUp();
    pending_.clear();
    line_.DropUnreadOutput();
}

void Simulator::SaveIfChanged() {
    if (!dirty_ || options_.stateFile.empty()) return;
    dirty_ = false;
    const SaveResult saved = SaveClockState(options_.stateFile, clock_.State());
    if (!saved) std::cerr << "plumet-clocksim: " << saved.error << std::endl;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    ClockState state;
    if (!options->stateFile.empty()) {
        ClockStateRead read = LoadClockState(options->stateFile);
        if (!read.ok) {
            std::cerr << "plumet-clocksim: " << options->stateFile << ": " << read.error << "\n";
            return 1;
        }
        state = std::move(read.state);
    }
    SerialLine line;
    const std::string failure =
        options->device.empty() ? line.OpenPseudoTerminal() : line.OpenDevice(options->device, options->baud);
    if (!failure.empty()) {
        std::cerr << "plumet-clocksim: " << failure << "\n";
        return 1;
    }
    std::signal(SIGPIPE, SIG_IGN);
    Catch(SIGTERM, OnStop);
    Catch(SIGINT, OnStop);
    Catch(SIGUSR1, OnPrint);
    // The link file first: whoever reads the first output line may look for it at once.
    if (!options->linkFile.empty()) {
        const SaveResult saved = SaveFileAtomically(options->linkFile, line.PeerPath() + "\n");
        if (!saved) {
            std::cerr << "plumet-clocksim: " << saved.error << "\n";
            return 1;
        }
    }
    std::cout << line.PeerPath() << std::endl;
    Simulator simulator(*options, line, std::move(state));
    const int status = simulator.Run();
    if (!options->linkFile.empty()) std::remove(options->linkFile.c_str());
    return status;
}

#endif
