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

QByteArray Pigeon(const char* nation, const char* year, const char* number, const char* sex, const char* colour = "BLUE",
                  const char* chip = "1300000000", const char* format = "00") {
    return QByteArray::fromStdString(CompletePigeonRecord(BuildPigeonRecord(nation, year, "", number, sex), chip, colour, format));
}

QByteArray File(const QList<QByteArray>& records) {
    QByteArray bytes = " " + QByteArray::number(records.size()) + " \r\n";
    for (const QByteArray& r : records) bytes += r + "\r\n";
    return bytes;
}

// Club 007, fancier 012 and his pigeon file; the main window lists his pigeons.
struct Loft {
    ProgramFolderFixture folder;
    FixedPorts ports{{}};
    std::unique_ptr<MainWindow> main;

    explicit Loft(const QByteArray& pigeons = {}) {
        folder.Write("club/club.dat", " 1 \r\n007North" + QByteArray(55, ' ') + "\r\n");
        folder.Write("fancier/f007.DAT", " 1 \r\n012Meier" + QByteArray(65, ' ') + "\r\n");
        if (!pigeons.isEmpty()) folder.Write("pigeon/p007012.dat", pigeons);
        main = std::make_unique<MainWindow>();
        main->StartupTimer()->stop();
        main->SelectedClubNumber = "007";
        main->SelectedFancierNumber = "012";
        main->TaubenAnzeigen();
        folder.Messages().Clear();
    }
    QByteArray Bytes() const { return folder.Read("pigeon/p007012.dat"); }
    QStringList Lines() const {
        QStringList lines;
        for (int i = 0; i < main->List()->count(); ++i) lines << main->List()->item(i)->text();
        return lines;
    }
    void Select(std::initializer_list<int> rows) {
        main->List()->setCurrentRow(*rows.begin());
        for (const int row : rows) main->List()->item(row)->setSelected(true);
    }
};

FixedField* Text(QWidget* dialog, const char* name) { return dialog->findChild<FixedField*>(name); }
QRadioButton* Option(QWidget* dialog, int n) { return dialog->findChild<QRadioButton*>(QString("Option%1").arg(n)); }
QString Label(QWidget* dialog, const char* name) { return dialog->findChild<QLabel*>(name)->text(); }
void Click(QWidget* dialog, const char* name) { dialog->findChild<QPushButton*>(name)->click(); }

} // namespace

class PigeonDialogTest : public QObject {
    Q_OBJECT

private slots:
    void everyWindowOpensWithItsTextsAndFields() {
        Loft loft(File({Pigeon("B", "2019", "4711", "F", "RED", "ABCDEF0100", "00")}));
        loft.Select({0});
        PigeonDialog add(loft.main.get(), PigeonDialogMode::Add, 2024);
        QCOMPARE(add.windowTitle(), Shipped("frmPigeonsAdd.Caption"));
        QCOMPARE(MissingCaptionKeys(&add), QStringList());
        QCOMPARE(Text(&add, "Text2")->text(), QString("24"));
        QCOMPARE(Text(&add, "Text6")->text(), QString("1"));
        QCOMPARE(Text(&add, "Text7")->text(), QString("    "));
        QCOMPARE(Text(&add, "Text1")->text() + Text(&add, "Text4")->text() + Text(&add, "Text5")->text(), QString());
        QCOMPARE(Option(&add, 1)->text(), Shipped("frmPigeonsAdd.Option1.Caption"));
        QCOMPARE(Option(&add, 11)->text(), QString("NNNNVVJJLLLLLLLG"));
        for (int n = 1; n <= 11; ++n) QVERIFY(!Option(&add, n)->isEnabled() && !Option(&add, n)->isChecked());
        QCOMPARE(Label(&add, "Label9") + Label(&add, "Label11"), QString());

        for (const auto mode : {PigeonDialogMode::Alter, PigeonDialogMode::Delete}) {
            PigeonDialog dialog(loft.main.get(), mode);
            QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
            QVERIFY(!dialog.findChild<QRadioButton*>() && !Text(&dialog, "Text6"));
            QCOMPARE(Text(&dialog, "Text1")->text(), QString("B     "));
            QCOMPARE(Text(&dialog, "Text2")->text(), QString("2019"));
            QCOMPARE(Text(&dialog, "Text4")->text(), QString("   4711"));
            QCOMPARE(Text(&dialog, "Text5")->text() + Text(&dialog, "Text7")->text(), QString("FRED "));
            QVERIFY(Text(&dialog, "Text1")->isReadOnly() && Text(&dialog, "Text4")->isReadOnly());
            QCOMPARE(Text(&dialog, "Text5")->isReadOnly(), mode == PigeonDialogMode::Delete);
        }
    }

