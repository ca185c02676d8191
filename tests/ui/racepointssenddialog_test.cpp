#include <QLabel>
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

// The 1290-byte send runs end to end against the simulated clock; here: what the dialog shows.
class RacePointsSendDialogTest : public QObject {
    Q_OBJECT

    static QString Line(QWidget* dialog, const char* name) { return dialog->findChild<QLabel*>(name)->text(); }

private slots:
    void showsTheLastNameSentOrMessageTwoWithoutConfirmation() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        App().settings.comPort = "1";
        folder.Write("racepo/racepo.dat", " 2 \r\n01BRUXELLES" + QByteArray(53, ' ') + "\r\n02ORL\xC9" "ANS" +
                                              QByteArray(55, ' ') + "\r\n");
        FrozenTimeSource time;
        ClockSimulator clock(time);
        bool answers = true;
        SetClockLinkFactoryForTests([&] {
            return answers ? std::make_unique<ScriptedClockLink>(clock) : std::make_unique<ScriptedClockLink>();
        });
        TransferDialog::SetTimingForTests([](TransferConstants& c) {
            c.startDelay = milliseconds(0);
            c.byteTimeout = milliseconds(50);
        });
        MainWindow main;
        main.StartupTimer()->stop();
        {
            RacePointsSendDialog dialog(&main);
            dialog.show();
            QTRY_VERIFY(!dialog.isVisible());
            QCOMPARE(Line(&dialog, "Label1"), QString::fromUtf8("02  ORLÉANS      "));
            QCOMPARE(Line(&dialog, "Label2"), Shipped("frmRacePointsSend.txtCommunicationOk"));
            QCOMPARE(clock.State().releasePoints.at(2), std::string("ORL\xC9" "ANS      "));
            QVERIFY(folder.Messages().Shown().empty());
        }
        answers = false;
        RacePointsSendDialog dialog(&main);
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(Line(&dialog, "Label2"), Shipped("frmRacePointsSend.txtCommunicationError"));
        QCOMPARE(ShownTexts(folder.Messages()), NumberedMessage("frmRacePointsSend", 2));
        TransferDialog::SetTimingForTests(nullptr);
        SetClockLinkFactoryForTests(nullptr);
    }
};

QTEST_MAIN(RacePointsSendDialogTest)
#include "racepointssenddialog_test.moc"
