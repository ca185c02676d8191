#include <QFile>

#include "racetestdata.h"
#include "ui/app/formtexts.h"
#include "ui/app/startup.h"
#include "ui/clock/terminalprogramloaddialog.h"

// The main window's menus, keys and start; every menu item opens its window with every caption,
// and the terminal menus hand their load window its image code and title.
class MainWindowTest : public QObject {
    Q_OBJECT

    static QAction* Item(const MainWindow& w, const char* name) {
        QAction* a = w.MenuItem(name);
        return a ? a : w.Menu(name)->menuAction();
    }
    static void Expect(const MainWindow& w, std::initializer_list<const char*> names, bool (QAction::*is)() const, bool on) {
        for (const char* name : names) QVERIFY2((Item(w, name)->*is)() == on, name);
    }
    // Runs `open`; answers the object name of the modal window it showed (closed again at once)
    // followed by the caption keys of that window the shipped catalogue lacks.
    static QStringList Opened(const std::function<void()>& open, const QString& mode = {}) {
        QStringList seen;
        ModalWatcher watcher([&](QWidget* modal) { seen << modal->objectName() << MissingCaptionKeys(modal, mode); });
        open();
        return seen;
    }

private slots:
    void aFirstStartCopiesTheCatalogueOnlyWhereThereIsNoneAndReportsWhatCannotBeWritten() {
        QTemporaryDir own;
        QFile catalogue(own.filePath("CLUB.TXT"));
        QVERIFY(catalogue.open(QIODevice::WriteOnly) && catalogue.write("frmSet.Caption=Einstellungen\r\n") > 0);
        catalogue.close();
        QCOMPARE(PrepareProgramFolder(own.path().toStdString()), QStringList());
        QVERIFY(!QFile::exists(own.filePath("club.txt")));
        // A program folder below a file: nothing can be created there, even by root.
        const QStringList problems = PrepareProgramFolder((own.filePath("CLUB.TXT") + "/folder").toStdString());
        QCOMPARE(problems.size(), 3);
        const char* const said[] = {"exchange, race, racepo, club, fancier, pigeon", "club.txt cannot be read",
                                    "OPTIONS.PAR cannot be used"};
        for (int i = 0; i < 3; ++i) QVERIFY2(problems[i].contains(said[i]), qPrintable(problems[i]));
        QCOMPARE(QString::fromStdString(LoadCatalogue().LookupText("frmSet.Caption")), Shipped("frmSet.Caption"));
    }

