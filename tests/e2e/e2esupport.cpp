#include "e2esupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace plumet::e2e {

SimulatedClock::SimulatedClock(const QString& workDir, const QString& stateFile, const QStringList& extraArgs)
    : process_(std::make_unique<QProcess>()) {
    statePath_ = QDir(workDir).filePath("clock-state.txt");
    if (!stateFile.isEmpty() && !QFile::exists(statePath_)) QFile::copy(stateFile, statePath_);
    QStringList args{"--state", statePath_};
    args << extraArgs;
    process_->start(PLUMET_CLOCKSIM, args);
    if (!process_->waitForStarted(10000)) return;
    // The first line on standard output names the device.
    while (!process_->canReadLine() && process_->state() == QProcess::Running) process_->waitForReadyRead(100);
    device_ = QString::fromLocal8Bit(process_->readLine()).trimmed();
}

SimulatedClock::~SimulatedClock() { Stop(); }

QByteArray SimulatedClock::State() const {
    QFile file(statePath_);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray SimulatedClock::Log() {
    log_ += process_->readAllStandardError();
    return log_;
}

void SimulatedClock::Freeze() {
    if (process_->state() != QProcess::NotRunning) ::kill(static_cast<pid_t>(process_->processId()), SIGSTOP);
}

void SimulatedClock::Thaw() {
    if (process_->state() != QProcess::NotRunning) ::kill(static_cast<pid_t>(process_->processId()), SIGCONT);
}

void SimulatedClock::Stop() {
    if (process_->state() == QProcess::NotRunning) return;
    Thaw(); // a halted process would not see the SIGTERM
    ::kill(static_cast<pid_t>(process_->processId()), SIGTERM);
    if (!process_->waitForFinished(5000)) {
        process_->kill();
        process_->waitForFinished(2000);
    }
    log_ += process_->readAllStandardError();
}

PseudoTerminal::PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
        path_ = QString::fromLocal8Bit(::ptsname(master_));
}

PseudoTerminal::~PseudoTerminal() {
    if (master_ >= 0) ::close(master_);
}

CliRun RunCli(const QString& folder, const QStringList& args, int timeoutMs) {
    QProcess cli;
    cli.start(PLUMET_CLI, QStringList{"--folder", folder} + args);
    CliRun run;
    if (!cli.waitForFinished(timeoutMs)) {
        cli.kill();
        cli.waitForFinished(2000);
        run.err = "plumet-cli did not finish in time";
        return run;
    }
    run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    run.out = cli.readAllStandardOutput();
    run.err = cli.readAllStandardError();
    return run;
}

} // namespace plumet::e2e
