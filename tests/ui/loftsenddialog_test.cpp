#include "clock/loftsenddialog.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

// Sends, their refusals and cancel run end to end against the simulated clock; here: what the
// dialog shows of a loft the clock cannot take.
class LoftSendDialogTest : public QObject {
    Q_OBJECT

    static QString Line(QWidget* dialog, const char* name) { return dialog->findChild<QLabel*>(name)->text(); }

private slots:
    void aLoftTheClockCannotTakeIsNotSentAndTheDialogStaysOpen() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        ScriptedClockLink link;
        HoldLink hold(link);
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(0); });
        App().settings.region = "012Nord";
        App().settings.federation = "005Mitte";
        App().settings.comPort = "1";
        MainWindow main;
        main.StartupTimer()->stop();
        main.SelectedClubNumber = "300"; // more than a clock's byte holds
        main.SelectedFancierNumber = "012";
        main.SelectedFancierName = "M\xFCller Hans         ";
        LoftSendDialog dialog(&main);
        QCOMPARE(Line(&dialog, "Label1"), QString::fromUtf8("012.005.300.012 Müller Hans         "));
        QCOMPARE(Line(&dialog, "Label2"), Shipped("frmLoftSend.txtPigeonLoad"));
        dialog.show();
        QTRY_COMPARE(Line(&dialog, "Label2"), Shipped("frmLoftSend.txtCommunicationError"));
        QVERIFY(dialog.isVisible()); // left open to be read
        QCOMPARE(link.Sent(), std::string());
        QVERIFY(folder.Messages().Shown().empty());
        Click(&dialog);
        QVERIFY(!dialog.isVisible());
        TransferDialog::SetTimingForTests(nullptr);
    }
};

QTEST_MAIN(LoftSendDialogTest)
#include "loftsenddialog_test.moc"
