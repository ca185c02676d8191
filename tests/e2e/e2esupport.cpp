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
    process_->kill();
    process_->waitForFinished(5000);
}

void SimulatedClock::Signal(int signal) {
    if (process_->state() != QProcess::NotRunning) ::kill(static_cast<pid_t>(process_->processId()), signal);
}

void SimulatedClock::Stop() {
    Thaw(); // a halted process would not see the SIGTERM
    Signal(SIGTERM);
    if (!process_->waitForFinished(5000)) Kill();
}

QString CliRun::Told() const {
    QString told = QString::number(exitCode) + " " + QString::fromUtf8(exitCode == 0 ? out : err).trimmed();
    return exitCode == 0 && !err.isEmpty() ? told + " / " + QString::fromUtf8(err) : told;
}

CliRun RunCli(const QString& folder, const QStringList& args, int timeoutMs, const QString& workDir) {
    QProcess cli;
    if (!workDir.isEmpty()) cli.setWorkingDirectory(workDir);
    cli.start(PLUMET_CLI, QStringList{"--folder", folder} + args);
    if (cli.waitForFinished(timeoutMs))
        return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, cli.readAllStandardOutput(),
                cli.readAllStandardError()};
    cli.kill();
    cli.waitForFinished(2000);
    return {-1, {}, "plumet-cli did not finish in time"};
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
    const auto filter = QDir::Files | QDir::Hidden | QDir::NoSymLinks;
    for (QDirIterator it(folder, filter, QDirIterator::Subdirectories); it.hasNext();) {
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
    process_.kill();
    process_.waitForFinished(5000);
    if (master_ >= 0) ::close(master_);
}

bool TerminalCli::WaitFor(const QByteArray& text) {
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired(); QThread::msleep(5))
        if (Drain().contains(text)) return true;
    return false;
}

int TerminalCli::Finish() {
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired() && !process_.waitForFinished(5);) Drain();
    Drain();
    const bool ended = process_.state() == QProcess::NotRunning && process_.exitStatus() == QProcess::NormalExit;
    return ended ? process_.exitCode() : -1;
}

const QByteArray& TerminalCli::Drain() {
    char buffer[4096];
    for (ssize_t n; (n = ::read(master_, buffer, sizeof buffer)) > 0;) screen_.append(buffer, n);
    return screen_;
}

} // namespace plumet::e2e
