// Loft send, loft read-back and release points send against the simulated clock on a
// pseudo-terminal, each through plumet-cli and through its dialog with the serial link.
#include <QDeadlineTimer>

#include "e2esupport.h"
#include "ui/clock/loftgetdialog.h"
#include "ui/clock/loftsenddialog.h"
#include "ui/clock/racepointssenddialog.h"

using namespace plumet::e2e;

namespace {

constexpr int kLong = 30000; // ms a test waits for a transfer at most

enum Transfer { kSendLoft, kGetLoft, kSendPoints };
const QStringList kCommands[] = {{"send-loft", "7", "012"}, {"get-loft"}, {"send-points"}};
const char* const kStatusLines[] = {"Label2", "Label1", "Label2"};

void UseTiming(milliseconds byteTimeout) {
    TransferDialog::SetTimingForTests([byteTimeout](TransferConstants& c) {
        c.startDelay = milliseconds(0);
        c.byteTimeout = byteTimeout;
    });
}

QString Status(QWidget* dialog, Transfer t) { return dialog->findChild<QLabel*>(kStatusLines[t])->text(); }
QString Progress(QWidget* dialog) {
    const auto* bar = dialog->findChild<QProgressBar*>("ProgressBar1");
    return QString("%1/%2").arg(bar->value()).arg(bar->maximum());
}

} // namespace

class LoftTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> folder_;
    std::unique_ptr<FixedPorts> ports_;
    std::unique_ptr<MainWindow> main_;
    QString pointLine_; // the release point the send dialog showed last

    QString PigeonFile() const { return folder_->File("pigeon/p007012.dat"); }

    // The program folder on the clock's line, with the fancier selected and his pigeons listed.
    void Prepare(const SimulatedClock& clock, int pigeons) {
        folder_->Loft(clock.Device(), pigeons);
        main_ = std::make_unique<IdleMainWindow>();
        main_->SelectedClubNumber = "007";
        main_->SelectedFancierNumber = "012";
        main_->SelectedFancierName = "M\xFCller Hans         ";
        main_->TaubenAnzeigen();
        folder_->Messages().Clear();
    }

    std::unique_ptr<TransferDialog> Open(Transfer t) {
        if (t == kSendLoft) return std::make_unique<LoftSendDialog>(main_.get());
        if (t == kGetLoft) return std::make_unique<LoftGetDialog>(main_.get());
        return std::make_unique<RacePointsSendDialog>(main_.get());
    }

    // Runs a transfer to its end and answers what the user is told: by plumet-cli; or whether the
    // dialog stayed open, and the message it showed, else its status line.
    QString Run(bool cli, Transfer t) {
        if (cli) return RunCli(folder_->Path(), kCommands[t]).Told();
        const std::unique_ptr<TransferDialog> dialog = Open(t);
        bool done = false;
        connect(&dialog->Session(), &TransferSession::finished, this, [&done] { done = true; });
        dialog->show();
        for (QDeadlineTimer deadline(kLong); !done && !deadline.hasExpired();) QTest::qWait(5);
        QApplication::processEvents();
        if (t == kSendPoints) pointLine_ = dialog->findChild<QLabel*>("Label1")->text();
        const auto& shown = folder_->Messages().Shown();
        return (dialog->isVisible() ? "1 " : "0 ") + (shown.empty() ? Status(dialog.get(), t) : shown.back().text);
    }

