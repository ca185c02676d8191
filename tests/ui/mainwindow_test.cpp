#include <QFile>
#include <QMenuBar>
#include <QScreen>
#include <QSet>
#include <QSpinBox>

#include "common/textcodec.h"
#include "core/app/options.h"
#include "ui/app/formtexts.h"
#include "ui/app/settingsdialog.h"
#include "ui/app/startup.h"
#include "ui/clock/terminalprogramloaddialog.h"
#include "ui/race/resultexportdialog.h"
#include "ui/race/resultprint.h"
#include "uitestsupport.h"

// The main window's menus, keys and start; every menu item opens its window with every caption,
// and the terminal menus hand their load window its image code and title. Then the settings
// window, and the scaling of a window to the chosen size that it shows first.
class MainWindowTest : public UiTest {
    Q_OBJECT

    void Cleanup() override {
        TransferDialog::SetTimingForTests(nullptr);
        SetClockLinkFactoryForTests(nullptr);
    }

    // Every menu and item in menu order, each marked when disabled or hidden; compared with ui/expected/menus/<state>.txt.
    static QByteArray Menus(const QWidget* menu) {
        QByteArray states;
        for (const QAction* action : menu->actions()) {
            const QString name = action->menu() ? action->menu()->objectName() : action->objectName();
            if (!name.isEmpty()) states += name.toUtf8() + (action->isEnabled() ? "" : " off") + (action->isVisible() ? "" : " hidden") + "\n";
            if (action->menu()) states += Menus(action->menu());
        }
        return states;
    }
    static QByteArray MenusIn(const QString& state) { return Golden("ui/expected/menus/" + state + ".txt"); }
    // Runs `open`; answers the object name of the modal window it showed (closed again at once), the caption
    // keys the shipped catalogue lacks and the texts in English where the catalogue in use words them otherwise.
    static QStringList Opened(const std::function<void()>& open, const QString& mode = {}) {
        QStringList seen;
        ModalWatcher watcher([&](QWidget* modal) { seen << modal->objectName() << MissingCaptionKeys(modal, mode) << English(modal); });
        open();
        return seen;
    }
    // Every text a window shows: title, captions, menus, tool tips, fields.
    static QStringList ShownWords(QWidget* window) {
        QStringList texts{window->windowTitle()};
        for (QObject* o : window->findChildren<QObject*>())
            for (const char* property : {"text", "title", "toolTip"}) texts << WithoutAccessKey(o->property(property).toString());
        return texts;
    }
    static QStringList English(QWidget* window) {
        QSet<QString> otherwise; // the shipped English texts the folder's catalogue words otherwise
        const TextCatalogue inUse = LoadCatalogue();
        for (const QString& key : QString(Golden("catalogue/keys.txt")).split('\n', Qt::SkipEmptyParts))
            if (Shipped(key) != ToQt(inUse.LookupText(key.toStdString()))) otherwise << WithoutAccessKey(Shipped(key));
        QStringList english;
        for (const QString& text : ShownWords(window)) if (otherwise.contains(text)) english << text;
        return english;
    }
    // What Qt's own dialog shows that its translation words otherwise: each class asks in its name.
    static QStringList UntranslatedQt(QWidget* dialog) {
        QSet<QByteArray> contexts{"QPlatformTheme"}; // the standard buttons'
        for (QObject* o : dialog->findChildren<QObject*>() + QObjectList{dialog})
            for (const QMetaObject* m = o->metaObject(); m; m = m->superClass()) contexts << m->className();
        QStringList english{dialog->metaObject()->className()};
        for (const QString& text : ShownWords(dialog))
            for (const QByteArray& context : contexts)
                if (!text.isEmpty() && QCoreApplication::translate(context, text.toUtf8()) != text) english << text;
        english.removeDuplicates();
        return english;
    }

    static QListWidgetItem* Port(QWidget* dialog, int row) { return dialog->findChild<QListWidget*>("List1")->item(row); }

private slots:
    void aFirstStartCopiesTheCatalogueOnlyWhereThereIsNoneAndReportsWhatCannotBeWritten() {
        QTemporaryDir own;
        folder->Write(own.filePath("CLUB.TXT"), "frmSet.Caption=Einstellungen\r\n");
        QCOMPARE(PrepareProgramFolder(own.path().toStdString()), QStringList());
        QVERIFY(!QFile::exists(own.filePath("club.txt")));
        // A program folder below a file: nothing can be created there, even by root.
        const QStringList problems = PrepareProgramFolder((own.filePath("CLUB.TXT") + "/folder").toStdString());
        QCOMPARE(problems.size(), 4);
        const char* const said[] = {"exchange, race, racepo, club, fancier, pigeon", "club.txt cannot be read",
                                    "OPTIONS.PAR cannot be used", "plumet.ini cannot be used"};
        for (int i = 0; i < 4; ++i) QVERIFY2(problems[i].contains(said[i]), qPrintable(problems[i]));
        QCOMPARE(QString::fromStdString(LoadCatalogue().LookupText("frmSet.Caption")), Shipped("frmSet.Caption"));
    }

