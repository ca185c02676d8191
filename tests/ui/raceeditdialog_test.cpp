#include <QDateEdit>

#include "racetestdata.h"
#include "ui/race/raceeditdialog.h"

// The field rules and the race file are core's; here the editor's defaults, enable rules and what it stores.
class RaceEditDialogTest : public QObject {
    Q_OBJECT

    FrozenTimeSource today_{MakeDateTime(2024, 5, 15, 9, 30)};

    static FixedField* Field(QWidget* dialog, const char* name) { return dialog->findChild<FixedField*>(name); }
    static QComboBox* Combo(QWidget* dialog, const char* name) { return dialog->findChild<QComboBox*>(name); }
    static QPushButton* Button(QWidget* dialog, const char* name) { return dialog->findChild<QPushButton*>(name); }
    static QDate Date(QWidget* dialog) { return dialog->findChild<QDateEdit*>("DTPicker1")->date(); }

    void Prepare(ProgramFolderFixture& folder) {
        WriteRaceRegisters(folder);
        App().timeSource = &today_;
    }

private slots:
    void aNewRaceStartsFromTheStoredDefaultAndToday() {
        ProgramFolderFixture folder;
        App().timeSource = &today_;
        {
            RaceEditDialog nothing(nullptr); // without clubs or release points nothing can be stored
            QVERIFY(!Button(&nothing, "Command1")->isEnabled() && !Button(&nothing, "Command2")->isEnabled());
        }
        WriteRaceRegisters(folder);
        RaceEditDialog dialog(nullptr);
        QCOMPARE(Button(&dialog, "Command2")->text(), Shipped("frmRaceAdd.Command2.Caption(Add)"));
        QCOMPARE(Date(&dialog), QDate(2024, 5, 15));
        QCOMPARE(Combo(&dialog, "Combo2")->count(), 3); // blank slots are left out
        Combo(&dialog, "Combo3")->setCurrentIndex(1);
        QCOMPARE(dialog.findChild<QLabel*>("Label13")->text(), Shipped("frmRaceAdd.Label13(miles).Caption"));
        for (const char* name : {"Text4", "Text5", "Text6", "Text7", "Label15", "Label6", "Label7"})
            QVERIFY2(!dialog.findChild<QWidget*>(name)->isEnabled(), name); // no nights: no closed period

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
        QCOMPARE(Field(&next, "Text1")->text() + "|" + Field(&next, "Text9")->text(), "Weekly" + QString(24, ' ') + "|23");
        QCOMPARE(Combo(&next, "Combo2")->currentIndex(), 2);
        QCOMPARE(Date(&next), QDate(2024, 6, 2));
    }

    void aNightOpensTheClosedPeriodAndReturnStoresTheRace() {
        ProgramFolderFixture folder;
        Prepare(folder);
        RaceEditDialog dialog(nullptr);
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text1"), "Spring1");
        TypeInto(Field(&dialog, "Text8"), "1");
        QVERIFY(Field(&dialog, "Text4")->isEnabled());
        TypeInto(Field(&dialog, "Text4"), "23");
        Combo(&dialog, "Combo2")->setCurrentIndex(1); // REIMS
        TypeInto(Field(&dialog, "Text12"), "Opener");
        TypeInto(Field(&dialog, "Text14"), "25");
        QTest::keyClick(Field(&dialog, "Text14"), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(folder.Messages().Shown().empty());
        const RaceList list = LoadRaces(App().programFolder);
        QCOMPARE(list.Count(), std::size_t(1));
        const Race& race = list.races[0];
        QCOMPARE((QList<int>{race.releasePointNumber, race.nights, race.closedFromHour}), (QList<int>{7, 1, 23}));
        QCOMPARE(race.name + race.releaseLatitude + race.meanDistance + race.headerComment,
                 PadRight("Spring1", 30) + "N49150000" + "0025" + PadRight("Opener", 60));
    }

    void aDuplicateNameOrAFailedSaveKeepsTheEditorOpen() {
        ProgramFolderFixture folder;
        Prepare(folder);
        WriteTwoRaces(folder);
        const QByteArray before = folder.Read("racecalc/races.dat");
        RaceEditDialog dialog(nullptr);
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text1"), "Reims ");
        Button(&dialog, "Command2")->click();
        QCOMPARE(ShownTexts(folder.Messages()), (QStringList{Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp2"), Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp1")}));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Exclamation);
        QVERIFY(Field(&dialog, "Text1")->hasFocus());
        QCOMPARE(folder.Read("racecalc/races.dat"), before);
        TypeInto(Field(&dialog, "Text1"), "Autumn");
        Field(&dialog, "Text9")->setText("60"); // a box out of range, never left, takes the focus on storing
        Button(&dialog, "Command2")->click();
        QVERIFY(Field(&dialog, "Text9")->hasFocus() && folder.Read("racecalc/races.dat") == before);
        Field(&dialog, "Text9")->setText("20");
        QVERIFY(SavingFails(folder.Messages(), [&] { Button(&dialog, "Command2")->click(); }).startsWith(dialog.windowTitle() + ": "));
        QVERIFY(dialog.isVisible());
        QCOMPARE(folder.Read("racecalc/races.dat"), before);
    }

    void theClosedPeriodRunsOverMidnightAndTheWeekFitsTheYear() {
        ProgramFolderFixture folder;
        Prepare(folder);
        RaceEditDialog dialog(nullptr);
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text1"), "New Year");
        TypeInto(Field(&dialog, "Text8"), "1");
        TypeInto(Field(&dialog, "Text4"), "05"); // 05:00 to 06:00 is no night
        Button(&dialog, "Command2")->click();
        QCOMPARE(ShownTexts(folder.Messages()), (QStringList{Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp6"), Shipped("frmRaceAdd.frmRaceAddMsgBoxHelp5")}));
        QVERIFY(Field(&dialog, "Text4")->hasFocus());
        TypeInto(Field(&dialog, "Text4"), "21");
        dialog.findChild<QDateEdit*>("DTPicker1")->setDate(QDate(2026, 12, 31));
        Field(&dialog, "Text9")->setText("54");
        Button(&dialog, "Command2")->click();
        QVERIFY(Field(&dialog, "Text9")->hasFocus() && dialog.isVisible());
        Field(&dialog, "Text9")->setText("53");
        Button(&dialog, "Command2")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(LoadRaces(App().programFolder).races.at(0).flightWeek, 53);
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
        QCOMPARE(Date(&dialog), QDate(2024, 5, 22));
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
