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
    QByteArray Log();
    // Stops the simulator (SIGTERM) and waits for it.
    void Stop();
    // Halts the simulator (SIGSTOP) so it reads nothing and answers nothing, as a clock that
    // hangs; Thaw lets it go on.
    void Freeze();
    void Thaw();

private:
    std::unique_ptr<QProcess> process_;
    QString device_;
    QString statePath_;
    QByteArray log_;
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

// Runs plumet-cli with `args` (after --folder FOLDER) and waits at most `timeoutMs`.
CliRun RunCli(const QString& folder, const QStringList& args, int timeoutMs = 60000);

} // namespace plumet::e2e
