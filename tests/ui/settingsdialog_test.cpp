#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/appcontext.h"
#include "app/files.h"
#include "app/mainwindow.h"
#include "app/settingsdialog.h"
#include "uitestsupport.h"
#include "widgets/fixedfield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class SettingsDialogTest : public QObject {
    Q_OBJECT

    static FixedField* Field(QWidget* dialog, const char* name) { return dialog->findChild<FixedField*>(name); }

    static void FillValid(QWidget* dialog) {
        TypeInto(Field(dialog, "Text1"), "7");
        TypeInto(Field(dialog, "Text2"), "North");
        TypeInto(Field(dialog, "Text3"), "3");
        TypeInto(Field(dialog, "Text4"), "East");
    }

    static void TickPort(QWidget* dialog, const QString& entry) {
        auto* list = dialog->findChild<QListWidget*>("List1");
        const auto items = list->findItems(entry, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        items.first()->setCheckState(Qt::Checked);
    }

private slots:
    void fieldsFilterKeysAndPadOnLeaving() {
        ProgramFolderFixture folder;
        MainWindow main;
        SettingsDialog dialog(&main);
        dialog.show();
        TypeInto(Field(&dialog, "Text1"), "a1x2");
        QCOMPARE(Field(&dialog, "Text1")->text(), QString("012"));
        TypeInto(Field(&dialog, "Text1"), "12345");
        QCOMPARE(Field(&dialog, "Text1")->text(), QString("123"));
        TypeInto(Field(&dialog, "Text3"), "5");
        QCOMPARE(Field(&dialog, "Text3")->text(), QString("05"));
        TypeInto(Field(&dialog, "Text2"), "North");
        QCOMPARE(Field(&dialog, "Text2")->text(), "North" + QString(25, ' '));
        TypeInto(Field(&dialog, "Text4"), "");
        QCOMPARE(Field(&dialog, "Text4")->text(), QString());
        TypeInto(Field(&dialog, "Text4"), QString::fromUtf8("Ost\u221A")); // no such character in the code page
        QCOMPARE(Field(&dialog, "Text4")->text(), "Ost" + QString(27, ' '));
    }

    void savingWritesTheOptionsFileAndTheMainWindowFollows() {
        ProgramFolderFixture folder;
        PseudoTerminal pty;
        App().settings.comPort = pty.DevicePath().toStdString();
        MainWindow main;
        main.DisableCOMMenues();
        SettingsDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        FillValid(&dialog);
        dialog.findChild<QRadioButton*>("Option2")->click();
        dialog.findChild<QRadioButton*>("Option3")->click();
        TickPort(&dialog, "COM " + pty.DevicePath());
        dialog.findChild<QPushButton*>("Command1")->click();

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const QByteArray expected = "007North" + QByteArray(25, ' ') + "\r\n003East" + QByteArray(26, ' ') + "\r\n" +
                                    pty.DevicePath().toLocal8Bit() + "\r\n3\r\n";
        QCOMPARE(folder.Read("OPTIONS.PAR"), expected);
        QCOMPARE(main.PendingScaleRatio, 1.5F);
        QCOMPARE(App().settings.scaleFactor, 1.5F);
        QVERIFY(main.Menu("mnuCommunication")->menuAction()->isEnabled());
        QVERIFY(folder.Messages().Shown().empty());
    }

    void invalidFieldsAreRefusedWithMessageOne() {
        ProgramFolderFixture folder;
        MainWindow main;
        SettingsDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        folder.Messages().Clear();
        FillValid(&dialog);
        TypeInto(Field(&dialog, "Text1"), "256");
        dialog.findChild<QPushButton*>("Command1")->click();
        QCOMPARE(folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(folder.Messages().Shown()[0].title, Shipped("frmSet.MsgBoxName1"));
        QCOMPARE(folder.Messages().Shown()[0].text, Shipped("frmSet.MsgBoxText1"));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Critical);
        QVERIFY(folder.Read("OPTIONS.PAR").isEmpty());

        folder.Messages().Clear();
        TypeInto(Field(&dialog, "Text1"), "255");
        TypeInto(Field(&dialog, "Text2"), "");
        dialog.findChild<QPushButton*>("Command1")->click();
        QCOMPARE(folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(folder.Messages().Shown()[0].text, Shipped("frmSet.MsgBoxText1"));
    }

    void noTickedPortRefusesWithMessageThreeButKeepsTheRegion() {
        ProgramFolderFixture folder;
        MainWindow main;
        SettingsDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        QCOMPARE(folder.Messages().Shown().back().text, Shipped("frmSet.MsgBoxText5")); // no port stored
        folder.Messages().Clear();
        auto* list = dialog.findChild<QListWidget*>("List1");
        for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(Qt::Unchecked);
        FillValid(&dialog);
        dialog.findChild<QPushButton*>("Command1")->click();
        QCOMPARE(folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(folder.Messages().Shown()[0].text, Shipped("frmSet.MsgBoxText3"));
        QVERIFY(folder.Read("OPTIONS.PAR").isEmpty());
        QCOMPARE(App().settings.region, "007North" + std::string(25, ' '));
        QVERIFY(dialog.isVisible());
    }

    void aStoredPortThatIsGoneTicksTheLastAvailable() {
        ProgramFolderFixture folder;
        FixedPorts ports({"COM 1", "COM 3", "COM 5"});
        App().settings.comPort = "4";
        MainWindow main;
        SettingsDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        QCOMPARE(folder.Messages().Shown().back().text, Shipped("frmSet.MsgBoxText4"));
        QCOMPARE(dialog.SelectedPort(), std::string("5"));
    }

    void theStoredPortIsTickedAndTickingAnotherUnticksIt() {
        ProgramFolderFixture folder;
        FixedPorts ports({"COM 1", "COM 3", "COM 5"});
        App().settings.comPort = "03";
        MainWindow main;
        SettingsDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        QVERIFY(folder.Messages().Shown().empty());
        QCOMPARE(dialog.SelectedPort(), std::string("3"));
        dialog.findChild<QListWidget*>("List1")->item(0)->setCheckState(Qt::Checked);
        QCOMPARE(dialog.SelectedPort(), std::string("1"));
        QCOMPARE(dialog.findChild<QListWidget*>("List1")->item(1)->checkState(), Qt::Unchecked);
    }

    void noPortsAtAllRefusesTheSave() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        MainWindow main;
        SettingsDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        QCOMPARE(folder.Messages().Shown().back().text, Shipped("frmSet.MsgBoxText5"));
        FillValid(&dialog);
        dialog.findChild<QPushButton*>("Command1")->click();
        QCOMPARE(folder.Messages().Shown().back().text, Shipped("frmSet.MsgBoxText3"));
    }

    void cancelAndEscapeWithoutPortDisableTheClockMenus() {
        ProgramFolderFixture folder;
        MainWindow main;
        QVERIFY(main.Menu("mnuCommunication")->menuAction()->isEnabled());
        {
            SettingsDialog dialog(&main);
            dialog.show();
            QApplication::processEvents();
            dialog.findChild<QRadioButton*>("Option3")->click();
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        QCOMPARE(main.PendingScaleRatio, 1.0F);
        for (const char* name : {"mnuCommunication", "mnuTerminal"}) QVERIFY(!main.Menu(name)->menuAction()->isEnabled());
        for (const char* name : {"mnuSendTime", "mnuPrintOverPC", "mnuPrintToFile", "mnuPrintToScreen"})
            QVERIFY(!main.MenuItem(name)->isEnabled());
        QVERIFY(folder.Read("OPTIONS.PAR").isEmpty());
    }

    void aFailedSaveIsReportedAndTheOldFileStays() {
        ProgramFolderFixture folder;
        FixedPorts ports({"COM 1"});
        folder.Write("OPTIONS.PAR", "old\r\n");
        MainWindow main;
        SettingsDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        folder.Messages().Clear();
        FillValid(&dialog);
        TickPort(&dialog, "COM 1");
        SetSaveFaultForTests([](const Path&) { return true; });
        dialog.findChild<QPushButton*>("Command1")->click();
        SetSaveFaultForTests(nullptr);
        QCOMPARE(folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Critical);
        QVERIFY(folder.Messages().Shown()[0].text.contains("OPTIONS.PAR"));
        QCOMPARE(folder.Read("OPTIONS.PAR"), QByteArray("old\r\n"));
    }

    void everyCaptionKeyIsShipped() {
        ProgramFolderFixture folder;
        MainWindow main;
        SettingsDialog dialog(&main);
        QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
    }

};

QTEST_MAIN(SettingsDialogTest)
#include "settingsdialog_test.moc"