    void startsWithTitleMenusAndTheEmptyClubList() {
        QCOMPARE(folder->Read("club.txt"), folder->Read(":/data/club.txt"));
        MainWindow w;
        QCOMPARE(w.windowTitle(), QString("Plumet Rederivevizo ZK-ORT  1.65      -RO"));
        QCOMPARE(w.List()->item(0)->text(), Shipped("frmMain.txtNoClub"));
        QVERIFY(w.Mode() == ListMode::Clubs && w.List()->count() == 1 && !w.List()->isEnabled());
        w.List()->setCurrentRow(0); // the "no club" line is no club to alter
        QCOMPARE(Menus(w.menuBar()), MenusIn("start"));
        QCOMPARE(w.findChild<QLabel*>("Label2")->text(), QString("COM "));
        QCOMPARE(MissingCaptionKeys(&w), QStringList{"frmMain.Caption"}); // the title is fixed, not a text
        QCOMPARE(w.Menu("mnuExchangedata")->title(), Shipped("frmMain.mnuExchangeData.Caption"));
        QCOMPARE(w.MenuItem("mnu2FancierLoadVPPAD")->text(), Shipped("frmMain.mnu2FancierLoad.Caption"));
    }

    void theKeysWalkDownAndUpTheLists() {
        folder->Install("ui/race");
        MainWindow w;
        QCOMPARE(w.List()->item(0)->text(), "007:     Nord" + QString(26, ' '));
        QCOMPARE(w.List()->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QString("007: Nord")); // the first line, chosen at start
        w.List()->clearSelection();
        QTest::keyClick(w.List(), Qt::Key_Return); // nothing selected: nothing happens
        QCOMPARE(Opened([&] { QTest::keyClick(w.List(), Qt::Key_Delete), QTest::qWait(50); }), QStringList());
        QCOMPARE(w.Mode(), ListMode::Clubs);
        w.List()->setCurrentRow(0);
        QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QString("007: Nord"));
        QCOMPARE(Menus(w.menuBar()), MenusIn("club"));