private slots:
    void init() {
        folder_ = std::make_unique<ProgramFolder>("loft");
        ports_ = std::make_unique<FixedPorts>(std::vector<std::string>{});
        UseTiming(milliseconds(300));
    }
    void cleanup() {
        TransferDialog::SetTimingForTests(nullptr);
        main_.reset();
        ports_.reset();
        folder_.reset();
    }

    // Counts beyond one byte, one of them with the low byte's top bit set, in seconds of line
    // time (a full loft is the benchmark's).
    void loftsOfNoneThreeAndHundredsOfPigeonsComeBackIdentical() {
        for (const bool cli : {true, false}) {
            for (const int n : {0, 3, cli ? 390 : 260}) {
                SimulatedClock clock;
                Prepare(clock, n);
                const QByteArray original = ReadFile(PigeonFile());
                QCOMPARE(Run(cli, kSendLoft), "0 " + Shipped("frmLoftSend.txtCommunicationOk"));
                QTRY_COMPARE_WITH_TIMEOUT(clock.State().count("\npigeon "), n, kLong); // saved once it has confirmed

                WriteFile(PigeonFile(), PigeonFileBytes(n == 0 ? 2 : 0));
                main_->TaubenAnzeigen();
                QCOMPARE(Run(cli, kGetLoft), "0 " + Shipped("frmLoftGet.txtCommunicationOk"));
                QCOMPARE(ReadFile(PigeonFile()), original);
                if (!cli) QCOMPARE(main_->List()->count(), std::max(n, 1)); // the list shows what was read
            }
        }
    }

    // Each row: the clock's region | federation | club | fancier | the simulator's faults | what the user is told. The
    // clock holds 3 pigeons: it sends 68 bytes.
    void everyRefusedReadBackLeavesTheFilesAlone() {
        for (const bool cli : {true, false}) {
            for (const QStringList& c : GoldenTable("e2e/loftrefusals.txt")) {
                SimulatedClock clock(LoftClock(c[0].toInt(), c[1].toInt(), c[2].toInt(), c[3].toInt(), 3), c[4].split(' ', Qt::SkipEmptyParts));
                Prepare(clock, 2);
                const QByteArray before = ReadFile(PigeonFile());
                // plumet-cli fails; the dialog closes after a message but stays open with a status line.
                const bool fails = cli || c[5].contains(".txt");
                QCOMPARE(Run(cli, kGetLoft), (fails ? "1 " : "0 ") + Shipped(c[5]));
                QCOMPARE(ReadFile(PigeonFile()), before);
                QCOMPARE(QDir(folder_->File("pigeon")).entryList(QDir::Files).size(), qsizetype(1));
            }
        }
    }

    void releasePointsGoAsOne1290ByteMessage() {
        for (const bool cli : {true, false}) {
            SimulatedClock clock({"--verbose"});
            Prepare(clock, 0);
            folder_->Copy("e2e/racepo98.dat", "racepo/racepo.dat");

            QCOMPARE(Run(cli, kSendPoints), "0 " + Shipped("frmRacePointsSend.txtCommunicationOk"));
            if (!cli) QCOMPARE(pointLine_, "98  POINT>98" + QString(5, ' ')); // the dialog shows each name as it goes
            clock.Stop();
            QCOMPARE(clock.Log().count("\nPC "), 1290);
            const QByteArray state = clock.State();
            QVERIFY(state.contains("\r\npoint 0              \r\n"));
            QVERIFY(state.contains("\r\npoint 98 POINT>98     \r\n"));
            QVERIFY(!state.contains("point 99"));
        }
    }

    void aClockThatDoesNotConfirmASendGivesMessageTwo() {
        for (const bool cli : {true, false}) {
            for (const Transfer t : {kSendLoft, kSendPoints}) {
                SimulatedClock clock;
                Prepare(clock, 0);
                clock.Freeze(); // takes the bytes into the line but never answers
                const QString form = t == kSendLoft ? "frmLoftSend" : "frmRacePointsSend";
                QCOMPARE(Run(cli, t), (cli ? "1 " : "0 ") + Shipped(form + ".MsgBoxText2"));
            }
        }
    }

    void aFailedSaveOfTheReadBackIsShownAndTheOldFileStays() {
        SimulatedClock clock(LoftClock(12, 5, 7, 12, 3));
        Prepare(clock, 2);
        const QByteArray before = ReadFile(PigeonFile());
        const QString failed = SavingFails(folder_->Messages(), [&] { Run(false, kGetLoft); });
        QCOMPARE(failed.section(": ", 0, 0), Shipped("frmLoftGet.Caption"));
        QCOMPARE(ReadFile(PigeonFile()), before);
    }

    void cancelEndsEachTransferAndChangesNothing() {
        UseTiming(milliseconds(kLong)); // the dialogs wait as long as plumet-cli
        for (const bool cli : {true, false}) {
            for (const Transfer t : {kSendLoft, kGetLoft, kSendPoints}) {
                // The sends wait on a halted clock, whose line fills up; the read-back on a clock
                // gone quiet in the second pigeon.
                SimulatedClock clock(t == kSendPoints ? ClockState{} : LoftClock(12, 5, 7, 12, 3),
                                     t == kGetLoft ? QStringList{"--silent-after", "52"} : QStringList{});
                Prepare(clock, t == kSendLoft ? 1000 : t == kGetLoft ? 1 : 0);
                const QByteArray state = clock.State();
                const QByteArray pigeons = ReadFile(PigeonFile());
                if (t != kGetLoft) clock.Freeze();
                const QString progress = t == kSendLoft ? "/1000" : t == kGetLoft ? "2/3" : "98/98";
                if (cli) {
                    TerminalCli run(folder_->Path(), kCommands[t]);
                    QVERIFY(run.WaitFor(progress.toUtf8()));
                    run.Interrupt();
                    QCOMPARE(run.Finish(), 1);
                    QVERIFY(run.Screen().contains("The transfer was cancelled."));
                    QVERIFY(run.Out().isEmpty());
                } else {
                    const std::unique_ptr<TransferDialog> dialog = Open(t);
                    const QString status = Status(dialog.get(), t);
                    dialog->show();
                    QTRY_VERIFY_WITH_TIMEOUT(Progress(dialog.get()).endsWith(progress), kLong);
                    dialog->findChild<QPushButton*>("Command1")->click();
                    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), kLong);
                    QCOMPARE(Status(dialog.get(), t), status); // neither done nor failed
                    QVERIFY(folder_->Messages().Shown().empty());
                }
                clock.Thaw();
                if (t == kSendLoft) QCOMPARE(clock.State(), state);
                QCOMPARE(ReadFile(PigeonFile()), pigeons);
            }
        }
    }
};

QTEST_MAIN(LoftTest)
#include "loft_test.moc"
