#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/appcontext.h"
#include "app/mainwindow.h"
#include "clock/clocksimulator.h"
#include "clock/loftsenddialog.h"
#include "clock/scriptedlink.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class LoftSendDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolderFixture> folder_;
    std::unique_ptr<FixedPorts> ports_;
    std::unique_ptr<MainWindow> main_;
    FrozenTimeSource master_;
    std::unique_ptr<ClockSimulator> clock_;
    ScriptedClockLink* link_ = nullptr;

    QString Line(QWidget* dialog, const char* name) { return dialog->findChild<QLabel*>(name)->text(); }

    // The link every dialog opens: to the simulated clock, or to one that never answers.
    void UseClock(bool answers) {
        SetClockLinkFactoryForTests([this, answers] {
            auto link = answers ? std::make_unique<ScriptedClockLink>(*clock_) : std::make_unique<ScriptedClockLink>();
            link_ = link.get();
            return link;
        });
    }

private slots:
    void init() {
        folder_ = std::make_unique<ProgramFolderFixture>();
        ports_ = std::make_unique<FixedPorts>(std::vector<std::string>{});
        main_ = std::make_unique<MainWindow>();
        main_->StartupTimer()->stop();
        App().settings.region = "012Nord";
        App().settings.federation = "005Mitte";
        App().settings.comPort = "1";
        main_->SelectedClubNumber = "007";
        main_->SelectedFancierNumber = "012";
        main_->SelectedFancierName = "M\xFCller Hans         ";
        folder_->Write("pigeon/p007012.dat", " 2 \r\nB       05     1234567M1300000000BLUE00\r\n"
                                             "DV      230815       9UABCDEF0100    01\r\n");
        clock_ = std::make_unique<ClockSimulator>(master_);
        UseClock(true);
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

    void showsWhoseLoftGoesAndWaitsForTheStartTimer() {
        TransferDialog::SetTimingForTests(nullptr);
        LoftSendDialog dialog(main_.get());
        QCOMPARE(dialog.windowTitle(), Shipped("frmLoftSend.Caption"));
        QCOMPARE(dialog.findChild<QPushButton*>("Command1")->text(), Shipped("frmLoftSend.Command1.Caption"));
        QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
        QCOMPARE(Line(&dialog, "Label1"), QString::fromUtf8("012.005.007.012 Müller Hans         "));
        QCOMPARE(Line(&dialog, "Label2"), Shipped("frmLoftSend.txtPigeonLoad"));
        QCOMPARE(dialog.findChild<QTimer*>("StartTimer")->interval(), 1000);
        QVERIFY(dialog.findChild<QTimer*>("StartTimer")->isActive());
        QCOMPARE(link_->Sent(), std::string());
    }

    void aClockThatDoesNotConfirmGivesMessageTwo() {
        UseClock(false);
        LoftSendDialog dialog(main_.get());
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(Line(&dialog, "Label2"), Shipped("frmLoftSend.txtCommunicationError"));
        QCOMPARE(folder_->Messages().Shown().size(), std::size_t(1));
        QCOMPARE(folder_->Messages().Shown()[0].icon, MessageIcon::Critical);
        QCOMPARE(folder_->Messages().Shown()[0].title, Shipped("frmLoftSend.MsgBoxName2"));
        QCOMPARE(folder_->Messages().Shown()[0].text, Shipped("frmLoftSend.MsgBoxText2"));
    }

    void aLoftTheClockCannotTakeIsNotSentAndTheDialogStaysOpen() {
        main_->SelectedClubNumber = "300";
        folder_->Write("pigeon/p300012.dat", " 0 \r\n");
        LoftSendDialog dialog(main_.get());
        dialog.show();
        QTRY_COMPARE(Line(&dialog, "Label2"), Shipped("frmLoftSend.txtCommunicationError"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(link_->Sent(), std::string());
        QVERIFY(folder_->Messages().Shown().empty());
        dialog.findChild<QPushButton*>("Command1")->click();
        QVERIFY(!dialog.isVisible());
    }

    void theMenuItemOpensTheDialog() {
        TransferDialog::SetTimingForTests(nullptr);
        QString opened;
        ModalWatcher watcher([&opened](QWidget* modal) { opened = modal->objectName(); });
        main_->OpenMenuDialog("mnuLoftSend");
        QCOMPARE(opened, QString("frmLoftSend"));
    }
};

QTEST_MAIN(LoftSendDialogTest)
#include "loftsenddialog_test.moc"
