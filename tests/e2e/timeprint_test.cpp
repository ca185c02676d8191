// The time transmitter, the print relays and the terminal program load against the clock
// simulator on a pseudo-terminal: plumet-cli and the dialogs with the real serial link.
#include <QPlainTextEdit>

#include "e2esupport.h"
#include "ui/clock/printrelaydialog.h"

using namespace plumet::e2e;

namespace {

const std::vector<std::string> kPrintLines = {"ARRIVAL LIST", "001 NL-05-1234567 09:05:07", "", "END"};

// A clock whose print-out is kPrintLines, printed whenever a program opens the line.
std::unique_ptr<SimulatedClock> PrintingClock() {
    ClockState state;
    state.printout = kPrintLines;
    return std::make_unique<SimulatedClock>(state, QStringList{"--print-on-connect"});
}

QByteArray Joined(const char* lineEnd) {
    QByteArray text;
    for (const std::string& line : kPrintLines) text += QByteArray::fromStdString(line) + lineEnd;
    return text;
}

// Whether the process has the device open (it is then past its start and asking the clock).
bool HasOpen(qint64 pid, const QString& device) {
    const QDir fds(QString("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == device) return true;
    return false;
}

} // namespace

class TimePrintTest : public QObject {
    Q_OBJECT

private slots:
    void printRelayToFileAndToStandardOutput() {
        QTemporaryDir dir;
        for (const bool file : {true, false}) {
            auto clock = PrintingClock();
            const CliRun run =
                RunCli(dir.path(), {"--port", clock->Device(), "print-relay", file ? "file" : "screen", "--idle-exit", "1"});
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(run.out, file ? QByteArray() : Joined("\n"));
            QCOMPARE(ReadFile(dir.filePath("PRINT.TXT")), Joined("\r\n")); // the screen leaves it alone
        }
    }

    void theScreenRelayWindowShowsThePrintOut() {
        auto clock = PrintingClock();
        ProgramFolder folder;
        App().settings.comPort = clock->Device().toStdString();
        PrintRelayDialog dialog(nullptr, PrintTarget::Screen);
        dialog.show();
        QVERIFY(dialog.PortOpen());
        QTRY_COMPARE(dialog.findChild<QPlainTextEdit*>("Text1")->toPlainText(), QString::fromLatin1(Joined("\n")));
        dialog.findChild<QPushButton*>("Command1")->click();
        QVERIFY(!dialog.isVisible());
    }

    // trint12.exe: keyed hex records, 0A 0B at 0200, then the end record.
    void hexUploadOnceTheLoaderAnswersOrCancelDuringTheHandshake() {
        for (const bool cancel : {false, true}) {
            ProgramFolder dir;
            dir.Copy("e2e/trint12.exe", "tools/trint12.exe");
            SimulatedClock clock({"--verbose"});
            clock.Freeze(); // asleep through the first asks
            QProcess cli;
            cli.start(PLUMET_CLI, {"--folder", dir.Path(), "--port", clock.Device(), "load-firmware", "12"});
            QVERIFY(cli.waitForStarted());
            QTRY_VERIFY(HasOpen(cli.processId(), clock.Device()));
            QTest::qWait(1200); // long enough for a few asks
            QCOMPARE(cli.state(), QProcess::Running); // still asking
            if (cancel) ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
            else clock.Thaw();
            QVERIFY(cli.waitForFinished(30000));
            QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
            QCOMPARE(cli.exitCode(), cancel ? 1 : 0);
            clock.Thaw();
            QTRY_VERIFY(clock.Log().count("PC    08") >= 2);
            if (cancel) { // the clock finds only the asks in the line, and nothing is loaded
                QVERIFY(cli.readAllStandardError().contains("Cancelled"));
                clock.Stop();
                QVERIFY(!clock.Log().contains("PC    3A") && !clock.State().contains("firmware"));
            } else {
                QTRY_VERIFY(clock.State().contains("firmware hex complete 3 0"));
                QTRY_VERIFY(clock.Log().contains("firmware upload ended")); // the trace has come in
                QCOMPARE(clock.Log().count("PC    3A ':'"), 3);
            }
        }
    }

    // trint33.exe: 01 02 03 04 FF.
    void rawUploadAfterAGarbledEcho() {
        ProgramFolder dir;
        dir.Copy("e2e/trint33.exe", "tools/trint33.exe");
        SimulatedClock clock({"--verbose", "--corrupt-at", "1"});
        QCOMPARE(RunCli(dir.Path(), {"--port", clock.Device(), "load-firmware", "33"}).exitCode, 0);
        QTRY_VERIFY(clock.State().contains("firmware raw complete"));
        QTRY_VERIFY(clock.Log().contains("firmware upload ended"));
        const QByteArray log = clock.Log();
        QCOMPARE(log.count("PC    08"), 2);
        QCOMPARE(log.count("CLOCK F7"), 1);
        // Header, all image bytes but the last, then the zero: FF never goes out.
        QVERIFY(log.contains("PC    04\nPC    00"));
        QCOMPARE(log.count("PC    FF"), 0);
    }

    void sendTimeWithoutModemLinesSendsNothingAndAMissingPortIsTold() {
        ProgramFolder dir;
        SimulatedClock clock({"--verbose", "--line-speed", "port"});
        QCOMPARE(RunCli(dir.Path(), {"--port", clock.Device(), "send-time", "--seconds", "1"}).exitCode, 0);
        clock.Stop(); // all its trace in
        QVERIFY(!clock.Log().contains("PC ")); // a pseudo-terminal has no modem lines: the clock never listens
        QVERIFY(clock.Log().contains("the line runs at 300,n,8,2")); // the simulated line follows the port
        const CliRun noPort = RunCli(dir.Path(), {"--port", dir.File("no-such-device"), "send-time", "--seconds", "1"});
        QCOMPARE(noPort.Told(), "1 " + Shipped("frmSendTime.MsgBoxText1"));
    }
};

QTEST_MAIN(TimePrintTest)
#include "timeprint_test.moc"
