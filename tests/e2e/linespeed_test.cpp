// The clock transfers against a simulated clock that reads and answers no faster than a
// 9600-baud line, as a real clock does. What the clock received is counted in bytes, never
// timed, so a busy machine cannot change the verdict.
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "common/appcontext.h"
#include "core/app/options.h"
#include "core/clock/clockstate.h"
#include "e2esupport.h"
#include "loftfolder.h"
#include "ui/app/mainwindow.h"
#include "ui/clock/loftgetdialog.h"
#include "ui/clock/loftsenddialog.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::e2e;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

const QStringList kLine{"--line-speed", "9600", "--verbose"};

// The loft folder's fancier 007/012 in the clock, with `arrivals` arrivals from point 7.
void WriteClockWithArrivals(const QString& dir, int arrivals) {
    WriteClockLoft(dir, 12, 5, 7, 12, 0);
    const std::string path = QDir(dir).filePath("clock-state.txt").toStdString();
    ClockState state = LoadClockState(path).state;
    state.basketing = {2, 6, 7, 30, 0};
    const RingRecord ring = *PigeonsConvert({"M", "F", "U"}).EncodeRing("DV    20050815 1234567M1300000000BLAU01");
    for (int i = 0; i < arrivals; ++i) {
        ArrivalRecord a{};
        std::copy(ring.begin(), ring.end(), a.begin());
        a[16] = 7, a[17] = 2, a[18] = 14, a[19] = static_cast<std::uint8_t>(i % 60), a[20] = 27;
        state.arrivals.push_back(a);
    }
    SaveClockState(path, state);
}

QByteArray PointList() {
    QByteArray points = " 98 \r\n";
    for (int n = 1; n <= 98; ++n) {
        const QByteArray record = QByteArray::number(n).rightJustified(2, '0') + "POINT " + QByteArray::number(n);
        points += record.leftJustified(64, ' ') + "\r\n";
    }
    return points;
}

// plumet-cli's exit status and the line it printed.
QString Told(const CliRun& run) {
    return QString::number(run.exitCode) + " " + QString::fromUtf8(run.exitCode == 0 ? run.out : run.err).trimmed();
}

} // namespace

class LineSpeedTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolderFixture> fixture_;
    QString folder_;
    QString Path(const QString& relative) const { return QDir(folder_).filePath(relative); }
    QString PigeonFile() const { return Path("pigeon/p007012.dat"); }

