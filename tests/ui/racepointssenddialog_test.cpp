#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/appcontext.h"
#include "app/mainwindow.h"
#include "clock/clocksimulator.h"
#include "clock/racepointssenddialog.h"
#include "clock/scriptedlink.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class RacePointsSendDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolderFixture> folder_;
    std::unique_ptr<FixedPorts> ports_;
    std::unique_ptr<MainWindow> main_;
    FrozenTimeSource master_;
    std::unique_ptr<ClockSimulator> clock_;

    QString Line(QWidget* dialog, const char* name) { return dialog->findChild<QLabel*>(name)->text(); }

private slots:
    void init() {
        folder_ = std::make_unique<ProgramFolderFixture>();
        ports_ = std::make_unique<FixedPorts>(std::vector<std::string>{});
        main_ = std::make_unique<MainWindow>();
        main_->StartupTimer()->stop();
        App().settings.comPort = "1";
        QByteArray records = " 2 \r\n";
        for (const QByteArray& name : {QByteArray("01BRUXELLES"), QByteArray("02ORL\xC9" "ANS")})
            records += name + QByteArray(64 - name.size(), ' ') + "\r\n";
        folder_->Write("racepo/racepo.dat", records);
        clock_ = std::make_unique<ClockSimulator>(master_);
        SetClockLinkFactoryForTests([this] { return std::make_unique<ScriptedClockLink>(*clock_); });
        TransferDialog::SetTimingForTests([](TransferConstants& c) {
            c.startDelay = milliseconds(0);
            c.byteTimeout = milliseconds(50);
        });
    }
    void cleanup() {
        TransferDialog::SetTimingForTests(nullptr);
        SetClockLinkFactoryForTests(nullptr);
        main_.reset();
        ports_.reset();
        folder_.reset();
    }

    void sendsEveryNameAndShowsTheLastOne() {
        TransferDialog::SetTimingForTests(nullptr);
        {
            RacePointsSendDialog waiting(main_.get());
            QCOMPARE(waiting.windowTitle(), Shipped("frmRacePointsSend.Caption"));
            QCOMPARE(MissingCaptionKeys(&waiting), QStringList());
            QCOMPARE(waiting.findChild<QTimer*>("StartTimer")->interval(), 1000);
            QVERIFY(waiting.findChild<QTimer*>("StartTimer")->isActive());
        }
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(0); });
        RacePointsSendDialog dialog(main_.get());
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(Line(&dialog, "Label1"), QString::fromUtf8("02  ORLÉANS      "));
        QCOMPARE(Line(&dialog, "Label2"), Shipped("frmRacePointsSend.txtCommunicationOk"));
        QCOMPARE(dialog.findChild<QProgressBar*>("ProgressBar1")->value(), 2);
        QCOMPARE(clock_->State().releasePoints.size(), std::size_t(3));
        QCOMPARE(clock_->State().releasePoints[2], std::string("ORL\xC9" "ANS      "));
        QVERIFY(folder_->Messages().Shown().empty());
    }

    void aClockThatDoesNotConfirmGivesMessageTwo() {
        SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); });
        RacePointsSendDialog dialog(main_.get());
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(Line(&dialog, "Label2"), Shipped("frmRacePointsSend.txtCommunicationError"));
        QCOMPARE(folder_->Messages().Shown().size(), std::size_t(1));
        QCOMPARE(folder_->Messages().Shown()[0].title, Shipped("frmRacePointsSend.MsgBoxName2"));
        QCOMPARE(folder_->Messages().Shown()[0].text, Shipped("frmRacePointsSend.MsgBoxText2"));
    }

    void theMenuItemOpensTheDialog() {
        TransferDialog::SetTimingForTests(nullptr);
        QString opened;
        ModalWatcher watcher([&opened](QWidget* modal) { opened = modal->objectName(); });
        main_->OpenMenuDialog("mnuSendRacePoints");
        QCOMPARE(opened, QString("frmRacePointsSend"));
    }
};

QTEST_MAIN(RacePointsSendDialogTest)
#include "racepointssenddialog_test.moc"
