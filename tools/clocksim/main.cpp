// plumet-clocksim: a timing clock on a pseudo-terminal or a serial device, for tests, demos
// and training. The first line on standard output is the device a program opens.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/app/files.h"
#include "core/app/fixedwidth.h"
#include "core/app/timesource.h"
#include "core/clock/clocksimulator.h"
#include "core/clock/clockstate.h"
#include "core/clock/linepacer.h"
#include "core/clock/tracinglink.h"
#include "serialline.h"

#ifdef _WIN32

int main() {
    std::cerr << "plumet-clocksim needs a POSIX system (pseudo-terminals and termios).\n";
    return 1;
}

#else

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <thread>
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
    "  --line-speed B|port  read and answer no faster than a line of B baud (n,8,1), or of\n"
    "                       the speed the program sets on its end of the line\n"
    "  --silent-after N     send nothing after the N-th byte (0: nothing at all)\n"
    "  --corrupt-at N       send the N-th byte with every bit inverted\n"
    "  --delay-before N     hold the N-th byte back (see --delay-ms)\n"
    "  --delay-ms MS        how long --delay-before holds it (default 1000)\n"
    "  --too-many-records   announce and send one pigeon or arrival more than a program takes\n"
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
    int lineBaud = 0;         // 0: as fast as the terminal goes
    bool lineFollowsPort = false;
    SimulatorFaults faults;
    std::size_t delayBefore = 0;
    long long delayMs = 1000;
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
        } else if (arg == "--too-many-records") {
            options.faults.tooManyRecords = true;
        } else if (arg == "--line-speed") {
            const auto text = value();
            if (text && *text == "port") {
                options.lineFollowsPort = true;
                continue;
            }
            const auto n = text ? ParseInteger(*text) : std::nullopt;
            if (!n || *n < 1 || *n > 4'000'000) return std::nullopt;
            options.lineBaud = static_cast<int>(*n);
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
        } else if (arg == "--silent-after") {
            const auto n = number(0);
            if (!n) return std::nullopt;
            options.faults.silentAfter = static_cast<std::size_t>(*n);
        } else if (arg == "--corrupt-at" || arg == "--delay-before") {
            const auto n = number(1);
            if (!n) return std::nullopt;
            (arg == "--corrupt-at" ? options.faults.corruptAt : options.delayBefore) = static_cast<std::size_t>(*n);
        } else if (arg == "--master-time") {
            const auto text = value();
            options.masterStart = text ? ParseDateTime(*text) : std::nullopt;
            if (!options.masterStart) return std::nullopt;
        } else if (arg == "--pause-ms" || arg == "--hangup-ms" || arg == "--idle-exit" || arg == "--delay-ms") {
            const auto n = number(1);
            if (!n) return std::nullopt;
            (arg == "--pause-ms"    ? options.pauseMs
             : arg == "--hangup-ms" ? options.hangUpMs
             : arg == "--delay-ms"  ? options.delayMs
                                    : options.idleExitSeconds) = *n;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// The clock's side of the line. With a line speed, a byte crosses the line no faster than
// its frame allows, in both directions: what the program has written but the line has not
// carried yet waits in the terminal, as in a UART's queue, and goes on crossing after the
// program has closed its end, unless the program flushed it.
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
    void Log(const std::string& text) const {
        if (options_.verbose) std::cerr << "plumet-clocksim: " << text << std::endl;
    }
    void UpdatePace();
    void Queue(const std::string& bytes);
    void Take(std::uint8_t b);
    // Takes what the line has carried by now; false when the line failed.
    bool ReadDue();
    void DropFlushed();
    void WriteDue();
    // Whether the program's bytes still wait for the line.
    bool InputWaiting() const { return rxWaiting_ || line_.Waiting() > 0; }
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
    std::optional<PortSettings> lineSettings_;
    std::chrono::nanoseconds byteTime_{0}; // zero: no pace
    bool rxWaiting_ = false;               // a byte is on its way; it has crossed at rxAt_
    Steady::time_point rxAt_{};
    Steady::time_point txAt_{}; // the next answer byte has crossed then
    std::size_t written_ = 0;
    bool delayed_ = false;
};

void Simulator::UpdatePace() {
    if (options_.lineBaud > 0) {
        byteTime_ = LineByteTime(options_.lineBaud, 8, Parity::None, 1);
        return;
    }
    if (!options_.lineFollowsPort) return;
    const std::optional<PortSettings> now = line_.ProgramSettings();
    if (!now) return;
    if (!lineSettings_ || SettingsText(*now) != SettingsText(*lineSettings_))
        Log("the line runs at " + SettingsText(*now));
    lineSettings_ = now;
    byteTime_ = LineByteTime(*now);
}