    void addingOnePigeonWritesItAndKeepsTheDialogOpen() {
        Loft loft;
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Add, 2024);
        dialog.show();
        TypeInto(Text(&dialog, "Text1"), "nl");
        TypeInto(Text(&dialog, "Text2"), "5");
        TypeInto(Text(&dialog, "Text4"), "12a34567");
        TypeInto(Text(&dialog, "Text5"), "xm");
        TypeInto(Text(&dialog, "Text7"), "b1l");
        QCOMPARE(Text(&dialog, "Text1")->text() + "|" + Text(&dialog, "Text2")->text(), QString("NL|05"));
        QCOMPARE(Text(&dialog, "Text4")->text() + "|" + Text(&dialog, "Text5")->text(), QString("1234567|M"));
        QCOMPARE(Text(&dialog, "Text7")->text(), QString("BL  "));
        QVERIFY(Option(&dialog, 1)->isChecked() && Option(&dialog, 5)->isEnabled());
        QCOMPARE(Label(&dialog, "Label9"), QString("NL      05   1234567M"));
        QCOMPARE(Label(&dialog, "Label11"), QString("NL   05 1234567M"));

        Click(&dialog, "Command1");
        QCOMPARE(loft.Bytes(), File({"NL      05     1234567M1300000000BL  00"}));
        QVERIFY(loft.folder.Messages().Shown().empty());
        QCOMPARE(loft.Lines(), QStringList{"0001:     NL      05   1234567M      BL  " + QString(16, ' ')});
        QCOMPARE(Text(&dialog, "Text4")->text() + "|" + Text(&dialog, "Text6")->text(), QString("1234568|1"));
        QVERIFY(dialog.isVisible());

