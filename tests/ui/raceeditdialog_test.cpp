#include <QDateEdit>

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
    static QComboBox* Combo(QWidget* dialog, const char* name) { return dialog->findChild<QComboBox*>(name); }
    static QPushButton* Button(QWidget* dialog, const char* name) { return dialog->findChild<QPushButton*>(name); }
    static QString Fields(QWidget* dialog, std::initializer_list<const char*> names) {
        QStringList texts;
        for (const char* name : names) texts << Field(dialog, name)->text();
        return texts.join('|');
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
        App().timeSource = &today_;
        {
            RaceEditDialog nothing(nullptr); // without clubs or release points nothing can be stored
            QVERIFY(!Button(&nothing, "Command1")->isEnabled() && !Button(&nothing, "Command2")->isEnabled());
        }
        WriteRaceRegisters(folder);
        RaceEditDialog dialog(nullptr);
        QCOMPARE(Button(&dialog, "Command2")->text(), Shipped("frmRaceAdd.Command2.Caption(Add)"));
        QCOMPARE(dialog.findChild<QDateEdit*>("DTPicker1")->date(), QDate(2024, 5, 15));
        QCOMPARE(Field(&dialog, "Text9")->text(), QString("%1").arg(WeekNumber(2024, 5, 15), 2, 10, QChar('0')));
        QCOMPARE(Fields(&dialog, {"Text1", "Text2", "Text3", "Text4", "Text6", "Text8", "Text14"}), QString("|07|00|20|06|0|0000"));
        QCOMPARE(Combo(&dialog, "Combo1")->count(), 2);
        QCOMPARE(Combo(&dialog, "Combo2")->count(), 3); // blank slots are left out
        QCOMPARE(dialog.findChild<QLabel*>("Label13")->text(), Shipped("frmRaceAdd.Label13(Km).Caption"));
        Combo(&dialog, "Combo3")->setCurrentIndex(1);
        QCOMPARE(dialog.findChild<QLabel*>("Label13")->text(), Shipped("frmRaceAdd.Label13(miles).Caption"));
        // No nights: no closed period.
        for (const char* name : {"Text4", "Text5", "Text6", "Text7", "Label15", "Label6", "Label7"})
            QVERIFY(!dialog.findChild<QWidget*>(name)->isEnabled());

        // Saved as the default, the values come back in the next new race, but with today's date.
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text1"), "Weekly");
        Combo(&dialog, "Combo2")->setCurrentIndex(2);
        dialog.findChild<QDateEdit*>("DTPicker1")->setDate(QDate(2024, 4, 1));
        Button(&dialog, "Command1")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(folder.Read("racecalc/races.dat").isEmpty());
        today_.Set(MakeDateTime(2024, 6, 2));
        RaceEditDialog next(nullptr);
        QCOMPARE(Fields(&next, {"Text1", "Text9"}), "Weekly" + QString(24, ' ') + "|23");
        QCOMPARE(Combo(&next, "Combo2")->currentIndex(), 2);
        QCOMPARE(next.findChild<QDateEdit*>("DTPicker1")->date(), QDate(2024, 6, 2));
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
        QVERIFY(!KeepsFocus(&dialog, "Text8", "2x"));
        QVERIFY(KeepsFocus(&dialog, "Text4", "24")); // a night opens the closed period
        QVERIFY(!KeepsFocus(&dialog, "Text4", "23"));
        QVERIFY(KeepsFocus(&dialog, "Text9", "55"));
        QVERIFY(!KeepsFocus(&dialog, "Text9", "53"));
        QVERIFY(!KeepsFocus(&dialog, "Text14", "12a3"));
        QCOMPARE(Fields(&dialog, {"Text2", "Text8", "Text14"}), QString("07|2|123"));
    }

    void storingWritesTheRaceFileAndClosesTheEditor() {
        ProgramFolderFixture folder;
        Prepare(folder);
        RaceEditDialog dialog(nullptr);
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text1"), "Spring 1");
        Combo(&dialog, "Combo2")->setCurrentIndex(1); // REIMS
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
        QCOMPARE(race.releasePointNumber, 7);
        QCOMPARE(race.releaseLatitude, std::string("N49150000"));
        QCOMPARE(race.nights, 1);
        QCOMPARE(race.meanDistance, std::string("0025"));
        QCOMPARE(race.headerComment, PadRight("Opener", 60));
    }

    void refusalsAndAFailedSaveKeepTheEditorOpen() {
        ProgramFolderFixture folder;
        Prepare(folder);
        WriteTwoRaces(folder);
        const QByteArray before = folder.Read("racecalc/races.dat");
        RaceEditDialog dialog(nullptr);
        ShowActive(&dialog);
        const auto store = [&](const QString& name) {
            folder.Messages().Clear();
            TypeInto(Field(&dialog, "Text1"), name);
            Button(&dialog, "Command2")->click();
            return ShownTexts(folder.Messages());
        };
        QCOMPARE(store("Reims "), (QStringList{Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp2"), Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp1")}));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Exclamation);
        QVERIFY(Field(&dialog, "Text1")->hasFocus());
        QCOMPARE(store("   "), (QStringList{Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp4"), Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp3")}));
        Field(&dialog, "Text9")->setText("60"); // a box out of range takes the focus
        QCOMPARE(store("Autumn"), QStringList());
        QVERIFY(Field(&dialog, "Text9")->hasFocus());
        QCOMPARE(folder.Read("racecalc/races.dat"), before);

        Field(&dialog, "Text9")->setText("20");
        QVERIFY(SavingFails(folder.Messages(), [&] { store("Autumn"); }).startsWith(dialog.windowTitle() + ": "));
        QVERIFY(dialog.isVisible());
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
        QCOMPARE(MissingCaptionKeys(&dialog, "Alter"), QStringList());
        QVERIFY(!Button(&dialog, "Command1")->isEnabled());
        QCOMPARE(Combo(&dialog, "Combo2")->currentIndex(), 1);
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
};

QTEST_MAIN(RaceEditDialogTest)
#include "raceeditdialog_test.moc"
