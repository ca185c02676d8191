// frmLoftSend, frmLoftGet and frmRacePointsSend over the serial link to the simulated clock.
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/appcontext.h"
#include "app/mainwindow.h"
#include "app/options.h"
#include "clock/loftgetdialog.h"
#include "clock/loftsenddialog.h"
#include "clock/racepointssenddialog.h"
#include "e2esupport.h"
#include "loftfolder.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::e2e;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

constexpr int kLong = 30000; // ms a test waits for a transfer at most

QString Status(QWidget* dialog, const char* line) { return dialog->findChild<QLabel*>(line)->text(); }
int Progress(QWidget* dialog) { return dialog->findChild<QProgressBar*>("ProgressBar1")->value(); }

void UseTiming(milliseconds byteTimeout) {
    TransferDialog::SetTimingForTests([byteTimeout](TransferConstants& c) {
        c.startDelay = milliseconds(0);
        c.byteTimeout = byteTimeout;
    });
}

} // namespace

class LoftDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolderFixture> folder_;
    std::unique_ptr<FixedPorts> ports_;
    std::unique_ptr<MainWindow> main_;

    QString PigeonFile() const { return QDir(folder_->Path()).filePath("pigeon/p007012.dat"); }

    // The program folder on the clock's line, with the fancier selected and his pigeons listed.
    void Prepare(const SimulatedClock& clock, int pigeons) {
        WriteLoftFolder(folder_->Path(), clock.Device(), pigeons);
        App().settings = ReadOptions(folder_->Path().toStdString());
        main_ = std::make_unique<MainWindow>();
        main_->StartupTimer()->stop();
        main_->SelectedClubNumber = "007";
        main_->SelectedFancierNumber = "012";
        main_->SelectedFancierName = "M\xFCller Hans         ";
        main_->TaubenAnzeigen();
    }