        QTest::keyClick(w.List(), Qt::Key_Return);
        QCOMPARE(w.Mode(), ListMode::Fanciers);
        QCOMPARE(Menus(w.menuBar()), MenusIn("fancier")); // the first fancier chosen, as the line shows
        w.List()->setCurrentRow(1);
        w.List()->item(0)->setSelected(true); // fanciers and pigeons take several lines
        QCOMPARE(w.SelectedLines(), (std::vector<int>{0, 1}));
        QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QString("007: Nord / 012: Schulz"));
        QCOMPARE(Menus(w.menuBar()), MenusIn("fancier"));

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
        QCOMPARE(Menus(w.menuBar()), MenusIn("racepoints"));
        w.OpenMenuDialog("mnuClubShow");
        w.List()->item(1)->setText("999:     Other"); // the selection comes from the entry, not its text
        w.List()->setCurrentRow(1);
        QCOMPARE(w.SelectedClubNumber, std::string("010"));
        QCOMPARE(w.SelectedRacePointNumber, std::string("01")); // chosen with its list, untouched by the club
        QCOMPARE(Menus(w.menuBar()), MenusIn("club"));

        const QByteArray broken = " 98 \r\n01short\r\n"; // an empty list would pass for no points at all
        folder->Write("racepo/racepo.dat", broken);
        folder->Messages().Clear();
        w.OpenMenuDialog("mnuRacePointsShow");
        QVERIFY(w.List()->count() == 1 && !w.List()->isEnabled());
        QCOMPARE(w.List()->item(0)->text(), Shipped("frmMain.txtRacePointsUnreadable"));
        QVERIFY(folder->Critical().contains("racepo.dat"));
        QCOMPARE(folder->Read("racepo/racepo.dat"), broken);
    }

    void theSettingsOpenAfterASecondOnlyWithoutAUsablePort() {
        SetPorts({"COM 1", "COM 2"});
        App().settings.region = "007North" + std::string(25, ' ');
        for (const std::string port : {"2", "0", "", "7"}) {
            App().settings.comPort = port;
            MainWindow w;
            QVERIFY(w.StartupTimer()->isActive());
            QCOMPARE(w.StartupTimer()->interval(), 1000);
            QCOMPARE(Opened([&] { w.StartupPortCheck(); }), port == "2" ? QStringList() : QStringList{"frmSet"});
            QCOMPARE(folder->Told().size(), port == "2" ? 0 : 2); // saying why
        }
    }

    // … in German, with no English text where German words it otherwise; so too Qt's own file dialog and preview.
    void everyMenuItemAndTheDeleteKeyOpenTheirWindowWithEveryCaptionInGerman() {
        folder->Install("ui/tworaces");
        folder->Write("club.txt", ReadFile(":/data/club.de.txt"));
        UseCatalogueLanguage();
        App().settings.comPort = "1";
        SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); });
        IdleMainWindow w;
        const QByteArray pigeons = folder->Read("pigeon/p007012.dat");
        // A line each: the Delete key or menu item, the selection, the caption mode and the window opened; the
        // exchange windows come last, as they work as they open and rewrite the registers.
        const QStringList items = QString(Golden("ui/expected/menu-windows.txt")).split('\n', Qt::SkipEmptyParts);
        QStringList opened;
        for (const QString& line : items) {
            const QStringList item = line.split(' ');
            SelectForMenu(w, item[1]);
            const auto open = [&] { item[0] == "Delete" ? QTest::keyClick(w.List(), Qt::Key_Delete) : w.MenuItem(item[0])->trigger(); };
            opened << QStringList(item.mid(0, 3) + Opened(open, item[2] == "-" ? "" : item[2])).join(' ');
        }
        QCOMPARE(opened, items);
        folder->Messages().Clear(); // some windows say at once what they lack
        QCOMPARE(folder->Read("pigeon/p007012.dat"), pigeons); // the Delete key's windows closed like Cancel
        QCOMPARE(English(&w), QStringList());

        QStringList qtOwn;
        std::optional<ModalWatcher> preview;
        ModalWatcher file([&](QWidget* dialog) { qtOwn << UntranslatedQt(dialog); });
        AskExportFile(&w, "Metz", "Metz");
        ModalWatcher pages([&](QWidget* dialog) {
            preview.emplace([&](QWidget* shown) { qtOwn << UntranslatedQt(shown); });
            Click(dialog);
        });
        PrintPages(&w, "Metz", {PrintPage{}});
        QCOMPARE(qtOwn, (QStringList{"QFileDialog", "QPrintPreviewDialog"}));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen")); // so Qt speaks German
    }

    void eachTerminalMenuEntryHandsOverItsCodeAndTitle() {
        App().settings.comPort = "1";
        ScriptedClockLink link;
        HoldLink hold(link);
        // Each window is still waiting to start when the watcher looks and closes it.
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(60000); });
        IdleMainWindow w;
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
                expected << QString("%1%2 ").arg(g + 1).arg(n) + WithoutAccessKey(w.MenuItem(item)->text()) + " (" +
                                WithoutAccessKey(w.Menu(groups[g].second)->title()).left(20) + ")"
                         << "frmTerminalProgramLoad.Caption"; // the title comes from the menu, not a key of its own
            }
        }
        open("mnuVeloxanLoad");
        expected << "C " + Shipped("frmTerminalprogramLoad.txtVeloxanLoad") << "frmTerminalProgramLoad.Caption";
        QCOMPARE(opened, expected);
    }
    void settingsChoosingTheSizeScalesTheWindowAndSavingWritesTheOptionsFile() {
        SetPorts({"COM 1", "COM 3", "COM 5"});
        App().settings.comPort = "03";
        MainWindow main;
        main.DisableCOMMenues();
        Showing<SettingsDialog> dialog(&main);
        QApplication::processEvents();
        QCOMPARE(dialog.SelectedPort(), std::string("3")); // the stored port is ticked
        // The largest size changes nothing while the dialog is open: its buttons stay under the pointer.
        const QRect before = dialog.geometry();
        dialog.findChild<QRadioButton*>("Option3")->click();
        QCOMPARE(dialog.geometry(), before);
        Port(&dialog, 2)->setCheckState(Qt::Checked);
        QCOMPARE(Port(&dialog, 1)->checkState(), Qt::Unchecked); // one port at a time
        Fill(&dialog, {"7", "North", "3", "East"});

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(folder->Read("OPTIONS.PAR"), Golden("ui/expected/OPTIONS.PAR"));
        QCOMPARE(main.PendingScaleRatio, 1.5F);
        QVERIFY(main.Menu("mnuCommunication")->menuAction()->isEnabled());
    }

    // Saved from the menu, the size takes effect on the main window, by kind of control; cancelled, nothing changes.
    void theMainWindowTakesTheSizeSavedInTheSettings() {
        SetPorts({"COM 1"});
        App().settings.comPort = "1";
        IdleMainWindow main;
        const auto choose = [&main](const char* option, bool save) {
            ModalWatcher watcher([&](QWidget* dialog) {
                dialog->findChild<QRadioButton*>(option)->click();
                if (save) Fill(dialog, {"7", "N", "3", "E"});
            });
            main.OpenMenuDialog("mnuProgramSet");
            return QList<int>{main.List()->font().pointSize(), main.findChild<QLabel*>("Label3")->font().pointSize(), main.width()};
        };
        const QList<int> small = choose("Option1", false), larger = choose("Option2", true);
        QVERIFY(larger[0] == 12 && larger[1] == 10 && larger[2] > small[2]);
        QVERIFY(choose("Option1", false) == larger && choose("Option1", true) == small);
    }

    void settingsForEachMenuShowAndHideItsMenusAndSurviveARestart() {
        SetPorts({"COM 1"});
        App().settings.region = "007North" + std::string(25, ' ');
        App().settings.federation = "003East" + std::string(26, ' ');
        App().settings.comPort = "1";
        for (const char* check : {"Check1", "Check2"}) {
            for (const bool on : {true, false}) {
                auto main = std::make_unique<MainWindow>();
                {
                    Showing<SettingsDialog> dialog(main.get());
                    QApplication::processEvents(); // ticks the stored port
                    dialog.findChild<QCheckBox*>(check)->setChecked(on);
                    Click(&dialog);
                }
                for (int restart = 0; restart < 2; ++restart) {
                    // Shown, the items keep their state: the one loader item stays disabled.
                    const QString state = QString(check) + (on ? "-on" : "-off");
                    QCOMPARE(Menus(main->menuBar()), MenusIn(state));
                    App().settings = ReadOptions(folder->Path().toStdString());
                    main = std::make_unique<MainWindow>();
                }
            }
        }
        QCOMPARE(folder->Read("OPTIONS.PAR").count("\r\n"), 4);
    }

    void settingsRefusalsAndAFailedSaveAreShownAndWriteNothing() {
        SetPorts({"COM 1", "COM 3", "COM 5"});
        App().settings.comPort = "4"; // gone: the last available is ticked
        MainWindow main;
        Showing<SettingsDialog> dialog(&main);
        QApplication::processEvents();
        QCOMPARE(folder->Told(), NumberedMessage("frmSet", 4));
        QCOMPARE(dialog.SelectedPort(), std::string("5"));
        const std::string before = App().settings.region + App().settings.federation;
        struct Case { const char *region, *name; bool ticked; int message; };
        for (const Case& c : {Case{"256", "North", true, 1}, Case{"255", "", true, 1}, Case{"7", "North", false, 3}}) {
            Port(&dialog, 2)->setCheckState(c.ticked ? Qt::Checked : Qt::Unchecked);
            Fill(&dialog, {c.region, c.name, "3", "East"});
            QCOMPARE(folder->Messages().Shown()[0].icon, MessageIcon::Critical);
            QCOMPARE(folder->Told(), NumberedMessage("frmSet", c.message));
            QVERIFY(dialog.isVisible());
        }
        QCOMPARE(App().settings.region + App().settings.federation, before); // a refusal changes nothing
        QVERIFY(folder->Read("OPTIONS.PAR").isEmpty());

        folder->Write("OPTIONS.PAR", "old\r\n");
        Port(&dialog, 2)->setCheckState(Qt::Checked);
        QVERIFY(SavingFails(folder->Messages(), [&] { Click(&dialog); }).contains("OPTIONS.PAR"));
        QCOMPARE(folder->Read("OPTIONS.PAR"), QByteArray("old\r\n"));
    }

    void settingsKeepTheCheckSheetLimitsAndRefuseAnEmptySpeedBand() {
        SetPorts({"COM 1"});
        App().settings.comPort = "1";
        MainWindow main;
        Showing<SettingsDialog> dialog(&main);
        QApplication::processEvents();
        const auto limit = [&](int n) { return dialog.findChild<QSpinBox*>("Text" + QString::number(n)); };
        limit(5)->setValue(90);
        limit(6)->setValue(2200);
        Fill(&dialog, {"12", "North", "3", "East"});
        QCOMPARE(folder->Told().value(0), Shipped("frmSet.MsgBoxName6"));
        QVERIFY(dialog.isVisible() && folder->Read("plumet.ini").isEmpty());
        limit(6)->setValue(250);
        Fill(&dialog, {"12", "North", "3", "East"});
        QVERIFY2(folder->Read("plumet.ini").endsWith("CheckClockDeviation=90\r\nCheckSlowestSpeed=250\r\n"),
                 folder->Read("plumet.ini").constData());
    }

    void settingsWithoutAPortMessageFiveAndEscapeDisableTheClockMenus() {
        MainWindow main;
        Showing<SettingsDialog> dialog(&main);
        QApplication::processEvents();
        QCOMPARE(folder->Told().value(1), Shipped("frmSet.MsgBoxText5"));
        dialog.findChild<QRadioButton*>("Option3")->click();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(main.PendingScaleRatio, 1.0F);
        QCOMPARE(Menus(main.menuBar()), MenusIn("noport"));
        QVERIFY(folder->Read("OPTIONS.PAR").isEmpty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
