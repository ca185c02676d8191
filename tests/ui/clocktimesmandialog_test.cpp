#include "race/clocktimesmandialog.h"
#include "racetestdata.h"
#include "widgets/rangefield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class ClockTimesManDialogTest : public QObject {
    Q_OBJECT

    static RangeField* Box(QWidget* dialog, int n) {
        return dialog->findChild<RangeField*>(QString("Text%1").arg(n));
    }
    static QComboBox* Combo(QWidget* dialog, const char* name) { return dialog->findChild<QComboBox*>(name); }
    static QPushButton* AddRemove(QWidget* dialog) { return dialog->findChild<QPushButton*>("Command1"); }

    // Chooses pigeon `index` and adds it with the arrival day, hour and minute.
    static void AddPigeon(QWidget* dialog, int index, int day, int hour, int minute) {
        Combo(dialog, "Combo3")->setCurrentIndex(index);
        const int values[] = {day, 5, hour, minute, 7};
        for (int n = 1; n <= 5; ++n) TypeInto(Box(dialog, n), QString::number(values[n - 1]));
        AddRemove(dialog)->click();
    }

    static void EnterTimer(QWidget* dialog, const QList<int>& values) {
        for (int n = 0; n < values.size(); ++n) TypeInto(Box(dialog, 6 + n), QString::number(values[n]));
    }

    static QList<QByteArray> Lines(const QByteArray& bytes) {
        QList<QByteArray> lines = bytes.split('\n');
        if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
        return lines;
    }

private slots:
    void addingThreeOfTenPigeonsWritesTheirFile() {
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
        QCOMPARE(dialog.findChild<QLabel*>("Label16")->text(), Shipped("frmClocktimesManAdd.PigeonsAdded") + "0" +
                                                                   Shipped("frmClocktimesManAdd.PigeonsAddedOf") + "10");
        // A box outside its range keeps the focus, and Add takes no such arrival.
        TypeInto(Box(&dialog, 18), "60");
        QApplication::processEvents();
        QVERIFY(Box(&dialog, 18)->hasFocus());
        TypeInto(Box(&dialog, 18), "");
        Box(&dialog, 2)->setText("13");
        AddRemove(&dialog)->click();
        QVERIFY(!Combo(&dialog, "Combo3")->itemText(0).endsWith(" / OK"));
        QVERIFY(Box(&dialog, 2)->hasFocus());
        TypeInto(Box(&dialog, 2), "");
        QCOMPARE(Box(&dialog, 2)->text(), QString("00"));

        EnterTimer(&dialog, {14, 5, 18, 0, 0, 16, 5, 20, 0, 0, 20, 0, 5});
        AddPigeon(&dialog, 1, 15, 11, 42);
        QVERIFY(Combo(&dialog, "Combo3")->itemText(1).endsWith(" / OK"));
        QCOMPARE(AddRemove(&dialog)->text(), Shipped("frmClocktimesManAdd.Command1.Caption(Remove)"));
        AddPigeon(&dialog, 8, 16, 6, 1);
        AddPigeon(&dialog, 4, 15, 11, 45);
        QVERIFY(dialog.findChild<QLabel*>("Label16")->text().contains("3"));
        folder.Write("racecalc/_wf000.man", "stray");
        dialog.findChild<QPushButton*>("OKButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!QFile::exists(folder.Path() + "/racecalc/_wf000.man"));

        const QList<QByteArray> lines = Lines(folder.Read("racecalc/Spring 1_wf012.man"));
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QByteArray("0150524\r"));
        QCOMPARE(lines[1].mid(7, 3), QByteArray("003"));
        QCOMPARE(lines[2], QByteArray("2007012014051800001605200000200005\r"));
        QVERIFY(lines[3].startsWith("3007012DV    2023012340000102M05015051142070"));
        QVERIFY(lines[4].startsWith("3007012DV    2023012340000105M05015051145070"));
        QVERIFY(lines[5].startsWith("3007012DV    2023012340000109M05016050601070"));
        QVERIFY(folder.Messages().Shown().empty());
    }

    void choosingAnotherFancierAppliesTheSaveRule() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        WriteTwoRaces(folder);
        ClockTimesManDialog dialog(nullptr);
        ShowActive(&dialog);
        Combo(&dialog, "Combo2")->setCurrentIndex(1);
        AddPigeon(&dialog, 0, 15, 12, 0);
        Combo(&dialog, "Combo2")->setCurrentIndex(2); // Weber, never touched
        QVERIFY(QFile::exists(folder.Path() + "/racecalc/Spring 1_wf012.man"));
        QVERIFY(!QFile::exists(folder.Path() + "/racecalc/Spring 1_wf013.man"));

        // Back to Schulz: the file is read again; remove the pigeon, timer dates entered.
        Combo(&dialog, "Combo2")->setCurrentIndex(1);
        QVERIFY(Combo(&dialog, "Combo3")->itemText(0).endsWith(" / OK"));
        Combo(&dialog, "Combo3")->setCurrentIndex(0);
        QCOMPARE(Box(&dialog, 1)->text(), QString("15"));
        AddRemove(&dialog)->click();
        QVERIFY(!Combo(&dialog, "Combo3")->itemText(0).endsWith(" / OK"));
        QCOMPARE(Box(&dialog, 1)->text(), QString("01"));
        EnterTimer(&dialog, {14, 5, 18, 0, 0, 16, 5});
        Combo(&dialog, "Combo2")->setCurrentIndex(0);
        QCOMPARE(Lines(folder.Read("racecalc/Spring 1_wf012.man")).size(), 3);

        // Without pigeons and with a timer date cleared the file goes.
        Combo(&dialog, "Combo2")->setCurrentIndex(1);
        TypeInto(Box(&dialog, 12), "");
        QCOMPARE(Box(&dialog, 12)->text(), QString("00"));
        Combo(&dialog, "Combo1")->setCurrentIndex(1); // another race
        QVERIFY(!QFile::exists(folder.Path() + "/racecalc/Spring 1_wf012.man"));
        QCOMPARE(Combo(&dialog, "Combo2")->currentText(), QString("Meier"));
    }

    void withoutRacesTheListsStayEmpty() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        ClockTimesManDialog dialog(nullptr);
        QCOMPARE(Combo(&dialog, "Combo1")->count(), 0);
        QCOMPARE(Combo(&dialog, "Combo2")->count(), 0);
        dialog.findChild<QPushButton*>("OKButton")->click();
        QVERIFY(!QDir(folder.Path() + "/racecalc").exists());
    }
};

QTEST_MAIN(ClockTimesManDialogTest)
#include "clocktimesmandialog_test.moc"
