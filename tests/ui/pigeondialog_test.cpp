#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/mainwindow.h"
#include "app/textcodec.h"
#include "registers/pigeondialog.h"
#include "uitestsupport.h"
#include "widgets/fixedfield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

QByteArray Pigeon(const char* number, const char* sex = "M", const char* year = "05", const char* colour = "BLUE",
                  const char* chip = "1300000000", const char* format = "00") {
    return QByteArray::fromStdString(CompletePigeonRecord(BuildPigeonRecord("NL", year, "", number, sex), chip, colour, format));
}

// Fancier 012 of club 007 with his pigeon file; the main window lists his pigeons.
struct Loft {
    ProgramFolderFixture folder;
    FixedPorts ports{{}};
    std::unique_ptr<MainWindow> main;

    explicit Loft(const QByteArray& pigeons = {}, std::initializer_list<int> selected = {}) {
        if (!pigeons.isEmpty()) folder.Write("pigeon/p007012.dat", pigeons);
        main = std::make_unique<MainWindow>();
        main->StartupTimer()->stop();
        main->SelectedClubNumber = "007";
        main->SelectedFancierNumber = "012";
        main->TaubenAnzeigen();
        if (selected.size() > 0) main->List()->setCurrentRow(*selected.begin());
        for (const int row : selected) main->List()->item(row)->setSelected(true);
        folder.Messages().Clear();
    }
    QByteArray Bytes() const { return folder.Read("pigeon/p007012.dat"); }
    int Lines() const { return main->List()->count(); }
    // The one message shown since the last call.
    ShownMessage Message() {
        const auto shown = folder.Messages().Shown();
        folder.Messages().Clear();
        return shown.size() == 1 ? shown[0] : ShownMessage{MessageIcon::Information, "none or several", {}};
    }
};

FixedField* Text(QWidget* dialog, const char* name) { return dialog->findChild<FixedField*>(name); }
QRadioButton* Option(QWidget* dialog, int n) { return dialog->findChild<QRadioButton*>(QString("Option%1").arg(n)); }
QString Label(QWidget* dialog, const char* name) { return dialog->findChild<QLabel*>(name)->text(); }

} // namespace

class PigeonDialogTest : public QObject {
    Q_OBJECT

private slots:
    void addWritesOnePigeonThenASeries() {
        Loft loft;
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Add, 2024);
        dialog.show();
        QCOMPARE(Text(&dialog, "Text2")->text() + Text(&dialog, "Text6")->text() + Text(&dialog, "Text7")->text(),
                 QString("241    "));
        for (int n = 1; n <= 11; ++n) QVERIFY(!Option(&dialog, n)->isEnabled() && !Option(&dialog, n)->isChecked());
        const std::pair<const char*, const char*> typing[] = {
            {"Text1", "nl"}, {"Text2", "5"}, {"Text4", "12a34567"}, {"Text5", "xm"}, {"Text7", "b1l"}};
        for (const auto& [field, typed] : typing) TypeInto(Text(&dialog, field), typed);
        QCOMPARE(Text(&dialog, "Text2")->text() + Text(&dialog, "Text4")->text() + Text(&dialog, "Text5")->text() +
                     Text(&dialog, "Text7")->text(),
                 QString("051234567MBL  "));
        QVERIFY(Option(&dialog, 1)->isChecked() && Option(&dialog, 5)->isEnabled());
        QCOMPARE(Label(&dialog, "Label9"), QString("NL      05   1234567M"));
        QCOMPARE(Label(&dialog, "Label11"), QString("NL   05 1234567M"));
        Click(&dialog);
        QCOMPARE(loft.Bytes(), RegisterFile({"NL      05     1234567M1300000000BL  00"}));
        QCOMPARE(loft.main->List()->item(0)->text(), "0001:     NL      05   1234567M      BL  " + QString(16, ' '));
        QCOMPARE(Text(&dialog, "Text4")->text(), QString("1234568"));

