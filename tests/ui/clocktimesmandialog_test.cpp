#include "racetestdata.h"
#include "ui/race/clocktimesmandialog.h"
#include "ui/widgets/rangefield.h"

// The file and its save rule are core's; here the lists, the Add/Remove button and when it saves.
class ClockTimesManDialogTest : public QObject {
    Q_OBJECT

    static RangeField* Box(QWidget* dialog, int n) { return dialog->findChild<RangeField*>(QString("Text%1").arg(n)); }
    static QComboBox* Combo(QWidget* dialog, const char* name) { return dialog->findChild<QComboBox*>(name); }
    static QPushButton* AddRemove(QWidget* dialog) { return dialog->findChild<QPushButton*>("Command1"); }
    static bool Added(QWidget* dialog, int pigeon) { return Combo(dialog, "Combo3")->itemText(pigeon).endsWith(" / OK"); }
    static int Lines(const ProgramFolderFixture& folder) { return folder.Read("racecalc/Spring 1_wf012.man").count('\n'); }

    // Chooses pigeon `index` and adds it with the arrival day, hour and minute.
    static void AddPigeon(QWidget* dialog, int index, int day, int hour, int minute) {
        Combo(dialog, "Combo3")->setCurrentIndex(index);
        const int values[] = {day, 5, hour, minute, 7};
        for (int n = 1; n <= 5; ++n) TypeInto(Box(dialog, n), QString::number(values[n - 1]));
        AddRemove(dialog)->click();
    }

private slots:
    void addingPigeonsMarksThemAndOkWritesTheirFile() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        WriteTwoRaces(folder);
        ClockTimesManDialog dialog(nullptr);
        ShowActive(&dialog);
        QCOMPARE(Combo(&dialog, "Combo1")->count(), 2);
        QCOMPARE(Combo(&dialog, "Combo2")->currentText(), QString("Meier"));
        QCOMPARE(Combo(&dialog, "Combo3")->count(), 0); // Meier has no pigeons
        QVERIFY(!AddRemove(&dialog)->isEnabled());
        Combo(&dialog, "Combo2")->setCurrentIndex(1);
        QCOMPARE(Combo(&dialog, "Combo3")->count(), 10);
        QCOMPARE(AddRemove(&dialog)->text(), Shipped("frmClocktimesManAdd.Command1.Caption(Add)"));
        // A box outside its range keeps the focus, and Add takes no such arrival.
        TypeInto(Box(&dialog, 18), "60");
        QApplication::processEvents();
        QVERIFY(Box(&dialog, 18)->hasFocus());
        TypeInto(Box(&dialog, 18), "");
        Box(&dialog, 2)->setText("13");
        AddRemove(&dialog)->click();
        QVERIFY(!Added(&dialog, 0) && Box(&dialog, 2)->hasFocus());
        TypeInto(Box(&dialog, 2), "");
        AddPigeon(&dialog, 1, 0, 11, 42); // no arrival day: such a pigeon would vanish from the result
        QVERIFY(!Added(&dialog, 1) && Box(&dialog, 1)->hasFocus());
        QCOMPARE(ShownTexts(folder.Messages()), NumberedMessage("frmClocktimesManAdd", 1));
        folder.Messages().Clear();

        AddPigeon(&dialog, 1, 15, 11, 42);
        QVERIFY(Added(&dialog, 1));
        QCOMPARE(AddRemove(&dialog)->text(), Shipped("frmClocktimesManAdd.Command1.Caption(Remove)"));
        AddPigeon(&dialog, 8, 16, 6, 1);
        QCOMPARE(dialog.findChild<QLabel*>("Label16")->text(), Shipped("frmClocktimesManAdd.PigeonsAdded") + "2" +
                                                                   Shipped("frmClocktimesManAdd.PigeonsAddedOf") + "10");
        folder.Write("racecalc/_wf000.man", "stray");
        dialog.findChild<QPushButton*>("OKButton")->click();
        QVERIFY(dialog.result() == QDialog::Accepted && !QFile::exists(folder.Path() + "/racecalc/_wf000.man"));
        QCOMPARE(Lines(folder), 5); // head, fancier, timer, two pigeons
        QVERIFY(folder.Read("racecalc/Spring 1_wf012.man").contains("DV    2023012340000109M05016050601070"));
        QVERIFY(folder.Messages().Shown().empty());
    }

    void choosingAnotherFancierOrRaceSavesTheOneLeft() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        WriteTwoRaces(folder);
        ClockTimesManDialog dialog(nullptr);
        ShowActive(&dialog);
        Combo(&dialog, "Combo2")->setCurrentIndex(1);
        AddPigeon(&dialog, 0, 15, 12, 0);
        Combo(&dialog, "Combo2")->setCurrentIndex(2); // Weber, never touched
        QCOMPARE(Lines(folder), 4);
        QVERIFY(!QFile::exists(folder.Path() + "/racecalc/Spring 1_wf013.man"));

        // Back to Schulz: the file is read again; removing the pigeon clears its boxes.
        Combo(&dialog, "Combo2")->setCurrentIndex(1);
        QVERIFY(Added(&dialog, 0));
        Combo(&dialog, "Combo3")->setCurrentIndex(0);
        QCOMPARE(Box(&dialog, 1)->text(), QString("15"));
        AddRemove(&dialog)->click();
        QVERIFY(!Added(&dialog, 0));
        QCOMPARE(Box(&dialog, 1)->text(), QString("01"));
        Combo(&dialog, "Combo1")->setCurrentIndex(1); // another race
        QVERIFY(!QFile::exists(folder.Path() + "/racecalc/Spring 1_wf012.man"));
        QCOMPARE(Combo(&dialog, "Combo2")->currentText(), QString("Meier"));
    }

    void withoutRacesTheListsStayEmptyAndOkWritesNothing() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        ClockTimesManDialog dialog(nullptr);
        QVERIFY(Combo(&dialog, "Combo1")->count() == 0 && Combo(&dialog, "Combo2")->count() == 0);
        dialog.findChild<QPushButton*>("OKButton")->click();
        QVERIFY(!QDir(folder.Path() + "/racecalc").exists());
    }
};

QTEST_MAIN(ClockTimesManDialogTest)
#include "clocktimesmandialog_test.moc"
