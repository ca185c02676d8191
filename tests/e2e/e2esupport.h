#pragma once
// End-to-end harness: a plumet-clocksim process on a pseudo-terminal, and plumet-cli runs
// against a program folder.
#include <QMap>
#include <QProcess>
#include <csignal>
#include <memory>

#include "core/clock/clockstate.h"
#include "programfolder.h"

namespace plumet::e2e {

class SimulatedClock {
public:
    // A blank clock, or one holding `state`, in a folder of its own; or the clock-state.txt
    // that `workDir` holds.
    explicit SimulatedClock(const QStringList& extraArgs = {}) { Start(ownDir_.path(), extraArgs); }
    explicit SimulatedClock(const ClockState& state, const QStringList& extraArgs = {});
    SimulatedClock(const QString& workDir, const QStringList& extraArgs) { Start(workDir, extraArgs); }
    ~SimulatedClock() { Stop(); }

    // The pseudo-terminal a program opens; a warning when there is none.
    QString Device() const { return device_; }
    // The clock's state file, as the simulator saved it last.
    QByteArray State() const { return ReadFile(statePath_); }
    // What the simulator wrote on standard error (with --verbose: the byte trace).
    QByteArray Log() const { return ReadFile(logPath_); }
    // With --verbose: the bytes that have crossed the line to the clock.
    int ReceivedBytes() const { return static_cast<int>(("\n" + Log()).count("\nPC ")); }
    // SIGTERM, and waits for it.
    void Stop();
    // Ends it at once (SIGKILL), as a clock whose adapter is pulled out: its line hangs up.
    void Kill();
    // Halts it, so it reads and answers nothing, as a clock that hangs; Thaw lets it go on.
    void Freeze() { Signal(SIGSTOP); }
    void Thaw() { Signal(SIGCONT); }
    // Makes the clock print its print-out, as its print key does.
    void RequestPrintOut() { Signal(SIGUSR1); }

private:
    void Start(const QString& workDir, const QStringList& extraArgs);
    void Signal(int signal);

    QTemporaryDir ownDir_;
    std::unique_ptr<QProcess> process_ = std::make_unique<QProcess>();
    QString device_, statePath_, logPath_;
};

struct CliRun {
    int exitCode = -1;
    QByteArray out, err;
    QString Err() const { return QString::fromUtf8(err).trimmed(); }
    // What the user is told: the exit status, then the line printed (and on success whatever
    // went to standard error, where progress goes only on a terminal).
    QString Told() const;
};

// Runs plumet-cli with `args` (after --folder FOLDER) and waits at most `timeoutMs`; in the
// working directory `workDir` when one is given.
CliRun RunCli(const QString& folder, const QStringList& args, int timeoutMs = 60000, const QString& workDir = {});

// plumet-demo-folder on `folder`, its clock on FOLDER/clock-line and the English catalogue
// unless `options` name another; answers what it printed, empty when it failed.
QByteArray RunDemoTool(const QString& folder, const QStringList& options = {});

// An arrival of the ring (a pigeon of its own unless given) at release point `point`.
ArrivalRecord Arrival(int point, int day, int hour, int minute, int second = 27, const RingRecord* ring = nullptr);

// Every file under `folder` with its content (links are not followed: one may lead to a clock).
QMap<QString, QByteArray> Contents(const QString& folder);

// plumet-cli with its standard error on a pseudo-terminal, as a user at a terminal runs it.
class TerminalCli {
public:
    TerminalCli(const QString& folder, const QStringList& args);
    ~TerminalCli();
    // Reads what the program wrote until `text` shows up (at most 30 s).
    bool WaitFor(const QByteArray& text);
    void Interrupt() { ::kill(static_cast<pid_t>(process_.processId()), SIGINT); }
    // Exit code, or -1 when it did not end normally.
    int Finish();
    const QByteArray& Screen() const { return screen_; }
    QByteArray Out() { return process_.readAllStandardOutput(); }

private:
    // The terminal must be read all along, or a long progress would block the program.
    const QByteArray& Drain();

    QProcess process_;
    int master_ = -1;
    QByteArray screen_;
};

} // namespace plumet::e2e