        TypeInto(Text(&dialog, "Text4"), "0098");
        TypeInto(Text(&dialog, "Text6"), "3");
        Click(&dialog);
        QCOMPARE(loft.Bytes(), RegisterFile({"NL      05        0098M1300000000BL  00", "NL      05        0099M1300000000BL  00",
                                     "NL      05        0100M1300000000BL  00", "NL      05     1234567M1300000000BL  00"}));
        QCOMPARE(Text(&dialog, "Text4")->text() + "|" + Text(&dialog, "Text6")->text(), QString("0101|1"));
        QCOMPARE(loft.Lines(), 4);
        QVERIFY(loft.folder.Messages().Shown().empty() && dialog.isVisible());
    }

    void theNationChoosesTheFormatUnlessItIsUnlisted() {
        Loft loft;
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Add, 2024);
        dialog.show();
        FixedField* nation = Text(&dialog, "Text1");
        nation->setFocus();
        QTest::keyClicks(nation, "gb"); // not left yet
        QVERIFY(Option(&dialog, 3)->isChecked());
        QCOMPARE(Label(&dialog, "Label11"), QString("GB     24") + QString(7, ' '));
        TypeInto(nation, "xyz"); // unlisted: the user's choice stands
        Option(&dialog, 10)->click();
        QCOMPARE(dialog.SelectedFormat(), 9);
        QCOMPARE(Option(&dialog, 11)->text(), QString("NNNNVVJJLLLLLLLG")); // no catalogue key: its template
        TypeInto(nation, "b");
        Option(&dialog, 7)->click(); // a listed nation brings its own format back
        QVERIFY(Option(&dialog, 1)->isChecked());
    }

    void refusalsAndAFailedSaveAreShown() {
        QList<QByteArray> many;
        for (int i = 1; i <= 999; ++i) many << Pigeon(QByteArray::number(i).constData());
        Loft loft(RegisterFile(many));
        const QByteArray before = loft.Bytes();
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Add, 2024);
        dialog.show();
        TypeInto(Text(&dialog, "Text1"), "NL");
        TypeInto(Text(&dialog, "Text2"), "2005");
        TypeInto(Text(&dialog, "Text4"), "7");
        const auto shown = [&] {
            const QStringList texts = ShownTexts(loft.folder.Messages());
            loft.folder.Messages().Clear();
            return texts;
        };
        Click(&dialog);
        QCOMPARE(shown(), NumberedMessage("frmPigeonsAdd", 2)); // 2005 is 05
        TypeInto(Text(&dialog, "Text4"), "1000");
        TypeInto(Text(&dialog, "Text6"), "2");
        Click(&dialog);
        QCOMPARE(shown(), NumberedMessage("frmPigeonsAdd", 3));
        TypeInto(Text(&dialog, "Text6"), "1");
        TypeInto(Text(&dialog, "Text2"), "97");
        QTRY_COMPARE(dialog.focusWidget(), static_cast<QWidget*>(Text(&dialog, "Text2")));
        Click(&dialog);
        QCOMPARE(shown(), NumberedMessage("frmPigeonsAdd", 1));
        QCOMPARE(loft.Bytes(), before);

        TypeInto(Text(&dialog, "Text2"), "05");
        SetSaveFaultForTests([](const Path& target) { return target.filename() == "p007012.dat"; });
        Click(&dialog);
        SetSaveFaultForTests(nullptr);
        const ShownMessage failed = loft.Message();
        QCOMPARE(failed.title, dialog.windowTitle());
        QVERIFY2(failed.text.contains("p007012.dat"), qPrintable(failed.text));
        QCOMPARE(loft.Bytes(), before);
        QCOMPARE(Text(&dialog, "Text4")->text(), QString("1000"));
    }

    void alterChangesSexAndColourOnly() {
        {
            Loft loft(RegisterFile({Pigeon("1"), Pigeon("2", "M", "05", "BLUE", "ABCDEF0100", "06"), Pigeon("3")}), {1});
            PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Alter);
            dialog.show();
            QCOMPARE(Text(&dialog, "Text1")->text() + Text(&dialog, "Text4")->text() + Text(&dialog, "Text7")->text(),
                     QString("NL          2BLUE"));
            QVERIFY(Text(&dialog, "Text4")->isReadOnly() && !Text(&dialog, "Text7")->isReadOnly());
            TypeInto(Text(&dialog, "Text5"), "f");
            TypeInto(Text(&dialog, "Text7"), " red");
            Click(&dialog);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(loft.Bytes(), RegisterFile({Pigeon("1"), Pigeon("2", "F", "05", "RED ", "ABCDEF0100", "06"), Pigeon("3")}));
            QCOMPARE(loft.main->List()->currentRow(), 1);
            QCOMPARE(loft.main->SelectedPigeonNumber, std::string("0002"));
        }
        // Read back from a clock, a file may hold one ring twice; altering either is refused.
        Loft twice(RegisterFile({Pigeon("9", "M", "05"), Pigeon("9", "F", "2005")}), {0});
        const QByteArray before = twice.Bytes();
        PigeonDialog refused(twice.main.get(), PigeonDialogMode::Alter);
        refused.show();
        Click(&refused);
        QCOMPARE(twice.Message().text, Shipped("frmPigeonsAlter.MsgBoxText2"));
        QVERIFY(refused.isVisible());
        QCOMPARE(twice.Bytes(), before);
    }

    void deleteAsksOnlyForSeveralAndRemovesExactlyTheSelected() {
        QList<QByteArray> five;
        for (const char* n : {"1", "2", "3", "4", "5"}) five << Pigeon(n);
        {
            Loft loft(RegisterFile(five), {4});
            PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Delete);
            Click(&dialog);
            QVERIFY(loft.folder.Messages().Shown().empty());
            QCOMPARE(loft.Bytes(), RegisterFile(five.mid(0, 4)));
            QCOMPARE(loft.main->List()->currentRow(), 3); // the new last line
        }
        Loft loft(RegisterFile(five), {1, 4});
        loft.folder.Messages().QueueAnswer(MessageAnswer::Cancel);
        PigeonDialog cancelled(loft.main.get(), PigeonDialogMode::Delete);
        Click(&cancelled);
        QCOMPARE(cancelled.result(), int(QDialog::Rejected));
        QCOMPARE(loft.Bytes(), RegisterFile(five));
        const ShownMessage asked = loft.Message();
        QCOMPARE(asked.icon, MessageIcon::Exclamation);
        QCOMPARE(asked.title, Shipped("frmPigeonsDelete.MsgBoxName1"));
        QCOMPARE(asked.text, Shipped("frmPigeonsDelete.MsgBoxText1a") + "\n" + Shipped("frmPigeonsDelete.MsgBoxText1b"));

        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Delete);
        Click(&dialog);
        QCOMPARE(loft.Bytes(), RegisterFile({five[0], five[2], five[3]}));
        QCOMPARE(loft.Lines(), 3);
    }
};

QTEST_MAIN(PigeonDialogTest)
#include "pigeondialog_test.moc"
