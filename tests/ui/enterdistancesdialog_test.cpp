#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/appcontext.h"
#include "race/enterdistancesdialog.h"
#include "racetestdata.h"
#include "widgets/fixedfield.h"

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

    static void Enter(QWidget* dialog, const QString& whole, const QString& part) {
        TypeInto(Field(dialog, "Text1"), whole);
        TypeInto(Field(dialog, "Text2"), part);
    }

private slots:
    void opensInMilesWithTheFirstClubsLists() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        EnterDistancesDialog dialog(nullptr, U'.');
        QCOMPARE(dialog.windowTitle(), Shipped("frmEnterDistances.Caption"));
        QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
        QVERIFY(Option(&dialog, "Option4")->isChecked());
        QCOMPARE(LabelText(&dialog, "Label6"), Shipped("frmEnterDistances.Label6Miles.Caption"));
        QCOMPARE(LabelText(&dialog, "Label7"), Shipped("frmEnterDistances.Label7Yards.Caption"));
        QCOMPARE(Combo(&dialog, "Combo1")->count(), 2);
        QCOMPARE(Combo(&dialog, "Combo2")->count(), 3);
        QCOMPARE(Combo(&dialog, "Combo2")->itemText(1), QString("Schulz"));
        QCOMPARE(Combo(&dialog, "Combo3")->count(), 3);
        // A pair never entered: 0 miles.
        QCOMPARE(Field(&dialog, "Text1")->text(), QString("0"));
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("0000"));
        QVERIFY(dialog.findChild<QPushButton*>("Command1")->isEnabled());

        // A club without fanciers: nothing can be stored.
        Combo(&dialog, "Combo1")->setCurrentIndex(1);
        QCOMPARE(Combo(&dialog, "Combo2")->count(), 0);
        QVERIFY(!dialog.findChild<QPushButton*>("Command1")->isEnabled());
    }

    void switchingTheUnitResetsTheBoxes() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        EnterDistancesDialog dialog(nullptr, U'.');
        dialog.show();
        Enter(&dialog, "12", "880");
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("0880")); // padded on leaving
        Option(&dialog, "Option3")->click();
        QCOMPARE(Field(&dialog, "Text1")->text(), QString("0"));
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("000"));
        QCOMPARE(Field(&dialog, "Text2")->maxLength(), 3);
        QCOMPARE(LabelText(&dialog, "Label6"), Shipped("frmEnterDistances.Label6Km.Caption"));
        QCOMPARE(LabelText(&dialog, "Label7"), Shipped("frmEnterDistances.Label7Meter.Caption"));
        TypeInto(Field(&dialog, "Text2"), "12345x");
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("123"));
        Option(&dialog, "Option4")->click();
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("0000"));
        QCOMPARE(Field(&dialog, "Text2")->maxLength(), 4);
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
    }

    void choosingAPairShowsItsDistanceInItsUnit() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        folder.Write("racecalc/dist007.dat", " 1 \r\n 2 \r\n00105 1 0020.1168\r\n00107 0 0123.4560\r\n");
        EnterDistancesDialog dialog(nullptr, U'.');
        dialog.show();
        QVERIFY(Option(&dialog, "Option4")->isChecked());
        QCOMPARE(Field(&dialog, "Text1")->text(), QString("12"));
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("0880"));
        Combo(&dialog, "Combo3")->setCurrentIndex(1);
        QVERIFY(Option(&dialog, "Option3")->isChecked());
        QCOMPARE(Field(&dialog, "Text1")->text(), QString("123"));
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("456"));
        QCOMPARE(LabelText(&dialog, "Label7"), Shipped("frmEnterDistances.Label7Meter.Caption"));
    }

    void automaticAdvanceMovesToTheNextFancierOrReleasePoint() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        EnterDistancesDialog dialog(nullptr, U'.');
        dialog.show();
        auto* store = dialog.findChild<QPushButton*>("Command1");
        store->click(); // without a check box the pair stays
        QCOMPARE(Combo(&dialog, "Combo2")->currentIndex(), 0);
        QCOMPARE(Combo(&dialog, "Combo3")->currentIndex(), 0);

        Check(&dialog, "Check1")->setChecked(true);
        store->click();
        QCOMPARE(Combo(&dialog, "Combo2")->currentIndex(), 1);
        store->click();
        store->click(); // at the last fancier it stays
        QCOMPARE(Combo(&dialog, "Combo2")->currentIndex(), 2);
        QCOMPARE(Combo(&dialog, "Combo3")->currentIndex(), 0);

        Check(&dialog, "Check2")->setChecked(true);
        QVERIFY(!Check(&dialog, "Check1")->isChecked()); // the two exclude each other
        store->click();
        QCOMPARE(Combo(&dialog, "Combo3")->currentIndex(), 1);
        QCOMPARE(Combo(&dialog, "Combo2")->currentIndex(), 2);
        Check(&dialog, "Check1")->setChecked(true);
        QVERIFY(!Check(&dialog, "Check2")->isChecked());
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
