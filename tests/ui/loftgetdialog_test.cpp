#include <QLabel>
#include <QTest>
#include <QTimer>

#include "app/appcontext.h"
#include "app/files.h"
#include "app/mainwindow.h"
#include "clock/clocksimulator.h"
#include "clock/loftgetdialog.h"
#include "clock/scriptedlink.h"
#include "heldlink.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

// The read-back and its refusals run end to end against the simulated clock; here: a failed save.
class LoftGetDialogTest : public QObject {
    Q_OBJECT

private slots:
    void aFailedSaveIsShownAndTheOldFileStays() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        const QByteArray old = " 1 \r\nNL      05     1234567M1300000000BLAU00\r\n";
        folder.Write("club/club.dat", " 1 \r\n007Zur Post" + QByteArray(52, ' ') + "\r\n");
        folder.Write("fancier/f007.DAT", " 1 \r\n012M\xFCller Hans" + QByteArray(59, ' ') + "\r\n");
        folder.Write("pigeon/p007012.dat", old);
        App().settings.region = "012Nord";
        App().settings.federation = "005Mitte";
        App().settings.comPort = "1";
        FrozenTimeSource time;
        ClockState state; // the fancier's loft, without pigeons
        state.region = 12;
        state.federation = 5;
        state.club = 7;
        state.fancier = 12;
        ClockSimulator clock(time, state);
        ScriptedClockLink link(clock);
        HoldLink hold(link);
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(0); });
        MainWindow main;
        main.StartupTimer()->stop();
        main.SelectedClubNumber = "007";
        main.SelectedFancierNumber = "012";

        LoftGetDialog dialog(&main);
        QCOMPARE(dialog.findChild<QLabel*>("Label1")->text(), Shipped("frmLoftGet.txtPigeonGet"));
        SetSaveFaultForTests([](const Path&) { return true; });
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        SetSaveFaultForTests(nullptr);
        TransferDialog::SetTimingForTests(nullptr);
        QCOMPARE(folder.Messages().Shown().size(), std::size_t(1));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Critical);
        QCOMPARE(folder.Messages().Shown()[0].title, Shipped("frmLoftGet.Caption"));
        QCOMPARE(folder.Read("pigeon/p007012.dat"), old);
    }
};

QTEST_MAIN(LoftGetDialogTest)
#include "loftgetdialog_test.moc"
