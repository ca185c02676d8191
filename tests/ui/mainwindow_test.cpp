#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "app/appcontext.h"
#include "app/mainwindow.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class MainWindowTest : public QObject {
    Q_OBJECT

    static bool Enabled(const MainWindow& w, const char* name) {
        if (QAction* a = w.MenuItem(name)) return a->isEnabled();
        return w.Menu(name)->menuAction()->isEnabled();
    }
    static bool Visible(const MainWindow& w, const char* name) {
        if (QAction* a = w.MenuItem(name)) return a->isVisible();
        return w.Menu(name)->menuAction()->isVisible();
    }
    static const QByteArray kTwoClubs;

private slots:
    void startsWithTitleMenusAndTheEmptyClubList() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        MainWindow w;
        QCOMPARE(w.windowTitle(), QString("Plumet Rederivevizo ZK-ORT  1.65      -RO"));
        QCOMPARE(w.Mode(), ListMode::Clubs);
        QCOMPARE(w.List()->count(), 1);
        QCOMPARE(w.List()->item(0)->text(), Shipped("frmMain.txtNoClub"));
        QVERIFY(!w.List()->isEnabled());

        for (const char* on : {"mnuClubShow", "mnuClubAdd", "mnuRacedataGet", "mnuInfo", "mnuRacePointsShow"})
            QVERIFY2(Enabled(w, on), on);
        for (const char* off : {"mnuClubAlter", "mnuClubDelete", "mnuFancierAdd", "mnuFancierAlter", "mnuFancierDelete",
                                "mnuFancierShow", "mnuClubChange", "mnuPigeonAdd", "mnuPigeonAlter", "mnuPigeonDelete",
                                "mnuPigeonShow", "mnuLoftSend", "mnuRacePointsAdd", "mnuRacePointsAlter",
                                "mnuRacePointsDelete", "mnuVeloxanLoad"})
            QVERIFY2(!Enabled(w, off), off);
        for (const char* hidden : {"mnuTerminal", "mnuRaceCalc", "mnuClockTimesManEnter", "mnuVeloxanLoad"})
            QVERIFY2(!Visible(w, hidden), hidden);
        for (const char* shown : {"mnuProgram", "mnuExchangedata", "mnuExtras", "mnuLoftGet", "mnu3FancierLoadVPPGD"})
            QVERIFY2(Visible(w, shown), shown);
        QCOMPARE(w.findChild<QLabel*>("Label2")->text(), QString("COM "));
        QCOMPARE(MissingCaptionKeys(&w), QStringList{"frmMain.Caption"}); // the title is fixed, not a text
        QCOMPARE(w.Menu("mnuExchangedata")->title(), Shipped("frmMain.mnuExchangeData.Caption"));
        QCOMPARE(w.MenuItem("mnu2FancierLoadVPPAD")->text(), Shipped("frmMain.mnu2FancierLoad.Caption"));
    }

    void selectingDescendingAndGoingUpFollowTheKeys() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        folder.Write("club/club.dat", kTwoClubs);
        folder.Write("fancier/f002.DAT", " 1 \r\n001Miller              " + QByteArray(50, ' ') + "\r\n");
        MainWindow w;
        QCOMPARE(w.List()->count(), 2);
        QCOMPARE(w.List()->item(0)->text(), QString("002:     Blue Wings") + QString(20, ' '));

        QTest::keyClick(w.List(), Qt::Key_Return); // nothing selected: stays
        QCOMPARE(w.Mode(), ListMode::Clubs);
        w.List()->setCurrentRow(0);
        QCOMPARE(w.SelectedClubNumber, std::string("002"));
        QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QString("002: Blue Wings"));
        for (const char* on : {"mnuClubAlter", "mnuClubDelete", "mnuFancierShow"}) QVERIFY2(Enabled(w, on), on);

        QTest::keyClick(w.List(), Qt::Key_Return);
        QCOMPARE(w.Mode(), ListMode::Fanciers);
        QVERIFY(!Enabled(w, "mnuClubAlter"));
        QVERIFY(Enabled(w, "mnuFancierAdd"));
        w.List()->setCurrentRow(0);
        QCOMPARE(w.SelectedFancierNumber, std::string("001"));
        QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QString("002: Blue Wings / 001: Miller"));
        for (const char* on : {"mnuPigeonShow", "mnuFancierAlter", "mnuFancierDelete", "mnuLoftSend", "mnuClubChange"})
            QVERIFY2(Enabled(w, on), on);

        QTest::keyClick(w.List(), Qt::Key_Return);
        QCOMPARE(w.Mode(), ListMode::Pigeons);
        QCOMPARE(w.List()->item(0)->text(), Shipped("frmMain.txtNoPigeons"));
        QTest::keyClick(w.List(), Qt::Key_Escape);
        QCOMPARE(w.Mode(), ListMode::Fanciers);
        QTest::keyClick(w.List(), Qt::Key_Escape);
        QCOMPARE(w.Mode(), ListMode::Clubs);
        QTest::keyClick(w.List(), Qt::Key_Escape);
        QCOMPARE(w.Mode(), ListMode::Clubs);
    }

    void onlyTheFancierAndPigeonListsTakeSeveralLines() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        folder.Write("club/club.dat", kTwoClubs);
        folder.Write("fancier/f002.DAT", " 2 \r\n001Miller" + QByteArray(64, ' ') + "\r\n004Baker" + QByteArray(65, ' ') + "\r\n");
        MainWindow w;
        QCOMPARE(w.List()->selectionMode(), QAbstractItemView::SingleSelection);
        w.List()->setCurrentRow(0);
        w.ZuechterAnzeigen();
        w.List()->setCurrentRow(1);
        w.List()->item(0)->setSelected(true);
        QCOMPARE(w.SelectedLines(), (std::vector<int>{0, 1}));
        QCOMPARE(w.SelectedFancierNumber, std::string("004"));
    }

    void releasePointModeEndsWithTheReset() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        folder.Write("club/club.dat", kTwoClubs);
        MainWindow w;
        w.OpenMenuDialog("mnuRacePointsShow");
        QCOMPARE(w.Mode(), ListMode::RacePoints);
        QVERIFY(Enabled(w, "mnuRacePointsAdd"));
        w.OpenMenuDialog("mnuClubShow");
        w.List()->setCurrentRow(1);
        QCOMPARE(w.SelectedClubNumber, std::string("010"));
        QCOMPARE(w.SelectedRacePointNumber, std::string());
        QVERIFY(!Enabled(w, "mnuRacePointsAdd"));
    }

    void listPositionIsRestoredAfterARebuild() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        folder.Write("club/club.dat", kTwoClubs);
        MainWindow w;
        w.List()->setCurrentRow(1);
        w.RememberListPosition();
        folder.Write("club/club.dat", " 1 \r\n002Blue Wings" + QByteArray(50, ' ') + "\r\n");
        w.VereineAnzeigen();
        w.RestoreListPosition();
        QCOMPARE(w.List()->currentRow(), 0);
        QCOMPARE(w.SelectedClubNumber, std::string("002"));
        QVERIFY(Enabled(w, "mnuClubAlter"));
    }

    void startupCheckOpensSettingsOnlyWhenRegionOrPortIsMissing() {
        ProgramFolderFixture folder;
        FixedPorts ports({"COM 1", "COM 2"});
        App().settings.region = "007North" + std::string(25, ' ');
        App().settings.comPort = "2";
        {
            MainWindow w;
            QVERIFY(w.StartupTimer()->isActive());
            QCOMPARE(w.StartupTimer()->interval(), 1000);
            w.StartupPortCheck();
            QVERIFY(!w.StartupTimer()->isActive());
            QVERIFY(QApplication::activeModalWidget() == nullptr);
        }
        for (const std::string port : {"0", "", "7"}) {
            App().settings.comPort = port;
            MainWindow w;
            QString opened;
            ModalWatcher watcher([&](QWidget* modal) { opened = modal->objectName(); });
            w.StartupPortCheck();
            QCOMPARE(opened, QString("frmSet"));
        }
    }

    void deleteWithoutSelectionOpensNothing() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        folder.Write("club/club.dat", kTwoClubs);
        MainWindow w;
        bool opened = false;
        ModalWatcher watcher([&](QWidget*) { opened = true; });
        QTest::keyClick(w.List(), Qt::Key_Delete);
        QTest::qWait(50);
        QVERIFY(!opened);
        QApplication::processEvents();
    }

    void infoOpensAndCloses() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        MainWindow w;
        QString title;
        QStringList missing;
        ModalWatcher watcher([&](QWidget* modal) {
            title = modal->windowTitle();
            missing = MissingCaptionKeys(modal);
        });
        w.MenuItem("mnuInfo")->trigger();
        QCOMPARE(title, Shipped("frmInfo.Caption"));
        QCOMPARE(missing, QStringList());
    }
};

const QByteArray MainWindowTest::kTwoClubs = " 2 \r\n002Blue Wings" + QByteArray(20, ' ') + QByteArray(30, ' ') +
                                             "\r\n010Red Tower" + QByteArray(21, ' ') + QByteArray(30, ' ') + "\r\n";

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
