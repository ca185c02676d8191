// plumet-cli send-loft, get-loft and send-points against the simulated clock on a pseudo-terminal.
#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "e2esupport.h"
#include "loftfolder.h"
#include "uitestsupport.h"

using namespace plumet::e2e;
using plumet::ui::test::Shipped;

namespace {

// plumet-cli with its standard error on a pseudo-terminal, as a user at a terminal runs it.
class TerminalCli {
public:
    TerminalCli(const QString& folder, const QStringList& args) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        process_.setStandardErrorFile(QString::fromLocal8Bit(::ptsname(master_)));
        process_.start(PLUMET_CLI, QStringList{"--folder", folder} + args);
        process_.waitForStarted(10000);
    }
    ~TerminalCli() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
        if (master_ >= 0) ::close(master_);
    }

    // Reads what the program wrote until `text` shows up.
    bool WaitFor(const QByteArray& text) {
        for (QDeadlineTimer deadline(30000); !deadline.hasExpired(); QThread::msleep(5)) {
            Drain();
            if (screen_.contains(text)) return true;
        }
        return false;
    }
    void Interrupt() { ::kill(static_cast<pid_t>(process_.processId()), SIGINT); }
    // Exit code, or -1 when it did not end normally.
    int Finish() {
        for (QDeadlineTimer deadline(30000); !deadline.hasExpired() && !process_.waitForFinished(5);) Drain();
        Drain();
        return process_.state() == QProcess::NotRunning && process_.exitStatus() == QProcess::NormalExit
                   ? process_.exitCode()
                   : -1;
    }
    const QByteArray& Screen() const { return screen_; }
    QByteArray Out() { return process_.readAllStandardOutput(); }

private:
    // The terminal must be read all along, or a long progress would block the program.
    void Drain() {
        char buffer[4096];
        for (ssize_t n; (n = ::read(master_, buffer, sizeof buffer)) > 0;) screen_.append(buffer, n);
    }

    QProcess process_;
    int master_ = -1;
    QByteArray screen_;
};

QByteArray Line(const char* key) { return Shipped(key).toUtf8() + "\n"; }

} // namespace

class LoftCliTest : public QObject {
    Q_OBJECT

private slots:
    void loftsOfNoneThreeAndAThousandPigeonsComeBackIdentical() {
        for (const int n : {0, 3, 1000}) {
            QTemporaryDir folder;
            QTemporaryDir clockDir;
            SimulatedClock clock(clockDir.path());
            QVERIFY(clock.Started());
            WriteLoftFolder(folder.path(), clock.Device(), n);
            const QString file = folder.filePath("pigeon/p007012.dat");
            const QByteArray original = ReadFile(file);

            const CliRun sent = RunCli(folder.path(), {"send-loft", "7", "012"});
            QCOMPARE(sent.exitCode, 0);
            QCOMPARE(sent.out, Line("frmLoftSend.txtCommunicationOk"));
            QCOMPARE(sent.err, QByteArray()); // no progress: standard error is not a terminal
            QCOMPARE(clock.State().count("\npigeon "), n);

            WriteFile(file, PigeonFileBytes(n == 0 ? 2 : 0));
            const CliRun read = RunCli(folder.path(), {"get-loft"});
            QCOMPARE(read.exitCode, 0);
            QCOMPARE(read.out, Line("frmLoftGet.txtCommunicationOk"));
            QCOMPARE(ReadFile(file), original);
        }
    }

    void everyRefusedReadBackLeavesTheFilesAlone() {
        struct Case {
            const char* name;
            int region, federation, club, fancier, pigeons;
            QStringList simulatorArgs;
            const char* key;
        };
        const int end = 1 + 4 + 2 + 3 * 20 + 1; // bytes the clock sends for 3 pigeons
        const Case cases[] = {
            {"region", 13, 5, 7, 12, 3, {}, "frmLoftGet.MsgBoxText4"},
            {"federation", 12, 6, 7, 12, 3, {}, "frmLoftGet.MsgBoxText5"},
            {"club", 12, 5, 8, 12, 3, {}, "frmLoftGet.MsgBoxText6"},
            {"fancier", 12, 5, 7, 13, 3, {}, "frmLoftGet.MsgBoxText7"},
            {"no acknowledgement", 12, 5, 7, 12, 3, {"--corrupt-at", "1"}, "frmLoftGet.MsgBoxText3"},
            {"wrong end mark", 12, 5, 7, 12, 3, {"--corrupt-at", QString::number(end)}, "frmLoftGet.txtCommunicationError"},
            {"missing end mark", 12, 5, 7, 12, 3, {"--silent-after", QString::number(end - 1)},
             "frmLoftGet.txtCommunicationError"},
            {"timeout mid-record", 12, 5, 7, 12, 3, {"--silent-after", QString::number(1 + 4 + 2 + 20 + 9)},
             "frmLoftGet.txtCommunicationError"},
            {"more than 1000 pigeons", 12, 5, 7, 12, 1001, {}, "frmLoftGet.txtCommunicationError"},
        };
        for (const Case& c : cases) {
            QTemporaryDir folder;
            QTemporaryDir clockDir;
            WriteClockLoft(clockDir.path(), c.region, c.federation, c.club, c.fancier, c.pigeons);
            SimulatedClock clock(clockDir.path(), {}, c.simulatorArgs);
            QVERIFY(clock.Started());
            WriteLoftFolder(folder.path(), clock.Device(), 2);
            const QByteArray before = ReadFile(folder.filePath("pigeon/p007012.dat"));

            const CliRun run = RunCli(folder.path(), {"get-loft"});
            QVERIFY2(run.exitCode == 1, c.name);
            QVERIFY2(run.err == Line(c.key), c.name);
            QVERIFY2(run.out.isEmpty(), c.name);
            QVERIFY2(ReadFile(folder.filePath("pigeon/p007012.dat")) == before, c.name);
            QVERIFY2(QDir(folder.filePath("pigeon")).entryList(QDir::Files).size() == 1, c.name);
        }
    }

