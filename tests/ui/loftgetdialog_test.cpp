#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/appcontext.h"
#include "app/files.h"
#include "app/mainwindow.h"
#include "clock/clocksimulator.h"
#include "clock/loftgetdialog.h"
#include "clock/scriptedlink.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class LoftGetDialogTest : public QObject {
    Q_OBJECT

    static inline const QByteArray kOldFile = " 1 \r\nNL      05     1234567M1300000000BLAU00\r\n";
    static inline const std::string kPigeons[] = {"B       05     1234567M1300000000BLUE00"};

    std::unique_ptr<ProgramFolderFixture> folder_;
    std::unique_ptr<FixedPorts> ports_;
    std::unique_ptr<MainWindow> main_;
    FrozenTimeSource master_;
    std::unique_ptr<ClockSimulator> clock_;

    QString Status(QWidget* dialog) { return dialog->findChild<QLabel*>("Label1")->text(); }

    void UseLink(std::function<std::unique_ptr<ScriptedClockLink>()> make) {
        SetClockLinkFactoryForTests([make] { return make(); });
    }

private slots:
    void init() {
        folder_ = std::make_unique<ProgramFolderFixture>();
        folder_->Write("club/club.dat", " 1 \r\n007Zur Post" + QByteArray(52, ' ') + "\r\n");
        folder_->Write("fancier/f007.DAT", " 1 \r\n012M\xFCller Hans" + QByteArray(59, ' ') + "\r\n");
        folder_->Write("pigeon/p007012.dat", kOldFile);
        ports_ = std::make_unique<FixedPorts>(std::vector<std::string>{});
        main_ = std::make_unique<MainWindow>();
        main_->StartupTimer()->stop();
        App().settings.region = "012Nord";
        App().settings.federation = "005Mitte";
        App().settings.comPort = "1";
        main_->SelectedClubNumber = "007";
        main_->SelectedFancierNumber = "012";
        main_->TaubenAnzeigen();

        ClockState state;
        state.region = 12;
        state.federation = 5;
        state.club = 7;
        state.fancier = 12;
        const PigeonsConvert convert(SexTexts{"M", "F", "U"});
        for (const std::string& record : kPigeons)
            state.pigeons.push_back({*convert.EncodeRing(record), *PigeonsConvert::EncodeChip(record)});
        clock_ = std::make_unique<ClockSimulator>(master_, state);
        UseLink([this] { return std::make_unique<ScriptedClockLink>(*clock_); });
        TransferDialog::SetTimingForTests([](TransferConstants& c) {
            c.startDelay = milliseconds(0);
            c.byteTimeout = milliseconds(50);
        });
    }
    void cleanup() {
        TransferDialog::SetTimingForTests(nullptr);
        SetClockLinkFactoryForTests(nullptr);
        SetSaveFaultForTests(nullptr);
        main_.reset();
        ports_.reset();
        folder_.reset();
    }

    void opensWithItsStatusAndWaitsForTheStartTimer() {
        TransferDialog::SetTimingForTests(nullptr);
        LoftGetDialog dialog(main_.get());
        QCOMPARE(dialog.windowTitle(), Shipped("frmLoftGet.Caption"));
        QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
        QCOMPARE(Status(&dialog), Shipped("frmLoftGet.txtPigeonGet"));
        QCOMPARE(dialog.findChild<QTimer*>("StartTimer")->interval(), 1000);
        QVERIFY(dialog.findChild<QTimer*>("StartTimer")->isActive());
    }

    void aTransferThatBreaksOffStaysOpenWithTheErrorStatus() {
        // The clock falls silent in the second pigeon.
        UseLink([] {
            auto link = std::make_unique<ScriptedClockLink>();
            link->AnswerAfter(2, std::string(">\x0C\x05\x07\x0C\x00\x02", 7) + std::string(30, '\x01'));
            return link;
        });
        LoftGetDialog dialog(main_.get());
        dialog.show();
        QTRY_COMPARE(Status(&dialog), Shipped("frmLoftGet.txtCommunicationError"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.findChild<QProgressBar*>("ProgressBar1")->value(), 1);
        QCOMPARE(folder_->Read("pigeon/p007012.dat"), kOldFile);
        QVERIFY(folder_->Messages().Shown().empty());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }

    void aFailedSaveIsShownAndTheOldFileStays() {
        SetSaveFaultForTests([](const Path&) { return true; });
        LoftGetDialog dialog(main_.get());
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(folder_->Messages().Shown().size(), std::size_t(1));
        QCOMPARE(folder_->Messages().Shown()[0].icon, MessageIcon::Critical);
        QCOMPARE(folder_->Messages().Shown()[0].title, Shipped("frmLoftGet.Caption"));
        QVERIFY(!folder_->Messages().Shown()[0].text.isEmpty());
        QCOMPARE(folder_->Read("pigeon/p007012.dat"), kOldFile);
    }

    void theMenuItemOpensTheDialog() {
        TransferDialog::SetTimingForTests(nullptr);
        QString opened;
        ModalWatcher watcher([&opened](QWidget* modal) { opened = modal->objectName(); });
        main_->OpenMenuDialog("mnuLoftGet");
        QCOMPARE(opened, QString("frmLoftGet"));
    }
};

QTEST_MAIN(LoftGetDialogTest)
#include "loftgetdialog_test.moc"