private slots:
    void init() {
        folder_ = std::make_unique<ProgramFolderFixture>();
        ports_ = std::make_unique<FixedPorts>(std::vector<std::string>{});
        UseTiming(milliseconds(300));
    }
    void cleanup() {
        TransferDialog::SetTimingForTests(nullptr);
        main_.reset();
        ports_.reset();
        folder_.reset();
    }

    void loftsOfNoneThreeAndAThousandPigeonsComeBackIdentical() {
        for (const int n : {0, 3, 1000}) {
            QTemporaryDir clockDir;
            SimulatedClock clock(clockDir.path());
            QVERIFY(clock.Started());
            Prepare(clock, n);
            const QByteArray original = ReadFile(PigeonFile());
            {
                LoftSendDialog send(main_.get());
                send.show();
                QTRY_VERIFY_WITH_TIMEOUT(!send.isVisible(), kLong);
                QCOMPARE(Status(&send, "Label2"), Shipped("frmLoftSend.txtCommunicationOk"));
                QCOMPARE(Progress(&send), std::max(n, 1));
            }
            QCOMPARE(clock.State().count("\npigeon "), n);

            WriteFile(PigeonFile(), PigeonFileBytes(n == 0 ? 2 : 0));
            main_->TaubenAnzeigen();
            LoftGetDialog get(main_.get());
            get.show();
            QTRY_VERIFY_WITH_TIMEOUT(!get.isVisible(), kLong);
            QCOMPARE(Status(&get, "Label1"), Shipped("frmLoftGet.txtCommunicationOk"));
            QCOMPARE(ReadFile(PigeonFile()), original);
            QCOMPARE(main_->List()->count(), std::max(n, 1)); // the list shows what was read
            QVERIFY(folder_->Messages().Shown().empty());
        }
    }

    void everyRefusedReadBackLeavesTheFilesAlone() {
        struct Case {
            const char* name;
            int region, federation, club, fancier, pigeons;
            QStringList simulatorArgs;
            int message; // 0: the communication-error status, and the dialog stays open
        };
        const int end = 1 + 4 + 2 + 3 * 20 + 1;
        const Case cases[] = {
            {"region", 13, 5, 7, 12, 3, {}, 4},
            {"federation", 12, 6, 7, 12, 3, {}, 5},
            {"club", 12, 5, 8, 12, 3, {}, 6},
            {"fancier", 12, 5, 7, 13, 3, {}, 7},
            {"no acknowledgement", 12, 5, 7, 12, 3, {"--corrupt-at", "1"}, 3},
            {"missing end mark", 12, 5, 7, 12, 3, {"--silent-after", QString::number(end - 1)}, 0},
            {"timeout mid-record", 12, 5, 7, 12, 3, {"--silent-after", QString::number(1 + 4 + 2 + 20 + 9)}, 0},
            {"more than 1000 pigeons", 12, 5, 7, 12, 1001, {}, 0},
        };
        for (const Case& c : cases) {
            QTemporaryDir clockDir;
            WriteClockLoft(clockDir.path(), c.region, c.federation, c.club, c.fancier, c.pigeons);
            SimulatedClock clock(clockDir.path(), {}, c.simulatorArgs);
            QVERIFY(clock.Started());
            Prepare(clock, 2);
            const QByteArray before = ReadFile(PigeonFile());
            folder_->Messages().Clear();

            LoftGetDialog dialog(main_.get());
            dialog.show();
            if (c.message != 0) {
                QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kLong);
                QVERIFY2(folder_->Messages().Shown().size() == 1, c.name);
                const ShownMessage shown = folder_->Messages().Shown()[0];
                QVERIFY2(shown.title == Shipped("frmLoftGet.MsgBoxName" + QString::number(c.message)), c.name);
                QVERIFY2(shown.text == Shipped("frmLoftGet.MsgBoxText" + QString::number(c.message)), c.name);
            } else {
                QTRY_COMPARE_WITH_TIMEOUT(Status(&dialog, "Label1"), Shipped("frmLoftGet.txtCommunicationError"), kLong);
                QVERIFY2(dialog.isVisible(), c.name);
                QVERIFY2(folder_->Messages().Shown().empty(), c.name);
            }
            QVERIFY2(ReadFile(PigeonFile()) == before, c.name);
            QVERIFY2(QDir(folder_->Path() + "/pigeon").entryList(QDir::Files).size() == 1, c.name);
        }
    }

    void releasePointsGoAsOne1290ByteMessage() {
        QTemporaryDir clockDir;
        SimulatedClock clock(clockDir.path(), {}, {"--verbose"});
        QVERIFY(clock.Started());
        Prepare(clock, 0);
        RacePointsSendDialog dialog(main_.get());
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kLong);
        QCOMPARE(Status(&dialog, "Label2"), Shipped("frmRacePointsSend.txtCommunicationOk"));
        QCOMPARE(Status(&dialog, "Label1"), "98" + QString(15, ' '));
        QCOMPARE(Progress(&dialog), 98);
        clock.Stop();
        QCOMPARE(clock.Log().count("\nPC "), 1290);
        QCOMPARE(clock.State().count("\npoint "), 99);
    }

    void cancelEndsEachTransfer() {
        // Loft send: the halted clock stops reading, the line fills up and the send waits (or,
        // where the line holds the whole message, waits for the confirmation).
        UseTiming(milliseconds(kLong));
        {
            QTemporaryDir clockDir;
            WriteClockLoft(clockDir.path(), 12, 5, 7, 12, 3);
            SimulatedClock clock(clockDir.path());
            Prepare(clock, 1000);
            const QByteArray state = clock.State();
            clock.Freeze();
            LoftSendDialog dialog(main_.get());
            dialog.show();
            QTRY_VERIFY_WITH_TIMEOUT(Progress(&dialog) >= 1, kLong);
            dialog.findChild<QPushButton*>("Command1")->click();
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kLong);
            QCOMPARE(Status(&dialog, "Label2"), Shipped("frmLoftSend.txtPigeonLoad")); // neither done nor failed
            clock.Thaw();
            QCOMPARE(clock.State(), state);
        }
        // Loft read-back and release points: the dialog waits on a clock gone quiet.
        {
            QTemporaryDir clockDir;
            WriteClockLoft(clockDir.path(), 12, 5, 7, 12, 3);
            SimulatedClock clock(clockDir.path(), {}, {"--silent-after", QString::number(1 + 4 + 2 + 40 + 5)});
            Prepare(clock, 1);
            const QByteArray before = ReadFile(PigeonFile());
            LoftGetDialog dialog(main_.get());
            dialog.show();
            QTRY_COMPARE_WITH_TIMEOUT(Progress(&dialog), 2, kLong);
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(ReadFile(PigeonFile()), before);
        }
        {
            QTemporaryDir clockDir;
            SimulatedClock clock(clockDir.path());
            Prepare(clock, 0);
            clock.Freeze();
            RacePointsSendDialog dialog(main_.get());
            dialog.show();
            QTRY_COMPARE_WITH_TIMEOUT(Progress(&dialog), 98, kLong);
            dialog.findChild<QPushButton*>("Command1")->click();
            QVERIFY(!dialog.isVisible());
            clock.Thaw();
        }
        QVERIFY(folder_->Messages().Shown().empty());
    }
};

QTEST_MAIN(LoftDialogsTest)
#include "loftdialogs_test.moc"
