#pragma once
// End-to-end harness: a plumet-clocksim process on a pseudo-terminal, and plumet-cli runs
// against a program folder.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

namespace plumet::e2e {

class SimulatedClock {
public:
    // Starts the simulator with the given state file (copied from `stateFile` into `workDir`
    // when it is not there yet; empty for a blank clock) and further options.
    SimulatedClock(const QString& workDir, const QString& stateFile = {}, const QStringList& extraArgs = {});
    ~SimulatedClock();
    SimulatedClock(const SimulatedClock&) = delete;
    SimulatedClock& operator=(const SimulatedClock&) = delete;

    bool Started() const { return !device_.isEmpty(); }
    // The pseudo-terminal a program opens.
    QString Device() const { return device_; }
    // The clock's state file, as the simulator saved it last.
    QString StatePath() const { return statePath_; }
    QByteArray State() const;
    // What the simulator wrote on standard error (with --verbose: the byte trace).
    QByteArray Log() const;
    // With --verbose: the bytes that have crossed the line to the clock.
    int ReceivedBytes() const;
    // Stops the simulator (SIGTERM) and waits for it.
    void Stop();
    // Ends it at once (SIGKILL), as a clock whose adapter is pulled out: its line hangs up.
    void Kill();
    // Halts the simulator (SIGSTOP) so it reads nothing and answers nothing, as a clock that
    // hangs; Thaw lets it go on.
    void Freeze();
    void Thaw();
    // Makes the clock print its print-out (SIGUSR1), as its print key does.
    void RequestPrintOut();

private:
    std::unique_ptr<QProcess> process_;
    QString device_;
    QString statePath_;
    QString logPath_;
};

// A pseudo-terminal nobody answers on: a port that opens but stays silent.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    QString DevicePath() const { return path_; }

private:
    int master_ = -1;
    QString path_;
};

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs plumet-cli with `args` (after --folder FOLDER) and waits at most `timeoutMs`; in the
// working directory `workDir` when one is given.
CliRun RunCli(const QString& folder, const QStringList& args, int timeoutMs = 60000, const QString& workDir = {});

// plumet-cli with its standard error on a pseudo-terminal, as a user at a terminal runs it.
class TerminalCli {
public:
    TerminalCli(const QString& folder, const QStringList& args);
    ~TerminalCli();
    TerminalCli(const TerminalCli&) = delete;
    TerminalCli& operator=(const TerminalCli&) = delete;

    // Reads what the program wrote until `text` shows up (at most 30 s).
    bool WaitFor(const QByteArray& text);
    void Interrupt();
    // Exit code, or -1 when it did not end normally.
    int Finish();
    const QByteArray& Screen() const { return screen_; }
    QByteArray Out() { return process_.readAllStandardOutput(); }

private:
    // The terminal must be read all along, or a long progress would block the program.
    void Drain();

    QProcess process_;
    int master_ = -1;
    QByteArray screen_;
};

} // namespace plumet::e2e
