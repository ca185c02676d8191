#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/appcontext.h"
#include "race/raceeditdialog.h"
#include "app/weeks.h"
#include "racetestdata.h"
#include "widgets/rangefield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class RaceEditDialogTest : public QObject {
    Q_OBJECT

    FrozenTimeSource today_{MakeDateTime(2024, 5, 15, 9, 30)};

    static FixedField* Field(QWidget* dialog, const char* name) { return dialog->findChild<FixedField*>(name); }
    static QPushButton* Button(QWidget* dialog, const char* name) { return dialog->findChild<QPushButton*>(name); }

    static void ShowActive(QWidget* dialog) {
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
    }

    // Types into a box and tries to leave it for the name box; true when the focus stayed.
    static bool KeepsFocus(QWidget* dialog, const char* name, const QString& text) {
        FixedField* box = Field(dialog, name);
        box->setFocus();
        QApplication::processEvents();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
        Field(dialog, name == QString("Text1") ? "Text12" : "Text1")->setFocus();
        QApplication::processEvents();
        QApplication::processEvents();
        return box->hasFocus();
    }

    void Prepare(ProgramFolderFixture& folder) {
        WriteRaceRegisters(folder);
        App().timeSource = &today_;
    }

private slots:
    void aNewRaceStartsFromTheBuiltInValuesAndToday() {
        ProgramFolderFixture folder;
        Prepare(folder);
        RaceEditDialog dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), Shipped("frmRaceAdd.Caption(Add)"));
        QCOMPARE(Button(&dialog, "Command2")->text(), Shipped("frmRaceAdd.Command2.Caption(Add)"));
        QCOMPARE(MissingCaptionKeys(&dialog, "Add"), QStringList());
        QCOMPARE(Field(&dialog, "Text1")->text(), QString());
        QCOMPARE(dialog.findChild<QDateEdit*>("DTPicker1")->date(), QDate(2024, 5, 15));
        QCOMPARE(Field(&dialog, "Text9")->text(), QString("%1").arg(WeekNumber(2024, 5, 15), 2, 10, QChar('0')));
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("07"));
        QCOMPARE(Field(&dialog, "Text3")->text(), QString("00"));
        QCOMPARE(Field(&dialog, "Text4")->text(), QString("20"));
        QCOMPARE(Field(&dialog, "Text6")->text(), QString("06"));
        QCOMPARE(Field(&dialog, "Text8")->text(), QString("0"));
        QCOMPARE(Field(&dialog, "Text14")->text(), QString("0000"));
        QCOMPARE(dialog.findChild<QComboBox*>("Combo1")->count(), 2);
        QCOMPARE(dialog.findChild<QComboBox*>("Combo2")->count(), 3); // blank slots are left out
        QCOMPARE(dialog.findChild<QComboBox*>("Combo3")->itemText(1), QString("Miles, Yards"));
        QCOMPARE(dialog.findChild<QLabel*>("Label13")->text(), Shipped("frmRaceAdd.Label13(Km).Caption"));
        dialog.findChild<QComboBox*>("Combo3")->setCurrentIndex(1);
        QCOMPARE(dialog.findChild<QLabel*>("Label13")->text(), Shipped("frmRaceAdd.Label13(miles).Caption"));
        // No nights: no closed period.
        for (const char* name : {"Text4", "Text5", "Text6", "Text7", "Label15", "Label6", "Label7"})
            QVERIFY(!dialog.findChild<QWidget*>(name)->isEnabled());
        QVERIFY(Button(&dialog, "Command1")->isEnabled());
    }

    void inputRulesOfTheEditor() {
        ProgramFolderFixture folder;
        Prepare(folder);
        RaceEditDialog dialog(nullptr);
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text1"), QString::fromUtf8("Sp\u00e4t/Flug_1 .x"));
        QCOMPARE(Field(&dialog, "Text1")->text(), QString("SptFlug_1 x"));
        QVERIFY(KeepsFocus(&dialog, "Text2", "24"));
        QVERIFY(!KeepsFocus(&dialog, "Text2", "7"));
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("07"));
        QVERIFY(!KeepsFocus(&dialog, "Text3", ""));
        QCOMPARE(Field(&dialog, "Text3")->text(), QString("00"));
        QVERIFY(KeepsFocus(&dialog, "Text3", "60"));
        QVERIFY(!KeepsFocus(&dialog, "Text3", "59"));
        QVERIFY(!KeepsFocus(&dialog, "Text8", ""));
        QCOMPARE(Field(&dialog, "Text8")->text(), QString("0"));
        QVERIFY(!KeepsFocus(&dialog, "Text8", "2x"));
        QCOMPARE(Field(&dialog, "Text8")->text(), QString("2"));
        QVERIFY(Field(&dialog, "Text4")->isEnabled());
        QVERIFY(KeepsFocus(&dialog, "Text4", "24"));
        QVERIFY(!KeepsFocus(&dialog, "Text4", "23"));
        QVERIFY(KeepsFocus(&dialog, "Text7", "75"));
        QVERIFY(!KeepsFocus(&dialog, "Text7", "5"));
        QCOMPARE(Field(&dialog, "Text7")->text(), QString("05"));
        QVERIFY(KeepsFocus(&dialog, "Text9", "0"));
        QVERIFY(KeepsFocus(&dialog, "Text9", "55"));
        QVERIFY(!KeepsFocus(&dialog, "Text9", "53"));
        QVERIFY(!KeepsFocus(&dialog, "Text14", "12a3"));
        QCOMPARE(Field(&dialog, "Text14")->text(), QString("123"));
    }

    void storingWritesTheRaceFileAndClosesTheEditor() {
        ProgramFolderFixture folder;
        Prepare(folder);
        RaceEditDialog dialog(nullptr);
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text1"), "Spring 1");
        dialog.findChild<QComboBox*>("Combo2")->setCurrentIndex(1); // REIMS
        TypeInto(Field(&dialog, "Text8"), "1");
        TypeInto(Field(&dialog, "Text12"), "Opener");
        TypeInto(Field(&dialog, "Text14"), "25");
        QTest::keyClick(Field(&dialog, "Text14"), Qt::Key_Return); // Return stores
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(folder.Messages().Shown().empty());

        const RaceList list = LoadRaces(App().programFolder);
        QCOMPARE(list.Count(), std::size_t(1));
        const Race& race = list.races[0];
        QCOMPARE(race.name, PadRight("Spring 1", 30));
        QCOMPARE(race.clubNumber, 7);
        QCOMPARE(race.releasePointNumber, 7);
        QCOMPARE(race.releaseLatitude, std::string("N49150000"));
        QCOMPARE(race.nights, 1);
        QVERIFY(race.overNight);
        QCOMPARE(race.meanDistance, std::string("0025"));
        QCOMPARE(race.headerComment, PadRight("Opener", 60));
        QCOMPARE(race.day, 15);
        QCOMPARE(race.releaseHour, 7);
    }

    void aUsedOrEmptyNameIsRefusedAndTheEditorStaysOpen() {
        ProgramFolderFixture folder;
        Prepare(folder);
        WriteTwoRaces(folder);
        const QByteArray before = folder.Read("racecalc/races.dat");
        RaceEditDialog dialog(nullptr);
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text1"), "Reims ");
        Button(&dialog, "Command2")->click();
        QCOMPARE(folder.Messages().Shown().size(), std::size_t(1));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Exclamation);
        QCOMPARE(folder.Messages().Shown()[0].title, Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp2"));
        QCOMPARE(folder.Messages().Shown()[0].text, Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp1"));
        QVERIFY(Field(&dialog, "Text1")->hasFocus());
        QVERIFY(dialog.isVisible());

        folder.Messages().Clear();
        TypeInto(Field(&dialog, "Text1"), "   ");
        Button(&dialog, "Command2")->click();
        QCOMPARE(folder.Messages().Shown().size(), std::size_t(1));
        QCOMPARE(folder.Messages().Shown()[0].title, Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp4"));
        QCOMPARE(folder.Messages().Shown()[0].text, Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp3"));
        QVERIFY(!Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp3").isEmpty());
        QCOMPARE(folder.Read("racecalc/races.dat"), before);

        // A box out of range is not stored either: the focus goes to it.
        folder.Messages().Clear();
        TypeInto(Field(&dialog, "Text1"), "Autumn");
        Field(&dialog, "Text9")->setText("60");
        Button(&dialog, "Command2")->click();
        QVERIFY(folder.Messages().Shown().empty());
        QVERIFY(Field(&dialog, "Text9")->hasFocus());
        QCOMPARE(folder.Read("racecalc/races.dat"), before);
    }

    void withoutClubsOrReleasePointsNothingCanBeStored() {
        ProgramFolderFixture folder;
        App().timeSource = &today_;
        RaceEditDialog dialog(nullptr);
        QVERIFY(!Button(&dialog, "Command1")->isEnabled());
        QVERIFY(!Button(&dialog, "Command2")->isEnabled());
    }

    void saveAsDefaultGivesTheNextNewRaceItsValuesButTodaysDate() {
        ProgramFolderFixture folder;
        Prepare(folder);
        {
            RaceEditDialog dialog(nullptr);
            ShowActive(&dialog);
            TypeInto(Field(&dialog, "Text1"), "Weekly");
            dialog.findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
            dialog.findChild<QComboBox*>("Combo2")->setCurrentIndex(2);
            dialog.findChild<QComboBox*>("Combo3")->setCurrentIndex(1);
            TypeInto(Field(&dialog, "Text2"), "6");
            TypeInto(Field(&dialog, "Text13"), "Footer");
            dialog.findChild<QDateEdit*>("DTPicker1")->setDate(QDate(2024, 4, 1));
            Button(&dialog, "Command1")->click();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QVERIFY(folder.Read("racecalc/races.dat").isEmpty());
        QVERIFY(folder.Read("racecalc/RaceCalcDef.dat").startsWith(" 1 \r\nWeekly"));

        today_.Set(MakeDateTime(2024, 6, 2));
        RaceEditDialog next(nullptr);
        QCOMPARE(Field(&next, "Text1")->text(), "Weekly" + QString(24, ' '));
        QCOMPARE(next.findChild<QComboBox*>("Combo1")->currentIndex(), 1);
        QCOMPARE(next.findChild<QComboBox*>("Combo2")->currentIndex(), 2);
        QCOMPARE(next.findChild<QComboBox*>("Combo3")->currentIndex(), 1);
        QCOMPARE(Field(&next, "Text2")->text(), QString("06"));
        QCOMPARE(Field(&next, "Text13")->text(), "Footer" + QString(54, ' '));
        QCOMPARE(next.findChild<QDateEdit*>("DTPicker1")->date(), QDate(2024, 6, 2));
        QCOMPARE(Field(&next, "Text9")->text(), QString("23"));
    }

    void alterShowsTheRaceAndReplacesIt() {
        ProgramFolderFixture folder;
        Prepare(folder);
        Race gone = TestRace("Reims", 22, 7);
        gone.clubName = PadRight("Old club", 30); // no longer in the register
        folder.Write("racecalc/races.dat", Bytes(" 2 \r\n" + RaceToLine(TestRace("Spring 1", 15, 5)) + "\r\n" +
                                                 RaceToLine(gone) + "\r\n"));
        RaceEditDialog dialog(nullptr, LoadRaces(App().programFolder), 2);
        QCOMPARE(dialog.windowTitle(), Shipped("frmRaceAdd.Caption(Alter)"));
        QCOMPARE(Button(&dialog, "Command2")->text(), Shipped("frmRaceAdd.Command2.Caption(Alter)"));
        QCOMPARE(MissingCaptionKeys(&dialog, "Alter"), QStringList());
        QVERIFY(!Button(&dialog, "Command1")->isEnabled());
        QCOMPARE(dialog.findChild<QComboBox*>("Combo1")->currentIndex(), 0);
        QCOMPARE(dialog.findChild<QComboBox*>("Combo2")->currentIndex(), 1);
        QCOMPARE(dialog.findChild<QDateEdit*>("DTPicker1")->date(), QDate(2024, 5, 22));
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text3"), "45");
        Button(&dialog, "Command2")->click(); // its own name is no duplicate
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const RaceList list = LoadRaces(App().programFolder);
        QCOMPARE(list.Count(), std::size_t(2));
        QCOMPARE(list.races[1].releaseMinute, 45);
        QCOMPARE(list.races[1].clubName, PadRight("Nord", 30));
    }

    void aFailedSaveIsShown() {
        ProgramFolderFixture folder;
        Prepare(folder);
        RaceEditDialog dialog(nullptr);
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text1"), "Spring");
        SetSaveFaultForTests([](const Path&) { return true; });
        Button(&dialog, "Command2")->click();
        SetSaveFaultForTests(nullptr);
        QCOMPARE(folder.Messages().Shown().size(), std::size_t(1));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Critical);
        QCOMPARE(folder.Messages().Shown()[0].title, dialog.windowTitle());
        QVERIFY(dialog.isVisible());
    }
};

QTEST_MAIN(RaceEditDialogTest)
#include "raceeditdialog_test.moc"
