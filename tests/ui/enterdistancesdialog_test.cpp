#include "race/enterdistancesdialog.h"
#include "racetestdata.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class EnterDistancesDialogTest : public QObject {
    Q_OBJECT

    static FixedField* Field(QWidget* dialog, const char* name) { return dialog->findChild<FixedField*>(name); }
    static QComboBox* Combo(QWidget* dialog, const char* name) { return dialog->findChild<QComboBox*>(name); }
    static QRadioButton* Option(QWidget* dialog, const char* name) { return dialog->findChild<QRadioButton*>(name); }
    static QCheckBox* Check(QWidget* dialog, const char* name) { return dialog->findChild<QCheckBox*>(name); }
    static QString LabelText(QWidget* dialog, const char* name) { return dialog->findChild<QLabel*>(name)->text(); }
    static QString Boxes(QWidget* dialog) { return Field(dialog, "Text1")->text() + "|" + Field(dialog, "Text2")->text(); }

    static void Enter(QWidget* dialog, const QString& whole, const QString& part) {
        TypeInto(Field(dialog, "Text1"), whole);
        TypeInto(Field(dialog, "Text2"), part);
    }

private slots:
    void opensInMilesAndSwitchingTheUnitResetsTheBoxes() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        EnterDistancesDialog dialog(nullptr, U'.');
        dialog.show();
        QVERIFY(Option(&dialog, "Option4")->isChecked());
        QCOMPARE(LabelText(&dialog, "Label6") + LabelText(&dialog, "Label7"),
                 Shipped("frmEnterDistances.Label6Miles.Caption") + Shipped("frmEnterDistances.Label7Yards.Caption"));
        QCOMPARE(Combo(&dialog, "Combo1")->count(), 2);
        QCOMPARE(Combo(&dialog, "Combo2")->itemText(1), QString("Schulz"));
        QCOMPARE(Combo(&dialog, "Combo3")->count(), 3);
        QCOMPARE(Boxes(&dialog), QString("0|0000")); // a pair never entered: 0 miles
        Enter(&dialog, "12", "880");
        QCOMPARE(Boxes(&dialog), QString("12|0880")); // padded on leaving
        Option(&dialog, "Option3")->click();
        QCOMPARE(Boxes(&dialog), QString("0|000"));
        QCOMPARE(LabelText(&dialog, "Label6") + LabelText(&dialog, "Label7"),
                 Shipped("frmEnterDistances.Label6Km.Caption") + Shipped("frmEnterDistances.Label7Meter.Caption"));
        TypeInto(Field(&dialog, "Text2"), "12345x");
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("123"));
        Option(&dialog, "Option4")->click();
        QCOMPARE(Boxes(&dialog), QString("0|0000"));

        // A club without fanciers: nothing can be stored.
        QVERIFY(dialog.findChild<QPushButton*>("Command1")->isEnabled());
        Combo(&dialog, "Combo1")->setCurrentIndex(1);
        QCOMPARE(Combo(&dialog, "Combo2")->count(), 0);
        QVERIFY(!dialog.findChild<QPushButton*>("Command1")->isEnabled());
    }

    void storingWritesTheClubsFileInKilometres() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        EnterDistancesDialog dialog(nullptr, U',');
        dialog.show();
        Combo(&dialog, "Combo2")->setCurrentIndex(1); // fancier 012
        Enter(&dialog, "12", "880");
        QTest::keyClick(Field(&dialog, "Text2"), Qt::Key_Return);
        Combo(&dialog, "Combo3")->setCurrentIndex(1); // release point 07
        Option(&dialog, "Option3")->click();
        Enter(&dialog, "123", "45");
        dialog.findChild<QPushButton*>("OKButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(folder.Read("racecalc/dist007.dat"),
                 QByteArray(" 3 \r\n 3 \r\n00105 1 0000,0000\r\n00107 1 0000,0000\r\n00198 1 0000,0000\r\n"
                            "01205 1 0020,1168\r\n01207 0 0123,0450\r\n01298 1 0000,0000\r\n"
                            "01305 1 0000,0000\r\n01307 1 0000,0000\r\n01398 1 0000,0000\r\n"));

        // Read again, each pair shows in the unit it was entered in.
        EnterDistancesDialog again(nullptr, U'.');
        Combo(&again, "Combo2")->setCurrentIndex(1);
        QVERIFY(Option(&again, "Option4")->isChecked());
        QCOMPARE(Boxes(&again), QString("12|0880"));
        Combo(&again, "Combo3")->setCurrentIndex(1);
        QVERIFY(Option(&again, "Option3")->isChecked());
        QCOMPARE(Boxes(&again), QString("123|045"));
    }

    void automaticAdvanceMovesToTheNextFancierOrReleasePoint() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        EnterDistancesDialog dialog(nullptr, U'.');
        dialog.show();
        // Stores the pair and answers which fancier and release point come next.
        const auto store = [&dialog] {
            dialog.findChild<QPushButton*>("Command1")->click();
            return QString("%1/%2").arg(Combo(&dialog, "Combo2")->currentIndex()).arg(Combo(&dialog, "Combo3")->currentIndex());
        };
        QCOMPARE(store(), QString("0/0")); // without a check box the pair stays
        Check(&dialog, "Check1")->setChecked(true);
        QStringList steps;
        for (int i = 0; i < 3; ++i) steps << store();
        QCOMPARE(steps, (QStringList{"1/0", "2/0", "2/0"})); // at the last fancier it stays
        Check(&dialog, "Check2")->setChecked(true);
        QVERIFY(!Check(&dialog, "Check1")->isChecked()); // the two exclude each other
        QCOMPARE(store(), QString("2/1"));
    }

    void aBrokenDistanceFileIsNotSavedOver() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        const QByteArray broken = " 1 \r\n 2 \r\n00105 1 0020.1168\r\n00107 0 abc\r\n";
        folder.Write("racecalc/dist007.dat", broken);
        EnterDistancesDialog dialog(nullptr, U'.');
        dialog.show();
        dialog.findChild<QPushButton*>("Command1")->click();
        QCOMPARE(folder.Messages().Shown().size(), std::size_t(1));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Critical);
        QCOMPARE(folder.Read("racecalc/dist007.dat"), broken);
        dialog.findChild<QPushButton*>("OKButton")->click();
        QVERIFY(dialog.isVisible()); // the failure is not passed over by closing
    }
};

QTEST_MAIN(EnterDistancesDialogTest)
#include "enterdistancesdialog_test.moc"