    void startsWithTitleMenusAndTheEmptyClubList() {
        ProgramFolderFixture folder;
        QFile written(folder.Path() + "/club.txt"), shipped(":/data/club.txt");
        QVERIFY(written.open(QIODevice::ReadOnly) && shipped.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), shipped.readAll());
        FixedPorts ports({});
        MainWindow w;
        QCOMPARE(w.windowTitle(), QString("Plumet Rederivevizo ZK-ORT  1.65      -RO"));
        QCOMPARE(w.List()->item(0)->text(), Shipped("frmMain.txtNoClub"));
        QVERIFY(w.Mode() == ListMode::Clubs && w.List()->count() == 1 && !w.List()->isEnabled());
        Expect(w, {"mnuClubShow", "mnuClubAdd", "mnuRacedataGet", "mnuInfo", "mnuRacePointsShow"}, &QAction::isEnabled, true);
        Expect(w, {"mnuClubAlter", "mnuClubDelete", "mnuFancierAdd", "mnuFancierAlter", "mnuFancierDelete", "mnuFancierShow",
                   "mnuClubChange", "mnuPigeonAdd", "mnuPigeonAlter", "mnuPigeonDelete", "mnuPigeonShow", "mnuLoftSend",
                   "mnuRacePointsAdd", "mnuRacePointsAlter", "mnuRacePointsDelete", "mnuVeloxanLoad"},
               &QAction::isEnabled, false);
        Expect(w, {"mnuTerminal", "mnuRaceCalc", "mnuClockTimesManEnter", "mnuVeloxanLoad"}, &QAction::isVisible, false);
        Expect(w, {"mnuProgram", "mnuExchangedata", "mnuExtras", "mnuLoftGet", "mnu3FancierLoadVPPGD"}, &QAction::isVisible, true);
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
        QTest::keyClick(w.List(), Qt::Key_Return); // nothing selected: nothing happens
        QCOMPARE(Opened([&] { QTest::keyClick(w.List(), Qt::Key_Delete), QTest::qWait(50); }), QStringList());
        QCOMPARE(w.Mode(), ListMode::Clubs);
        w.List()->setCurrentRow(0);
        QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QString("007: Nord"));
        Expect(w, {"mnuClubAlter", "mnuClubDelete", "mnuFancierShow"}, &QAction::isEnabled, true);

        QTest::keyClick(w.List(), Qt::Key_Return);
        QCOMPARE(w.Mode(), ListMode::Fanciers);
        QVERIFY(!Item(w, "mnuClubAlter")->isEnabled() && Item(w, "mnuFancierAdd")->isEnabled());
        w.List()->setCurrentRow(1);
        w.List()->item(0)->setSelected(true); // fanciers and pigeons take several lines
        QCOMPARE(w.SelectedLines(), (std::vector<int>{0, 1}));
        QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QString("007: Nord / 012: Schulz"));
        Expect(w, {"mnuPigeonShow", "mnuFancierAlter", "mnuFancierDelete", "mnuLoftSend", "mnuClubChange"}, &QAction::isEnabled, true);

        QTest::keyClick(w.List(), Qt::Key_Return);
        QCOMPARE(w.Mode(), ListMode::Pigeons);
        QCOMPARE(w.List()->count(), 10);
        for (const ListMode up : {ListMode::Fanciers, ListMode::Clubs, ListMode::Clubs}) {
            QTest::keyClick(w.List(), Qt::Key_Escape);
            QCOMPARE(w.Mode(), up);
        }
        // Release points are a mode of their own that the club list ends.
        w.OpenMenuDialog("mnuRacePointsShow");
        QVERIFY(w.Mode() == ListMode::RacePoints && Item(w, "mnuRacePointsAdd")->isEnabled());
        w.OpenMenuDialog("mnuClubShow");
        w.List()->item(1)->setText("999:     Other"); // the selection comes from the entry, not its text
        w.List()->setCurrentRow(1);
        QCOMPARE(w.SelectedClubNumber, std::string("010"));
        QCOMPARE(w.SelectedRacePointNumber, std::string());
        QVERIFY(!Item(w, "mnuRacePointsAdd")->isEnabled());

        const QByteArray broken = " 98 \r\n01short\r\n"; // an empty list would pass for no points at all
        folder.Write("racepo/racepo.dat", broken);
        folder.Messages().Clear();
        w.OpenMenuDialog("mnuRacePointsShow");
        QVERIFY(w.List()->count() == 1 && !w.List()->isEnabled());
        QCOMPARE(w.List()->item(0)->text(), Shipped("frmMain.txtRacePointsUnreadable"));
        QCOMPARE(folder.Messages().Shown().size(), size_t(1));
        QVERIFY(folder.Messages().Shown()[0].text.contains("racepo.dat"));
        QCOMPARE(folder.Read("racepo/racepo.dat"), broken);
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
            QCOMPARE(Opened([&] { w.StartupPortCheck(); }), port == "2" ? QStringList() : QStringList{"frmSet"});
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
        using P = std::pair<M, const char*>;
        for (const auto& [mode, window] : {P{M::Clubs, "frmClubDelete"}, P{M::Fanciers, "frmFancierDelete"},
                                           P{M::Pigeons, "frmPigeonsDelete"}}) {
            select(mode);
            QCOMPARE(Opened([&] { QTest::keyClick(w.List(), Qt::Key_Delete); }), QStringList{window});
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
            {"mnuClockTimesManEnter", "frmClocktimesManAdd"}, {"mnuRacedataGet", "frmRacedataGet"},
            {"mnuExportRaceDataToXML", "frmRaceDataExportToXML"},
            // The exchange windows work as they open: last, as they rewrite the registers.
            {"mnuFancierBuild", "frmFancierdataBuild"}, {"mnuLoftBuild", "frmLoftdataBuild"},
            {"mnuFancierRead", "frmFancierdataRead"}, {"mnuLoftRead", "frmLoftdataRead"},
        };
        for (const auto& item : items) {
            select(item.mode);
            QCOMPARE(Opened([&] { w.MenuItem(item.menu)->trigger(); }, item.captionMode), QStringList{item.window});
        }
        SetClockLinkFactoryForTests(nullptr);
    }

    void eachTerminalMenuEntryHandsOverItsCodeAndTitle() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        App().settings.comPort = "1";
        ScriptedClockLink link;
        HoldLink hold(link);
        // Each window is still waiting to start when the watcher looks and closes it.
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(60000); });
        MainWindow w;
        w.StartupTimer()->stop();
        const std::pair<const char*, const char*> groups[] = {
            {"VP", "mnuVeloxanP"}, {"VPPAD", "mnuVeloxanPPAD"}, {"VPPGD", "mnuVeloxanPPGD"}};
        QStringList opened, expected;
        const auto open = [&](const QString& item) {
            ModalWatcher watcher([&](QWidget* modal) {
                opened << static_cast<TerminalProgramLoadDialog*>(modal)->Code() + " " + modal->windowTitle()
                       << MissingCaptionKeys(modal);
            });
            w.OpenMenuDialog(item);
        };
        for (int g = 0; g < 3; ++g) {
            for (int n = 1; n <= 4; ++n) {
                const QString item = QString("mnu%1FancierLoad%2").arg(n).arg(groups[g].first);
                open(item);
                expected << QString("%1%2 ").arg(g + 1).arg(n) + w.MenuItem(item)->text() + " (" +
                                w.Menu(groups[g].second)->title().left(20) + ")"
                         << "frmTerminalProgramLoad.Caption"; // the title comes from the menu, not a key of its own
            }
        }
        open("mnuVeloxanLoad");
        expected << "C " + Shipped("frmTerminalprogramLoad.txtVeloxanLoad") << "frmTerminalProgramLoad.Caption";
        QCOMPARE(opened, expected);
        QVERIFY(folder.Messages().Shown().empty());
        TransferDialog::SetTimingForTests(nullptr);
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