    void aLoftTheClockCannotTakeIsNotSent() {
        QTemporaryDir folder;
        QTemporaryDir clockDir;
        WriteClockLoft(clockDir.path(), 12, 5, 7, 12, 3);
        SimulatedClock clock(clockDir.path(), {}, {"--verbose"});
        QVERIFY(clock.Started());
        WriteLoftFolder(folder.path(), clock.Device(), 3);
        WriteFile(folder.filePath("fancier/f300.DAT"), " 1 \r\n012Weit Weg" + QByteArray(62, ' ') + "\r\n");
        WriteFile(folder.filePath("pigeon/p300012.dat"), PigeonFileBytes(1));
        QByteArray badChip = PigeonFileBytes(2);
        badChip.replace(badChip.indexOf("DV", 10) + 23, 1, " "); // a blank in the second chip code
        const QByteArray state = clock.State();

        CliRun run = RunCli(folder.path(), {"send-loft", "300", "12"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, Line("frmLoftSend.txtCommunicationError"));
        WriteFile(folder.filePath("pigeon/p007012.dat"), badChip);
        run = RunCli(folder.path(), {"send-loft", "7", "12"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, Line("frmLoftSend.txtCommunicationError"));
        run = RunCli(folder.path(), {"send-loft", "7", "99"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("not in the fancier register"));
        run = RunCli(folder.path(), {"--port", "/dev/no-such-port", "send-loft", "7", "12"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, Line("frmLoftSend.MsgBoxText1"));

        QVERIFY(!clock.Log().contains("PC "));
        QCOMPARE(clock.State(), state);
    }

    void releasePointsGoAsOne1290ByteMessage() {
        QTemporaryDir folder;
        QTemporaryDir clockDir;
        SimulatedClock clock(clockDir.path(), {}, {"--verbose"});
        QVERIFY(clock.Started());
        WriteLoftFolder(folder.path(), clock.Device(), 0);
        QByteArray points = " 98 \r\n";
        for (int n = 1; n <= 98; ++n) {
            const QByteArray record = QByteArray::number(n).rightJustified(2, '0') + "POINT>" + QByteArray::number(n);
            points += record.leftJustified(64, ' ') + "\r\n";
        }
        WriteFile(folder.filePath("racepo/racepo.dat"), points);

        const CliRun run = RunCli(folder.path(), {"send-points"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, Line("frmRacePointsSend.txtCommunicationOk"));
        clock.Stop();
        QCOMPARE(clock.Log().count("\nPC "), 1290);
        const QByteArray state = clock.State();
        QVERIFY(state.contains("\r\npoint 0              \r\n"));
        QVERIFY(state.contains("\r\npoint 98 POINT>98     \r\n"));
        QVERIFY(!state.contains("point 99"));
    }

    void interruptCancelsEachTransferAndProgressShowsOnATerminal() {
        QTemporaryDir folder;
        {
            QTemporaryDir clockDir;
            WriteClockLoft(clockDir.path(), 12, 5, 7, 12, 3);
            SimulatedClock clock(clockDir.path());
            WriteLoftFolder(folder.path(), clock.Device(), 1000);
            const QByteArray state = clock.State();
            clock.Freeze(); // the line fills up and the send waits, as with a clock that hangs
            TerminalCli cli(folder.path(), {"send-loft", "7", "12"});
            QVERIFY(cli.WaitFor("/1000"));
            QVERIFY(cli.Screen().contains(Shipped("frmLoftSend.txtPigeonLoad").toUtf8()));
            cli.Interrupt();
            QCOMPARE(cli.Finish(), 1);
            QVERIFY(cli.Screen().contains("The transfer was cancelled."));
            clock.Thaw();
            QCOMPARE(clock.State(), state);
        }
        {
            QTemporaryDir clockDir;
            WriteClockLoft(clockDir.path(), 12, 5, 7, 12, 3);
            SimulatedClock clock(clockDir.path(), {}, {"--silent-after", QString::number(1 + 4 + 2 + 40 + 5)});
            WriteLoftFolder(folder.path(), clock.Device(), 1);
            const QByteArray before = ReadFile(folder.filePath("pigeon/p007012.dat"));
            TerminalCli cli(folder.path(), {"get-loft"});
            QVERIFY(cli.WaitFor("2/3"));
            cli.Interrupt();
            QCOMPARE(cli.Finish(), 1);
            QVERIFY(cli.Screen().contains("The transfer was cancelled."));
            QCOMPARE(ReadFile(folder.filePath("pigeon/p007012.dat")), before);
        }
        {
            QTemporaryDir clockDir;
            SimulatedClock clock(clockDir.path());
            WriteLoftFolder(folder.path(), clock.Device(), 0);
            const QByteArray state = clock.State();
            clock.Freeze();
            TerminalCli cli(folder.path(), {"send-points"});
            QVERIFY(cli.WaitFor("98/98"));
            cli.Interrupt();
            QCOMPARE(cli.Finish(), 1);
            QVERIFY(cli.Screen().contains("The transfer was cancelled."));
            QVERIFY(cli.Out().isEmpty());
            clock.Thaw();
        }
    }
};

QTEST_GUILESS_MAIN(LoftCliTest)
#include "loftcli_test.moc"
