#include "racetestdata.h"
#include "ui/race/enterdistancesdialog.h"

// Conversions and the distance file are core's; here the unit switch, the advance and what is stored.
class EnterDistancesDialogTest : public QObject {
    Q_OBJECT

    static FixedField* Field(QWidget* dialog, const char* name) { return dialog->findChild<FixedField*>(name); }
    static QComboBox* Combo(QWidget* dialog, const char* name) { return dialog->findChild<QComboBox*>(name); }
    static QRadioButton* Option(QWidget* dialog, const char* name) { return dialog->findChild<QRadioButton*>(name); }
    static QCheckBox* Check(QWidget* dialog, const char* name) { return dialog->findChild<QCheckBox*>(name); }
    static QString Boxes(QWidget* dialog) { return Field(dialog, "Text1")->text() + "|" + Field(dialog, "Text2")->text(); }
    static QString Units(QWidget* dialog) {
        return dialog->findChild<QLabel*>("Label6")->text() + dialog->findChild<QLabel*>("Label7")->text();
    }
    static void Enter(QWidget* dialog, const QString& whole, const QString& part) {
        TypeInto(Field(dialog, "Text1"), whole);
        TypeInto(Field(dialog, "Text2"), part);
    }

private slots:
    void switchingTheUnitResetsTheBoxesAndAClubWithoutFanciersStoresNothing() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        EnterDistancesDialog dialog(nullptr, U'.');
        dialog.show();
        QVERIFY(Option(&dialog, "Option4")->isChecked());
        QCOMPARE(Units(&dialog), Shipped("frmEnterDistances.Label6Miles.Caption") + Shipped("frmEnterDistances.Label7Yards.Caption"));
        QCOMPARE(Combo(&dialog, "Combo2")->itemText(1), QString("Schulz"));
        QCOMPARE(Combo(&dialog, "Combo3")->count(), 3);
        QCOMPARE(Boxes(&dialog), QString("0|0000")); // a pair never entered: 0 miles
        Enter(&dialog, "12", "880");
        Option(&dialog, "Option3")->click();
        QCOMPARE(Boxes(&dialog), QString("0|000"));
        QCOMPARE(Units(&dialog), Shipped("frmEnterDistances.Label6Km.Caption") + Shipped("frmEnterDistances.Label7Meter.Caption"));
        QCOMPARE(Typed(&dialog, "Text2", "12345x"), QString("123")); // metres take three digits, yards four
        QVERIFY(dialog.findChild<QPushButton*>("Command1")->isEnabled());
        Combo(&dialog, "Combo1")->setCurrentIndex(1);
        QCOMPARE(Combo(&dialog, "Combo2")->count(), 0);
        QVERIFY(!dialog.findChild<QPushButton*>("Command1")->isEnabled());
    }

    void storingWritesTheClubsFileAndEachPairComesBackInItsUnit() {
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
        const QByteArray written = folder.Read("racecalc/dist007.dat");
        QVERIFY(written.contains("\r\n01205 1 0020,1168\r\n01207 0 0123,0450\r\n"));
        QCOMPARE(written.count('\n'), 2 + 9);

        EnterDistancesDialog again(nullptr, U'.');
        Combo(&again, "Combo2")->setCurrentIndex(1);
        QVERIFY(Option(&again, "Option4")->isChecked());
        QCOMPARE(Boxes(&again), QString("12|0880"));
        Combo(&again, "Combo3")->setCurrentIndex(1);
        QVERIFY(Option(&again, "Option3")->isChecked());
        QCOMPARE(Boxes(&again), QString("123|045"));

        // Stores the pair and answers which fancier and release point come next.
        const auto store = [&again] {
            again.findChild<QPushButton*>("Command1")->click();
            return QString("%1/%2").arg(Combo(&again, "Combo2")->currentIndex()).arg(Combo(&again, "Combo3")->currentIndex());
        };
        QCOMPARE(store(), QString("1/1")); // without a check box the pair stays
        Check(&again, "Check1")->setChecked(true);
        QCOMPARE(QStringList({store(), store()}), (QStringList{"2/1", "2/1"})); // at the last fancier it stays
        Check(&again, "Check2")->setChecked(true);
        QVERIFY(!Check(&again, "Check1")->isChecked()); // the two exclude each other
        QCOMPARE(store(), QString("2/2"));
    }

    void aBrokenDistanceFileIsNotSavedOverNorPassedOverByClosing() {
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
        QVERIFY(dialog.isVisible());
    }
};

QTEST_MAIN(EnterDistancesDialogTest)
#include "enterdistancesdialog_test.moc"
