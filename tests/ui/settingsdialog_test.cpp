#include <QScreen>
#include <cmath>

#include "core/app/options.h"
#include "ui/app/settingsdialog.h"
#include "uitestsupport.h"

// The settings window, and the scaling of a window to the chosen size that it shows first.
class SettingsDialogTest : public QObject {
    Q_OBJECT

    static void Fill(QWidget* dialog, const QString& region, const QString& name = "North") {
        Typed(dialog, "Text1", region);
        Typed(dialog, "Text2", name);
        Typed(dialog, "Text3", "3");
        Typed(dialog, "Text4", "East");
    }
    static QListWidgetItem* Port(QWidget* dialog, int row) { return dialog->findChild<QListWidget*>("List1")->item(row); }

private slots:
    void choosingTheSizeScalesTheWindowAndSavingWritesTheOptionsFile() {
        ProgramFolderFixture folder;
        FixedPorts ports({"COM 1", "COM 3", "COM 5"});
        App().settings.comPort = "03";
        MainWindow main;
        main.DisableCOMMenues();
        SettingsDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        QCOMPARE(dialog.SelectedPort(), std::string("3")); // the stored port is ticked
        Fill(&dialog, "7");
        // The largest size scales the window at once: fonts by kind of control, the size, and centred again.
        const QSize before = dialog.size();
        dialog.findChild<QRadioButton*>("Option3")->click();
        QCOMPARE(dialog.size(), QSize(std::lround(before.width() * 1.5F), std::lround(before.height() * 1.5F)));
        const QRect screen = dialog.screen()->geometry();
        QCOMPARE(dialog.pos(), QPoint(screen.x() + (screen.width() - dialog.width()) / 2,
                                      screen.y() + (screen.height() - dialog.height()) / 2));
        const auto points = [&dialog](const char* name) { return dialog.findChild<QWidget*>(name)->font().pointSize(); };
        QCOMPARE((QList<int>{points("Text1"), points("List1"), points("Label5")}), (QList<int>{18, 18, 16}));
        Port(&dialog, 2)->setCheckState(Qt::Checked);
        QCOMPARE(Port(&dialog, 1)->checkState(), Qt::Unchecked); // one port at a time
        Click(&dialog);

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(folder.Read("OPTIONS.PAR"),
                 "007North" + QByteArray(25, ' ') + "\r\n003East" + QByteArray(26, ' ') + "\r\n5\r\n3\r\n");
        QCOMPARE(main.PendingScaleRatio, 1.5F);
        QVERIFY(main.Menu("mnuCommunication")->menuAction()->isEnabled());
        QVERIFY(folder.Messages().Shown().empty());
    }

    void eachMenuSettingShowsAndHidesItsMenusAndSurvivesARestart() {
        ProgramFolderFixture folder;
        FixedPorts ports({"COM 1"});
        App().settings.region = "007North" + std::string(25, ' ');
        App().settings.federation = "003East" + std::string(26, ' ');
        App().settings.comPort = "1";
        const auto visible = [](const MainWindow& w, const char* name) {
            return w.MenuItem(name) ? w.MenuItem(name)->isVisible() : w.Menu(name)->menuAction()->isVisible();
        };
        struct Case { const char* check; QStringList shown, other; };
        const Case cases[] = {{"Check1", {"mnuRaceCalc", "mnuClockTimesManEnter"}, {"mnuTerminal", "mnuVeloxanLoad"}},
                              {"Check2", {"mnuTerminal", "mnuVeloxanLoad"}, {"mnuRaceCalc", "mnuClockTimesManEnter"}}};
        for (const Case& c : cases) {
            for (const bool on : {true, false}) {
                auto main = std::make_unique<MainWindow>();
                {
                    SettingsDialog dialog(main.get());
                    dialog.show();
                    QApplication::processEvents(); // ticks the stored port
                    dialog.findChild<QCheckBox*>(c.check)->setChecked(on);
                    Click(&dialog);
                }
                for (int restart = 0; restart < 2; ++restart) {
                    for (const QString& name : c.shown) QVERIFY2(visible(*main, qPrintable(name)) == on, qPrintable(name));
                    for (const QString& name : c.other) QVERIFY2(!visible(*main, qPrintable(name)), qPrintable(name));
                    // Shown, the items keep their state: the one loader item stays disabled.
                    QVERIFY(!main->MenuItem("mnuVeloxanLoad")->isEnabled() && main->MenuItem("mnuRaceCalculate")->isEnabled());
                    App().settings = ReadOptions(folder.Path().toStdString());
                    main = std::make_unique<MainWindow>();
                }
            }
        }
        QCOMPARE(folder.Read("OPTIONS.PAR").count("\r\n"), 4);
        QVERIFY(folder.Messages().Shown().empty());
    }

    void refusalsAndAFailedSaveAreShownAndWriteNothing() {
        ProgramFolderFixture folder;
        FixedPorts ports({"COM 1", "COM 3", "COM 5"});
        App().settings.comPort = "4"; // gone: the last available is ticked
        MainWindow main;
        SettingsDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        QCOMPARE(ShownTexts(folder.Messages()), NumberedMessage("frmSet", 4));
        QCOMPARE(dialog.SelectedPort(), std::string("5"));
        const std::string before = App().settings.region + App().settings.federation;
        struct Case { const char *region, *name; bool ticked; int message; };
        for (const Case& c : {Case{"256", "North", true, 1}, Case{"255", "", true, 1}, Case{"7", "North", false, 3}}) {
            folder.Messages().Clear();
            Fill(&dialog, c.region, c.name);
            Port(&dialog, 2)->setCheckState(c.ticked ? Qt::Checked : Qt::Unchecked);
            Click(&dialog);
            QCOMPARE(ShownTexts(folder.Messages()), NumberedMessage("frmSet", c.message));
            QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Critical);
            QVERIFY(dialog.isVisible());
        }
        QCOMPARE(App().settings.region + App().settings.federation, before); // a refusal changes nothing
        QVERIFY(folder.Read("OPTIONS.PAR").isEmpty());

        folder.Write("OPTIONS.PAR", "old\r\n");
        Port(&dialog, 2)->setCheckState(Qt::Checked);
        QVERIFY(SavingFails(folder.Messages(), [&] { Click(&dialog); }).contains("OPTIONS.PAR"));
        QCOMPARE(folder.Read("OPTIONS.PAR"), QByteArray("old\r\n"));
    }

    void withoutAPortMessageFiveAndEscapeDisableTheClockMenus() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        MainWindow main;
        SettingsDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        QCOMPARE(folder.Messages().Shown().back().text, Shipped("frmSet.MsgBoxText5"));
        dialog.findChild<QRadioButton*>("Option3")->click();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(main.PendingScaleRatio, 1.0F);
        for (const char* name : {"mnuCommunication", "mnuTerminal"}) QVERIFY(!main.Menu(name)->menuAction()->isEnabled());
        QVERIFY(!main.MenuItem("mnuSendTime")->isEnabled());
        QVERIFY(folder.Read("OPTIONS.PAR").isEmpty());
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settingsdialog_test.moc"