        Click(&dialog, "Command1"); // the next ring
        QCOMPARE(loft.Lines().size(), 2);
        dialog.reject();
        QCOMPARE(loft.main->Mode(), ListMode::Pigeons);
    }

    void aSeriesAddsConsecutiveRingsAndSavesThemOnce() {
        Loft loft;
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Add, 2024);
        dialog.show();
        TypeInto(Text(&dialog, "Text1"), "dv");
        TypeInto(Text(&dialog, "Text3"), "815");
        TypeInto(Text(&dialog, "Text4"), "0098");
        TypeInto(Text(&dialog, "Text6"), "3");
        QCOMPARE(Text(&dialog, "Text3")->text(), QString("0815"));
        QVERIFY(Option(&dialog, 2)->isChecked());
        Click(&dialog, "Command1");
        QCOMPARE(loft.Bytes(), File({"DV      240815    0098 1300000000    01", "DV      240815    0099 1300000000    01",
                                     "DV      240815    0100 1300000000    01"}));
        QCOMPARE(Text(&dialog, "Text4")->text() + "|" + Text(&dialog, "Text6")->text(), QString("0101|1"));
        QCOMPARE(loft.Lines().size(), 3);
    }

    void previewsFollowTheTypingAndTheChosenFormat() {
        Loft loft;
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Add, 2024);
        dialog.show();
        FixedField* nation = Text(&dialog, "Text1");
        nation->setFocus();
        QTest::keyClicks(nation, "gb"); // not left yet: the previews follow each key
        QVERIFY(Option(&dialog, 3)->isChecked());
        QCOMPARE(Label(&dialog, "Label11"), QString("GB     24") + QString(7, ' '));
        TypeInto(Text(&dialog, "Text3"), "abc");
        TypeInto(Text(&dialog, "Text4"), "12345678");
        QCOMPARE(Text(&dialog, "Text4")->text(), QString("1234567")); // seven at most
        TypeInto(Text(&dialog, "Text3"), "abc");
        QCOMPARE(Text(&dialog, "Text4")->text(), QString("234567")); // cut by the organisation

        TypeInto(nation, "xyz"); // unlisted: the user's choice stands, every format shows its forms
        const RingParts parts{"XYZ", "24", "ABC", "234567", ""};
        for (int format = 0; format < kRingFormatCount; ++format) {
            Option(&dialog, format + 1)->click();
            QCOMPARE(dialog.SelectedFormat(), format);
            QCOMPARE(Label(&dialog, "Label9"), ToQt(FormatRingText(format, parts)));
            QCOMPARE(Label(&dialog, "Label11"), ToQt(FormatRingPreview(format, parts)));
        }
        QCOMPARE(Label(&dialog, "Label9"), QString("XYZ   AB  24  234567 "));
        TypeInto(nation, "b"); // listed again: its own format comes back
        QVERIFY(Option(&dialog, 1)->isChecked());
        Option(&dialog, 7)->click();
        QVERIFY(Option(&dialog, 1)->isChecked());
    }

    void refusalsShowTheirMessages() {
        QList<QByteArray> many;
        for (int i = 1; i <= 999; ++i) many << Pigeon("NL", "05", QByteArray::number(i).constData(), "M");
        Loft loft(File(many));
        const QByteArray before = loft.Bytes();
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Add, 2024);
        dialog.show();
        TypeInto(Text(&dialog, "Text1"), "NL");
        TypeInto(Text(&dialog, "Text2"), "2005");
        TypeInto(Text(&dialog, "Text4"), "7");
        auto expectMessage = [&](int n) {
            QCOMPARE(loft.folder.Messages().Shown().size(), size_t(1));
            const ShownMessage& shown = loft.folder.Messages().Shown()[0];
            QCOMPARE(shown.title, Shipped(QString("frmPigeonsAdd.MsgBoxName%1").arg(n)));
            QCOMPARE(shown.text, Shipped(QString("frmPigeonsAdd.MsgBoxText%1").arg(n)));
            QCOMPARE(shown.icon, MessageIcon::Critical);
            loft.folder.Messages().Clear();
        };
        Click(&dialog, "Command1");
        expectMessage(2); // 2005 is 05
        TypeInto(Text(&dialog, "Text4"), "1000");
        TypeInto(Text(&dialog, "Text6"), "2");
        Click(&dialog, "Command1");
        expectMessage(3);
        QCOMPARE(loft.Bytes(), before);

        TypeInto(Text(&dialog, "Text6"), "1");
        TypeInto(Text(&dialog, "Text2"), "97");
        QTRY_COMPARE(dialog.focusWidget(), static_cast<QWidget*>(Text(&dialog, "Text2")));
        QCOMPARE(Text(&dialog, "Text2")->selectedText(), QString("97"));
        Click(&dialog, "Command1");
        expectMessage(1);
        TypeInto(Text(&dialog, "Text2"), "05");
        Click(&dialog, "Command1");
        QVERIFY(loft.folder.Messages().Shown().empty());
        QCOMPARE(loft.Lines().size(), 1000);
    }

    void aFailedSaveIsShownAndNothingChanges() {
        Loft loft(File({Pigeon("NL", "05", "1", "M")}));
        const QByteArray before = loft.Bytes();
        SetSaveFaultForTests([](const Path& target) { return target.filename() == "p007012.dat"; });
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Add, 2024);
        dialog.show();
        TypeInto(Text(&dialog, "Text1"), "NL");
        TypeInto(Text(&dialog, "Text4"), "2");
        Click(&dialog, "Command1");
        SetSaveFaultForTests(nullptr);
        QCOMPARE(loft.folder.Messages().Shown().size(), size_t(1));
        const ShownMessage& shown = loft.folder.Messages().Shown()[0];
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QCOMPARE(shown.title, dialog.windowTitle());
        QVERIFY2(shown.text.contains("p007012.dat"), qPrintable(shown.text));
        QCOMPARE(loft.Bytes(), before);
        QCOMPARE(Text(&dialog, "Text4")->text(), QString("2"));
    }

    void alterChangesSexAndColourAndKeepsTheListPosition() {
        Loft loft(File({Pigeon("NL", "05", "1", "M"), Pigeon("NL", "05", "2", "M", "BLUE", "ABCDEF0100", "06"),
                        Pigeon("NL", "05", "3", "M")}));
        loft.Select({1});
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Alter);
        dialog.show();
        TypeInto(Text(&dialog, "Text5"), "f");
        TypeInto(Text(&dialog, "Text7"), " red");
        QCOMPARE(Text(&dialog, "Text7")->text(), QString("RED "));
        Click(&dialog, "Command1");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(loft.Bytes(), File({Pigeon("NL", "05", "1", "M"), Pigeon("NL", "05", "2", "F", "RED ", "ABCDEF0100", "06"),
                                     Pigeon("NL", "05", "3", "M")}));
        QCOMPARE(loft.main->List()->currentRow(), 1);
        QCOMPARE(loft.main->SelectedPigeonNumber, std::string("0002"));
    }

    void alterRefusesARingTheFileHoldsTwice() {
        // Read back from a clock, a file may hold one ring twice; altering either is refused.
        Loft twice(File({Pigeon("NL", "05", "9", "M"), Pigeon("NL", "2005", "9", "F")}));
        const QByteArray before = twice.Bytes();
        twice.Select({0});
        PigeonDialog refused(twice.main.get(), PigeonDialogMode::Alter);
        refused.show();
        Click(&refused, "Command1");
        QCOMPARE(twice.folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(twice.folder.Messages().Shown()[0].text, Shipped("frmPigeonsAlter.MsgBoxText2"));
        QVERIFY(refused.isVisible());
        QCOMPARE(twice.Bytes(), before);
    }

    void deleteAsksOnlyForSeveralAndRemovesExactlyTheSelected() {
        QList<QByteArray> five;
        for (const char* n : {"1", "2", "3", "4", "5"}) five << Pigeon("NL", "05", n, "M");
        {
            Loft loft(File(five));
            loft.Select({4});
            PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Delete);
            QCOMPARE(Text(&dialog, "Text4")->text(), QString("      5"));
            Click(&dialog, "Command1");
            QVERIFY(loft.folder.Messages().Shown().empty());
            QCOMPARE(loft.Bytes(), File(five.mid(0, 4)));
            QCOMPARE(loft.main->List()->currentRow(), 3); // the new last line
        }
        Loft loft(File(five));
        loft.Select({1, 4});
        QCOMPARE(loft.main->SelectedLines(), (std::vector<int>{1, 4}));
        {
            loft.folder.Messages().QueueAnswer(MessageAnswer::Cancel);
            PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Delete);
            dialog.show();
            Click(&dialog, "Command1");
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(loft.Bytes(), File(five));
            const ShownMessage& asked = loft.folder.Messages().Shown().at(0);
            QCOMPARE(asked.icon, MessageIcon::Exclamation);
            QCOMPARE(asked.title, Shipped("frmPigeonsDelete.MsgBoxName1"));
            QCOMPARE(asked.text,
                     Shipped("frmPigeonsDelete.MsgBoxText1a") + "\n" + Shipped("frmPigeonsDelete.MsgBoxText1b"));
        }
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Delete);
        dialog.show();
        Click(&dialog, "Command1");
        QCOMPARE(loft.Bytes(), File({five[0], five[2], five[3]}));
        QCOMPARE(loft.Lines().size(), 3);
    }

    void theMenuAndTheDeleteKeyOpenTheDialogs() {
        Loft loft(File({Pigeon("NL", "05", "1", "M")}));
        loft.Select({0});
        auto opens = [&](const std::function<void()>& action) {
            QString opened;
            ModalWatcher watcher([&](QWidget* modal) { opened = modal->objectName(); });
            action();
            return opened;
        };
        QCOMPARE(opens([&] { loft.main->MenuItem("mnuPigeonAlter")->trigger(); }), QString("frmPigeonsAlter"));
        QCOMPARE(opens([&] { loft.main->MenuItem("mnuPigeonDelete")->trigger(); }), QString("frmPigeonsDelete"));
        QCOMPARE(opens([&] { QTest::keyClick(loft.main->List(), Qt::Key_Delete); }), QString("frmPigeonsDelete"));
        QCOMPARE(loft.Bytes(), File({Pigeon("NL", "05", "1", "M")})); // closed like Cancel: nothing deleted
        QCOMPARE(opens([&] { loft.main->MenuItem("mnuPigeonAdd")->trigger(); }), QString("frmPigeonsAdd"));
        QCOMPARE(loft.main->Mode(), ListMode::Pigeons); // closing the add dialog lists the pigeons
    }
};

QTEST_MAIN(PigeonDialogTest)
#include "pigeondialog_test.moc"
