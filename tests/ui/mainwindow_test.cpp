#include "racetestdata.h"

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

    void theKeysWalkDownAndUpTheLists() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        WriteRaceRegisters(folder);
        MainWindow w;
        QCOMPARE(w.List()->item(0)->text(), "007:     Nord" + QString(26, ' '));
        QCOMPARE(w.List()->selectionMode(), QAbstractItemView::SingleSelection);
        QStringList missing;
        QTest::keyClick(w.List(), Qt::Key_Return); // nothing selected: nothing happens
        QCOMPARE(ModalOpenedBy([&] { QTest::keyClick(w.List(), Qt::Key_Delete), QTest::qWait(50); }, &missing), QString());
        QCOMPARE(w.Mode(), ListMode::Clubs);
        w.List()->setCurrentRow(0);
        QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QString("007: Nord"));
        for (const char* on : {"mnuClubAlter", "mnuClubDelete", "mnuFancierShow"}) QVERIFY2(Enabled(w, on), on);

        QTest::keyClick(w.List(), Qt::Key_Return);
        QCOMPARE(w.Mode(), ListMode::Fanciers);
        QVERIFY(!Enabled(w, "mnuClubAlter") && Enabled(w, "mnuFancierAdd"));
        w.List()->setCurrentRow(1);
        w.List()->item(0)->setSelected(true); // fanciers and pigeons take several lines
        QCOMPARE(w.SelectedLines(), (std::vector<int>{0, 1}));
        QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QString("007: Nord / 012: Schulz"));
        for (const char* on : {"mnuPigeonShow", "mnuFancierAlter", "mnuFancierDelete", "mnuLoftSend", "mnuClubChange"})
            QVERIFY2(Enabled(w, on), on);

        QTest::keyClick(w.List(), Qt::Key_Return);
        QCOMPARE(w.Mode(), ListMode::Pigeons);
        QCOMPARE(w.List()->count(), 10);
        for (const ListMode up : {ListMode::Fanciers, ListMode::Clubs, ListMode::Clubs}) {
            QTest::keyClick(w.List(), Qt::Key_Escape);
            QCOMPARE(w.Mode(), up);
        }

        // Release points are a mode of their own that the club list ends.
        w.OpenMenuDialog("mnuRacePointsShow");
        QCOMPARE(w.Mode(), ListMode::RacePoints);
        QVERIFY(Enabled(w, "mnuRacePointsAdd"));
        w.OpenMenuDialog("mnuClubShow");
        w.List()->setCurrentRow(1);
        QCOMPARE(w.SelectedClubNumber, std::string("010"));
        QCOMPARE(w.SelectedRacePointNumber, std::string());
        QVERIFY(!Enabled(w, "mnuRacePointsAdd"));
    }

    void theSettingsOpenAfterASecondOnlyWithoutAUsablePort() {
        ProgramFolderFixture folder;
        FixedPorts ports({"COM 1", "COM 2"});
        App().settings.region = "007North" + std::string(25, ' ');
        for (const std::string port : {"2", "0", "", "7"}) {
            App().settings.comPort = port;
            MainWindow w;
            QVERIFY(w.StartupTimer()->isActive());
            QCOMPARE(w.StartupTimer()->interval(), 1000);
            QStringList missing;
            QCOMPARE(ModalOpenedBy([&] { w.StartupPortCheck(); }, &missing), port == "2" ? QString() : QString("frmSet"));
        }
    }

    void everyMenuItemAndTheDeleteKeyOpenTheirWindowWithEveryCaption() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        WriteRaceRegisters(folder);
        WriteTwoRaces(folder);
        App().settings.comPort = "1";
        SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); });
        MainWindow w;
        w.StartupTimer()->stop();
        using M = ListMode;
        // Club 007, then his fancier 012, then the first pigeon, or release point 05.
        const auto select = [&w](M mode) {
            w.VereineAnzeigen();
            w.List()->setCurrentRow(0);
            if (mode == M::Fanciers || mode == M::Pigeons) w.ZuechterAnzeigen(), w.List()->setCurrentRow(1);
            if (mode == M::Pigeons) w.TaubenAnzeigen(), w.List()->setCurrentRow(0);
            if (mode == M::RacePoints) w.RacePointsAnzeigen(), w.List()->setCurrentRow(4);
        };
        const QByteArray pigeons = folder.Read("pigeon/p007012.dat");
        QStringList missing;
        using P = std::pair<M, const char*>;
        for (const auto& [mode, window] : {P{M::Clubs, "frmClubDelete"}, P{M::Fanciers, "frmFancierDelete"},
                                           P{M::Pigeons, "frmPigeonsDelete"}}) {
            select(mode);
            QCOMPARE(ModalOpenedBy([&] { QTest::keyClick(w.List(), Qt::Key_Delete); }, &missing), QString(window));
        }
        QCOMPARE(folder.Read("pigeon/p007012.dat"), pigeons); // closed like Cancel

        struct Item {
            const char *menu, *window;
            M mode = M::Clubs;
            const char* captionMode = "";
        };
        const Item items[] = {
            {"mnuProgramSet", "frmSet"}, {"mnuInfo", "frmInfo"}, {"mnuClubAdd", "frmClubAdd"},
            {"mnuClubAlter", "frmClubAlter"}, {"mnuClubDelete", "frmClubDelete"},
            {"mnuFancierAdd", "frmFancierAdd", M::Fanciers}, {"mnuFancierAlter", "frmFancierAlter", M::Fanciers},
            {"mnuFancierDelete", "frmFancierDelete", M::Fanciers}, {"mnuClubChange", "frmClubChange", M::Fanciers},
            {"mnuPigeonAdd", "frmPigeonsAdd", M::Pigeons}, {"mnuPigeonAlter", "frmPigeonsAlter", M::Pigeons},
            {"mnuPigeonDelete", "frmPigeonsDelete", M::Pigeons}, {"mnuLoftSend", "frmLoftSend", M::Pigeons},
            {"mnuLoftGet", "frmLoftGet", M::Pigeons}, {"mnuRacePointsAdd", "frmRacePointsAdd", M::RacePoints},
            {"mnuRacePointsAlter", "frmRacePointsAlter", M::RacePoints},
            {"mnuRacePointsDelete", "frmRacePointsDelete", M::RacePoints}, {"mnuSendRacePoints", "frmRacePointsSend"},
            {"mnuSendTime", "frmSendTime"}, {"mnuPrintOverPC", "frmPrintOverPC"}, {"mnuPrintToFile", "frmPrintToFile"},
            {"mnuPrintToScreen", "frmPrintToScreen"}, {"mnuRaceEnterDistances", "frmEnterDistances"},
            {"mnuRaceAdd", "frmRaceAdd", M::Clubs, "Add"}, {"mnuRaceAlter", "frmRaceSelect", M::Clubs, "Alter"},
            {"mnuRaceDelete", "frmRaceSelect", M::Clubs, "Delete"},
            {"mnuRaceShow", "frmRaceSelect", M::Clubs, "ShowResults"},
            {"mnuRacePrint", "frmRaceSelect", M::Clubs, "PrintResults"},
            {"mnuRaceCalculate", "frmRaceSelect", M::Clubs, "Calculate"},
            {"mnuClockTimesManEnter", "frmClocktimesManAdd"},
            // The exchange windows work as they open: last, as they rewrite the registers.
            {"mnuFancierBuild", "frmFancierdataBuild"}, {"mnuLoftBuild", "frmLoftdataBuild"},
            {"mnuFancierRead", "frmFancierdataRead"}, {"mnuLoftRead", "frmLoftdataRead"},
        };
        for (const auto& item : items) {
            select(item.mode);
            QCOMPARE(ModalOpenedBy([&] { w.MenuItem(item.menu)->trigger(); }, &missing, item.captionMode),
                     QString(item.window));
            QVERIFY2(missing.isEmpty(), qPrintable(missing.join(' ')));
        }
        SetClockLinkFactoryForTests(nullptr);
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