int Simulator::Run() {
    using std::chrono::ceil;
    using std::chrono::milliseconds;
    if (!line_.IsPseudoTerminal()) {
        connected_ = true;
        if (options_.printOnConnect) Queue(clock_.PrintOut());
    }
    while (!stopRequested) {
        if (printRequested) {
            printRequested = 0;
            Queue(clock_.PrintOut());
        }
        UpdatePace();
        const Steady::time_point now = Steady::now();
        Steady::time_point wake = now + milliseconds(20);
        short events = POLLPRI;
        if (rxWaiting_) wake = std::min(wake, rxAt_);
        else events |= POLLIN;
        if (!pending_.empty()) {
            if (now >= txAt_) events |= POLLOUT;
            else wake = std::min(wake, txAt_);
        }
        pollfd poller{line_.Fd(), events, 0};
        // Never negative: that would wait for ever for what is already due.
        const auto timeout = std::max<long long>(0, ceil<milliseconds>(wake - now).count());
        const int ready = poll(&poller, 1, static_cast<int>(timeout));
        if (ready < 0 && errno != EINTR) {
            std::cerr << "plumet-clocksim: poll failed\n";
            return 1;
        }
        const short got = ready > 0 ? poller.revents : 0;
        if (line_.IsPseudoTerminal() && (got & POLLHUP)) {
            // The program has closed its end; what it left in the line still crosses it.
            if (!ReadDue()) return 1;
            if (!InputWaiting() && (connected_ || clock_.Busy())) HangUp();
            // A hung-up terminal polls ready at once.
            const Steady::time_point until = rxWaiting_ ? std::min(rxAt_, Steady::now() + milliseconds(20))
                                                        : Steady::now() + milliseconds(20);
            std::this_thread::sleep_until(until);
        } else {
            if (!connected_) {
                connected_ = true;
                Log("a program opened the line");
                if (options_.printOnConnect) Queue(clock_.PrintOut());
            }
            if (!ReadDue()) return 1;
            SaveIfChanged(); // before the answer, so whoever has it finds the state saved
            WriteDue();
        }
        const auto quiet = Steady::now() - lastByte_;
        if (!paused_ && !InputWaiting() && quiet >= milliseconds(options_.pauseMs)) {
            paused_ = true;
            const std::string answer = clock_.OnPause();
            for (const char c : answer) Trace(false, static_cast<std::uint8_t>(c));
            Queue(answer);
        }
        if (clock_.Busy() && quiet >= milliseconds(options_.hangUpMs)) clock_.OnHangUp();
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

void Simulator::Queue(const std::string& bytes) {
    if (bytes.empty()) return;
    // The first byte of an answer crosses the line a byte time after it sets off.
    if (pending_.empty()) txAt_ = std::max(txAt_, Steady::now()) + byteTime_;
    pending_ += bytes;
}

void Simulator::Take(std::uint8_t b) {
    Trace(true, b);
    const std::string answer = clock_.OnByte(b);
    for (const char c : answer) Trace(false, static_cast<std::uint8_t>(c));
    Queue(answer);
    lastByte_ = Steady::now();
    paused_ = false;
}

bool Simulator::ReadDue() {
    for (;;) {
        const Steady::time_point now = Steady::now();
        const bool paced = byteTime_ > std::chrono::nanoseconds{0};
        if (paced && !rxWaiting_) {
            if (line_.Waiting() == 0) return true;
            rxWaiting_ = true;
            rxAt_ = std::max(rxAt_, now) + byteTime_;
        }
        if (paced && now < rxAt_) return true;
        const SerialLine::Input input = line_.Read(paced ? 1 : 512);
        if (input.failed) return false;
        if (input.flushed) {
            DropFlushed();
            continue;
        }
        if (input.bytes.empty()) {
            rxWaiting_ = false;
            return true;
        }
        for (const char c : input.bytes) Take(static_cast<std::uint8_t>(c));
        // A byte already waiting follows the one before it without a gap.
        rxWaiting_ = paced && line_.Waiting() > 0;
        if (rxWaiting_) rxAt_ += byteTime_;
    }
}

void Simulator::DropFlushed() {
    std::size_t dropped = 0;
    // Bounded: a terminal that kept reporting bytes it does not give would hold us here.
    for (int reads = 0; reads < 1000 && line_.Waiting() > 0; ++reads) {
        const SerialLine::Input input = line_.Read(4096);
        if (input.failed) break;
        dropped += input.bytes.size();
    }
    rxWaiting_ = false;
    Log("the program flushed its output; " + std::to_string(dropped) + " bytes never crossed the line");
}

void Simulator::WriteDue() {
    while (!pending_.empty()) {
        const Steady::time_point now = Steady::now();
        if (options_.delayBefore == written_ + 1 && !delayed_) {
            delayed_ = true;
            txAt_ = std::max(txAt_, now) + std::chrono::milliseconds(options_.delayMs);
        }
        if (now < txAt_) return;
        std::size_t count = 1;
        if (byteTime_ == std::chrono::nanoseconds{0}) {
            count = pending_.size();
            if (!delayed_ && options_.delayBefore > written_ + 1)
                count = std::min(count, options_.delayBefore - written_ - 1); // up to the held byte
        }
        const ssize_t n = write(line_.Fd(), pending_.data(), count);
        if (n <= 0) return;
        pending_.erase(0, static_cast<std::size_t>(n));
        written_ += static_cast<std::size_t>(n);
        lastByte_ = now;
        txAt_ += byteTime_;
    }
}

void Simulator::HangUp() {
    connected_ = false;
    Log("the program closed the line");
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