private slots:
    void init() {
        fixture_ = std::make_unique<ProgramFolderFixture>();
        folder_ = fixture_->Path();
    }
    void cleanup() { fixture_.reset(); }

    void aLoftOf200PigeonsGoesInIsConfirmedAndComesBack() {
        QTemporaryDir clockDir;
        SimulatedClock clock(clockDir.path(), {}, kLine);
        WriteLoftFolder(folder_, clock.Device(), 200);
        const QByteArray loft = ReadFile(PigeonFile());
        QCOMPARE(Told(RunCli(folder_, {"send-loft", "7", "012"})), "0 " + Shipped("frmLoftSend.txtCommunicationOk"));
        QCOMPARE(clock.State().count("\npigeon "), 200);
        QCOMPARE(clock.ReceivedBytes(), 30 + 200 * 20 + 8);

        WriteFile(PigeonFile(), PigeonFileBytes(0));
        QCOMPARE(Told(RunCli(folder_, {"get-loft"})), "0 " + Shipped("frmLoftGet.txtCommunicationOk"));
        QCOMPARE(ReadFile(PigeonFile()), loft);
    }

    void aReadOutOf200ArrivalsIsStored() {
        QTemporaryDir clockDir;
        WriteClockWithArrivals(clockDir.path(), 200);
        SimulatedClock clock(clockDir.path(), {}, kLine);
        WriteLoftFolder(folder_, clock.Device(), 0);
        const CliRun run = RunCli(folder_, {"readout", "23", "00", "--date", "02.06.24"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(ReadFile(Path("race/W0120523.d00")).count("\r\n3007012"), 200);
    }

    void theReleasePointNamesAreConfirmed() {
        QTemporaryDir clockDir;
        SimulatedClock clock(clockDir.path(), {}, kLine);
        WriteLoftFolder(folder_, clock.Device(), 0);
        WriteFile(Path("racepo/racepo.dat"), PointList());
        QCOMPARE(Told(RunCli(folder_, {"send-points"})), "0 " + Shipped("frmRacePointsSend.txtCommunicationOk"));
        QVERIFY(clock.State().contains("\r\npoint 98 POINT 98     \r\n"));
    }

    void aFirmwareImageOf2000BytesIsLoaded() {
        QTemporaryDir clockDir;
        SimulatedClock clock(clockDir.path(), {}, kLine);
        QByteArray image(2000, '\0');
        for (int i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 7 + 1);
        WriteFile(Path("tools/trint21.exe"), image);
        const CliRun run = RunCli(folder_, {"--port", clock.Device(), "load-firmware", "21"});
        QCOMPARE(run.exitCode, 0);
        // Its last byte gives way to the loader's end mark.
        QTRY_VERIFY(clock.Log().contains("firmware upload ended: complete, 1999 bytes"));
    }

    // Once the program has ended, no byte of the loft crosses the line any more: a line still
    // fed from a queue would carry some 1900 bytes in the two seconds after.
    void anInterruptedSendStopsTheLine() {
        for (const bool cli : {true, false}) {
            QTemporaryDir clockDir;
            SimulatedClock clock(clockDir.path(), {}, kLine);
            WriteLoftFolder(folder_, clock.Device(), 1000);
            if (cli) {
                TerminalCli run(folder_, {"send-loft", "7", "012"});
                QVERIFY(run.WaitFor("40/1000"));
                run.Interrupt();
                QCOMPARE(run.Finish(), 1);
            } else {
                App().settings = ReadOptions(folder_.toStdString());
                const FixedPorts ports({});
                MainWindow main;
                main.StartupTimer()->stop();
                main.SelectedClubNumber = "007", main.SelectedFancierNumber = "012";
                TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(0); });
                LoftSendDialog dialog(&main);
                TransferDialog::SetTimingForTests(nullptr);
                dialog.show();
                auto* bar = dialog.findChild<QProgressBar*>("ProgressBar1");
                QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 40 && bar->maximum() == 1000, 30000);
                dialog.findChild<QPushButton*>("Command1")->click();
                QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 30000);
            }
            // The progress shown follows the line: what it showed has crossed it (less a margin
            // for a simulator that fell behind on a busy machine).
            const int received = clock.ReceivedBytes();
            QVERIFY(received >= 30 + 30 * 20);
            QTest::qWait(2000);
            QCOMPARE(clock.ReceivedBytes(), received);
            QCOMPARE(clock.State().count("\npigeon "), 0);
        }
    }

    // An adapter pulled out in mid-transfer: the transfer fails at once and writes nothing.
    void aPortThatVanishesEndsTheTransferWithItsError() {
        for (const bool send : {true, false}) {
            QTemporaryDir clockDir;
            if (!send) WriteClockLoft(clockDir.path(), 12, 5, 7, 12, 200);
            SimulatedClock clock(clockDir.path(), {}, kLine);
            WriteLoftFolder(folder_, clock.Device(), send ? 200 : 3);
            const QByteArray pigeons = ReadFile(PigeonFile());
            TerminalCli run(folder_, send ? QStringList{"send-loft", "7", "012"} : QStringList{"get-loft"});
            QVERIFY(run.WaitFor("20/"));
            clock.Kill();
            QCOMPARE(run.Finish(), 1);
            const QString form = send ? "frmLoftSend" : "frmLoftGet";
            QVERIFY(run.Screen().contains(Shipped(form + ".txtCommunicationError").toUtf8()));
            QCOMPARE(ReadFile(PigeonFile()), pigeons);
            QCOMPARE(QDir(Path("pigeon")).entryList(QDir::Files).size(), qsizetype(1));
        }
    }
};

QTEST_MAIN(LineSpeedTest)
#include "linespeed_test.moc"
