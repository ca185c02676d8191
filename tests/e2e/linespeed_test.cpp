// The clock transfers against a simulated clock that reads and answers no faster than a
// 9600-baud line, as a real clock does. What the clock received is counted in bytes, never
// timed, so a busy machine cannot change the verdict.

#include "e2esupport.h"
#include "ui/clock/loftsenddialog.h"

using namespace plumet::e2e;

namespace {

const QStringList kLine{"--line-speed", "9600", "--verbose"};

} // namespace

class LineSpeedTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> folder_;
    QString PigeonFile() const { return folder_->File("pigeon/p007012.dat"); }

private slots:
    void init() { folder_ = std::make_unique<ProgramFolder>("loft"); }
    void cleanup() { folder_.reset(); }

    void aLoftOf200PigeonsGoesInIsConfirmedAndComesBack() {
        SimulatedClock clock(kLine);
        folder_->Loft(clock.Device(), 200);
        const QByteArray loft = ReadFile(PigeonFile());
        QCOMPARE(RunCli(folder_->Path(), {"send-loft", "7", "012"}).Told(), "0 " + Shipped("frmLoftSend.txtCommunicationOk"));
        QCOMPARE(clock.State().count("\npigeon "), 200);
        QCOMPARE(clock.ReceivedBytes(), 30 + 200 * 20 + 8);

        WriteFile(PigeonFile(), PigeonFileBytes(0));
        QCOMPARE(RunCli(folder_->Path(), {"get-loft"}).Told(), "0 " + Shipped("frmLoftGet.txtCommunicationOk"));
        QCOMPARE(ReadFile(PigeonFile()), loft);
    }

    void aReadOutOf200ArrivalsIsStored() {
        ClockState state = LoftClock(12, 5, 7, 12, 0);
        state.basketing = {2, 6, 7, 30, 0};
        for (int i = 0; i < 200; ++i) state.arrivals.push_back(Arrival(7, 2, 14, i % 60));
        SimulatedClock clock(state, kLine);
        folder_->Loft(clock.Device(), 0);
        QCOMPARE(RunCli(folder_->Path(), {"readout", "23", "00", "--date", "02.06.24"}).exitCode, 0);
        QCOMPARE(folder_->Read("race/W0120523.d00").count("\r\n3007012"), 200);
    }

    void theReleasePointNamesAreConfirmed() {
        SimulatedClock clock(kLine);
        folder_->Loft(clock.Device(), 0);
        folder_->Copy("e2e/racepo98.dat", "racepo/racepo.dat");
        QCOMPARE(RunCli(folder_->Path(), {"send-points"}).Told(), "0 " + Shipped("frmRacePointsSend.txtCommunicationOk"));
        QVERIFY(clock.State().contains("\r\npoint 98 POINT>98     \r\n"));
    }

    void aFirmwareImageOf2000BytesIsLoaded() {
        SimulatedClock clock(kLine);
        folder_->Copy("e2e/trint21.exe", "tools/trint21.exe");
        QCOMPARE(RunCli(folder_->Path(), {"--port", clock.Device(), "load-firmware", "21"}).exitCode, 0);
        // Its last byte gives way to the loader's end mark.
        QTRY_VERIFY(clock.Log().contains("firmware upload ended: complete, 1999 bytes"));
    }

    // Once the program has ended, no byte of the loft crosses the line any more: a line still
    // fed from a queue would carry some 1900 bytes in the two seconds after.
    void anInterruptedSendStopsTheLine() {
        for (const bool cli : {true, false}) {
            SimulatedClock clock(kLine);
            folder_->Loft(clock.Device(), 1000);
            if (cli) {
                TerminalCli run(folder_->Path(), {"send-loft", "7", "012"});
                QVERIFY(run.WaitFor("40/1000"));
                run.Interrupt();
                QCOMPARE(run.Finish(), 1);
            } else {
                const FixedPorts ports({});
                IdleMainWindow main;
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
            SimulatedClock clock(send ? ClockState{} : LoftClock(12, 5, 7, 12, 200), kLine);
            folder_->Loft(clock.Device(), send ? 200 : 3);
            const QByteArray pigeons = ReadFile(PigeonFile());
            TerminalCli run(folder_->Path(), send ? QStringList{"send-loft", "7", "012"} : QStringList{"get-loft"});
            QVERIFY(run.WaitFor("20/"));
            clock.Kill();
            QCOMPARE(run.Finish(), 1);
            const QString form = send ? "frmLoftSend" : "frmLoftGet";
            QVERIFY(run.Screen().contains(Shipped(form + ".txtCommunicationError").toUtf8()));
            QCOMPARE(ReadFile(PigeonFile()), pigeons);
            QCOMPARE(QDir(folder_->File("pigeon")).entryList(QDir::Files).size(), qsizetype(1));
        }
    }
};

QTEST_MAIN(LineSpeedTest)
#include "linespeed_test.moc"
