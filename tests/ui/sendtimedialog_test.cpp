#include "core/clock/sendtime.h"
#include "ui/clock/sendtimedialog.h"
#include "uitestsupport.h"

class SendTimeDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolderFixture> folder_;
    FrozenTimeSource pc_{MakeDateTime(2008, 6, 4, 9, 5, 7)};

    static QString Shown(QWidget* dialog, const char* name) { return dialog->findChild<QLabel*>(name)->text(); }

private slots:
    void init() {
        folder_ = std::make_unique<ProgramFolderFixture>();
        App().settings.comPort = "1";
        pc_.Set(MakeDateTime(2008, 6, 4, 9, 5, 7));
        SendTimeDialog::SetTimeSourceForTests(&pc_);
    }
    void cleanup() {
        SendTimeDialog::SetTimeSourceForTests(nullptr);
        folder_.reset();
    }

    void showsThePcTimeAndSendsEachSecondTheClockListens() {
        ScriptedClockLink link;
        link.SetModemLines({true, false});
        HoldLink hold(link);
        auto owned = std::make_unique<SendTimeDialog>();
        SendTimeDialog& dialog = *owned;
        dialog.show();
        QCOMPARE(Shown(&dialog, "Label1") + Shown(&dialog, "Label2"), SystemDateText(pc_.Now()) + SystemTimeText(pc_.Now()));
        QTRY_VERIFY(dialog.Session().Running());
        QVERIFY(link.LastSettings().baud == 300 && link.LastSettings().stopBits == 2);

        pc_.Advance(1);
        QTRY_COMPARE(link.Sent(), TimeTelegram(pc_.Now(), SendTimeDialog::SystemFirstDayOfWeek()));
        QTRY_COMPARE(Shown(&dialog, "Label2"), SystemTimeText(pc_.Now()));
        QVERIFY(folder_->Messages().Shown().empty());

        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        owned.reset();
        QVERIFY(!link.IsOpen());
    }

    void aPortThatGoesAwaySaysSoAndCloses() {
        ScriptedClockLink link;
        link.SetModemLines({true, true});
        FailingClockLink failing(link);
        failing.PortErrorAtSend(0);
        HoldLink hold(failing);
        SendTimeDialog dialog;
        dialog.show();
        QTRY_VERIFY(dialog.Session().Running());
        pc_.Advance(1);
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(ShownTexts(folder_->Messages()), NumberedMessage("frmSendTime", 1));
    }
};

QTEST_MAIN(SendTimeDialogTest)
#include "sendtimedialog_test.moc"
