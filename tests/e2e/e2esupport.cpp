#include "e2esupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QThread>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace plumet::e2e {

SimulatedClock::SimulatedClock(const ClockState& state, const QStringList& extraArgs) {
    SaveClockState(QDir(ownDir_.path()).filePath("clock-state.txt").toStdString(), state);
    Start(ownDir_.path(), extraArgs);
}

void SimulatedClock::Start(const QString& workDir, const QStringList& extraArgs) {
    statePath_ = QDir(workDir).filePath("clock-state.txt");
    // Into a file: a pipe nobody reads in time would halt the simulator in mid-trace.
    logPath_ = QDir(workDir).filePath("clocksim.log");
    process_->setStandardErrorFile(logPath_);
    process_->start(PLUMET_CLOCKSIM, QStringList{"--state", statePath_} + extraArgs);
    if (!process_->waitForStarted(10000)) return qWarning("plumet-clocksim did not start");
    // The first line on standard output names the device.
    while (!process_->canReadLine() && process_->state() == QProcess::Running) process_->waitForReadyRead(100);
    device_ = QString::fromLocal8Bit(process_->readLine()).trimmed();
    if (device_.isEmpty()) qWarning("plumet-clocksim named no device: %s", Log().constData());
}

void SimulatedClock::Kill() {
    if (process_->state() == QProcess::NotRunning) return;
    process_->kill();
    process_->waitForFinished(5000);
}

void SimulatedClock::Signal(int signal) {
    if (process_->state() != QProcess::NotRunning) ::kill(static_cast<pid_t>(process_->processId()), signal);
}

void SimulatedClock::Stop() {
    if (process_->state() == QProcess::NotRunning) return;
    Thaw(); // a halted process would not see the SIGTERM
    Signal(SIGTERM);
    if (!process_->waitForFinished(5000)) {
        process_->kill();
        process_->waitForFinished(2000);
    }
}

QString CliRun::Told() const {
    QString told = QString::number(exitCode) + " " + QString::fromUtf8(exitCode == 0 ? out : err).trimmed();
    return exitCode == 0 && !err.isEmpty() ? told + " / " + QString::fromUtf8(err) : told;
}

CliRun RunCli(const QString& folder, const QStringList& args, int timeoutMs, const QString& workDir) {
    QProcess cli;
    if (!workDir.isEmpty()) cli.setWorkingDirectory(workDir);
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

QByteArray RunDemoTool(const QString& folder, const QStringList& options) {
    QProcess tool;
    tool.start(PLUMET_DEMO_FOLDER_TOOL, QStringList{"--port", QDir(folder).filePath("clock-line"), "--catalogue",
                                                    PLUMET_TEST_DATA "/../../data/club.txt"} + options + QStringList{folder});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) return {};
    return tool.readAllStandardOutput();
}

ArrivalRecord Arrival(int point, int day, int hour, int minute, int second, const RingRecord* ring) {
    static const RingRecord kRing = *PigeonsConvert({"M", "F", "U"}).EncodeRing("DV    20050815 1234567M1300000000BLAU01");
    ArrivalRecord a{};
    std::copy_n((ring ? *ring : kRing).begin(), kRing.size(), a.begin());
    const int fields[] = {point, day, hour, minute, second};
    for (int i = 0; i < 5; ++i) a[16 + i] = static_cast<std::uint8_t>(fields[i]);
    return a;
}

QMap<QString, QByteArray> Contents(const QString& folder) {
    QMap<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next();
        files[file] = ReadFile(file);
    }
    return files;
}

TerminalCli::TerminalCli(const QString& folder, const QStringList& args) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    process_.setStandardErrorFile(QString::fromLocal8Bit(::ptsname(master_)));
    process_.start(PLUMET_CLI, QStringList{"--folder", folder} + args);
    process_.waitForStarted(10000);
}

TerminalCli::~TerminalCli() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    if (master_ >= 0) ::close(master_);
}

bool TerminalCli::WaitFor(const QByteArray& text) {
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired(); QThread::msleep(5)) {
        Drain();
        if (screen_.contains(text)) return true;
    }
    return false;
}

int TerminalCli::Finish() {
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired() && !process_.waitForFinished(5);) Drain();
    Drain();
    return process_.state() == QProcess::NotRunning && process_.exitStatus() == QProcess::NormalExit
               ? process_.exitCode()
               : -1;
}

void TerminalCli::Drain() {
    char buffer[4096];
    for (ssize_t n; (n = ::read(master_, buffer, sizeof buffer)) > 0;) screen_.append(buffer, n);
}

} // namespace plumet::e2e
