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

QByteArray File(const QList<QByteArray>& records) {
    QByteArray bytes = " " + QByteArray::number(records.size()) + " \r\n";
    for (const QByteArray& r : records) bytes += r + "\r\n";
    return bytes;
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
        QCOMPARE(loft.Bytes(), File({"NL      05     1234567M1300000000BL  00"}));
        QCOMPARE(loft.main->List()->item(0)->text(), "0001:     NL      05   1234567M      BL  " + QString(16, ' '));
        QCOMPARE(Text(&dialog, "Text4")->text(), QString("1234568"));

        TypeInto(Text(&dialog, "Text4"), "0098");
        TypeInto(Text(&dialog, "Text6"), "3");
        Click(&dialog);
        QCOMPARE(loft.Bytes(), File({"NL      05        0098M1300000000BL  00", "NL      05        0099M1300000000BL  00",
                                     "NL      05        0100M1300000000BL  00", "NL      05     1234567M1300000000BL  00"}));
        QCOMPARE(Text(&dialog, "Text4")->text() + "|" + Text(&dialog, "Text6")->text(), QString("0101|1"));
        QCOMPARE(loft.Lines(), 4);
        QVERIFY(loft.folder.Messages().Shown().empty() && dialog.isVisible());
    }

    void previewsFollowTheTypingAndTheChosenFormat() {
        Loft loft;
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Add, 2024);
        dialog.show();
        FixedField* nation = Text(&dialog, "Text1");
        nation->setFocus();
        QTest::keyClicks(nation, "gb"); // not left yet
        QVERIFY(Option(&dialog, 3)->isChecked());
        QCOMPARE(Label(&dialog, "Label11"), QString("GB     24") + QString(7, ' '));
        TypeInto(Text(&dialog, "Text3"), "abc");
        TypeInto(Text(&dialog, "Text4"), "12345678");
        TypeInto(Text(&dialog, "Text3"), "abc"); // cut to AB by the seven-digit number, and now it cuts that
        QCOMPARE(Text(&dialog, "Text4")->text(), QString("234567"));

        TypeInto(nation, "xyz"); // unlisted: the user's choice stands
        Option(&dialog, 10)->click();
        QCOMPARE(dialog.SelectedFormat(), 9);
        QCOMPARE(Label(&dialog, "Label9") + "|" + Label(&dialog, "Label11"), QString("XYZ     24AB34567 C  |XYZ 24AB34567C  "));
        Option(&dialog, 11)->click();
        QCOMPARE(Label(&dialog, "Label9"), QString("XYZ   AB  24  234567 "));
        QCOMPARE(Option(&dialog, 11)->text(), QString("NNNNVVJJLLLLLLLG")); // no catalogue key: its template
        TypeInto(nation, "b");
        Option(&dialog, 7)->click(); // a listed nation brings its own format back
        QVERIFY(Option(&dialog, 1)->isChecked());
    }

    void refusalsAndAFailedSaveAreShown() {
        QList<QByteArray> many;
        for (int i = 1; i <= 999; ++i) many << Pigeon(QByteArray::number(i).constData());
        Loft loft(File(many));
        const QByteArray before = loft.Bytes();
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Add, 2024);
        dialog.show();
        TypeInto(Text(&dialog, "Text1"), "NL");
        TypeInto(Text(&dialog, "Text2"), "2005");
        TypeInto(Text(&dialog, "Text4"), "7");
        auto expect = [&](int n) {
            const ShownMessage shown = loft.Message();
            QCOMPARE(shown.title, Shipped(QString("frmPigeonsAdd.MsgBoxName%1").arg(n)));
            QCOMPARE(shown.text, Shipped(QString("frmPigeonsAdd.MsgBoxText%1").arg(n)));
            QCOMPARE(shown.icon, MessageIcon::Critical);
        };
        Click(&dialog);
        expect(2); // 2005 is 05
        TypeInto(Text(&dialog, "Text4"), "1000");
        TypeInto(Text(&dialog, "Text6"), "2");
        Click(&dialog);
        expect(3);
        TypeInto(Text(&dialog, "Text6"), "1");
        TypeInto(Text(&dialog, "Text2"), "97");
        QTRY_COMPARE(dialog.focusWidget(), static_cast<QWidget*>(Text(&dialog, "Text2")));
        QCOMPARE(Text(&dialog, "Text2")->selectedText(), QString("97"));
        Click(&dialog);
        expect(1);
        QCOMPARE(loft.Bytes(), before);

        TypeInto(Text(&dialog, "Text2"), "05");
        SetSaveFaultForTests([](const Path& target) { return target.filename() == "p007012.dat"; });
        Click(&dialog);
        SetSaveFaultForTests(nullptr);
        const ShownMessage failed = loft.Message();
        QCOMPARE(failed.icon, MessageIcon::Critical);
        QCOMPARE(failed.title, dialog.windowTitle());
        QVERIFY2(failed.text.contains("p007012.dat"), qPrintable(failed.text));
        QCOMPARE(loft.Bytes(), before);
        QCOMPARE(Text(&dialog, "Text4")->text(), QString("1000"));
    }

    void alterChangesSexAndColourOnly() {
        {
            Loft loft(File({Pigeon("1"), Pigeon("2", "M", "05", "BLUE", "ABCDEF0100", "06"), Pigeon("3")}), {1});
            PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Alter);
            dialog.show();
            QCOMPARE(Text(&dialog, "Text1")->text() + Text(&dialog, "Text4")->text() + Text(&dialog, "Text7")->text(),
                     QString("NL          2BLUE"));
            QVERIFY(Text(&dialog, "Text4")->isReadOnly() && !Text(&dialog, "Text7")->isReadOnly());
            TypeInto(Text(&dialog, "Text5"), "f");
            TypeInto(Text(&dialog, "Text7"), " red");
            Click(&dialog);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(loft.Bytes(), File({Pigeon("1"), Pigeon("2", "F", "05", "RED ", "ABCDEF0100", "06"), Pigeon("3")}));
            QCOMPARE(loft.main->List()->currentRow(), 1);
            QCOMPARE(loft.main->SelectedPigeonNumber, std::string("0002"));
        }
        // Read back from a clock, a file may hold one ring twice; altering either is refused.
        Loft twice(File({Pigeon("9", "M", "05"), Pigeon("9", "F", "2005")}), {0});
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
            Loft loft(File(five), {4});
            PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Delete);
            Click(&dialog);
            QVERIFY(loft.folder.Messages().Shown().empty());
            QCOMPARE(loft.Bytes(), File(five.mid(0, 4)));
            QCOMPARE(loft.main->List()->currentRow(), 3); // the new last line
        }
        Loft loft(File(five), {1, 4});
        loft.folder.Messages().QueueAnswer(MessageAnswer::Cancel);
        PigeonDialog cancelled(loft.main.get(), PigeonDialogMode::Delete);
        Click(&cancelled);
        QCOMPARE(cancelled.result(), int(QDialog::Rejected));
        QCOMPARE(loft.Bytes(), File(five));
        const ShownMessage asked = loft.Message();
        QCOMPARE(asked.icon, MessageIcon::Exclamation);
        QCOMPARE(asked.title, Shipped("frmPigeonsDelete.MsgBoxName1"));
        QCOMPARE(asked.text, Shipped("frmPigeonsDelete.MsgBoxText1a") + "\n" + Shipped("frmPigeonsDelete.MsgBoxText1b"));

        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Delete);
        Click(&dialog);
        QCOMPARE(loft.Bytes(), File({five[0], five[2], five[3]}));
        QCOMPARE(loft.Lines(), 3);
    }

    void theMenuAndTheDeleteKeyOpenTheDialogsWithTheirTexts() {
        Loft loft(File({Pigeon("1")}), {0});
        auto opens = [&](const std::function<void()>& action) {
            QString opened;
            ModalWatcher watcher([&](QWidget* modal) {
                opened = modal->windowTitle() + "|" + Text(modal, "Text4")->text();
                QCOMPARE(MissingCaptionKeys(modal), QStringList());
            });
            action();
            return opened;
        };
        QCOMPARE(opens([&] { loft.main->MenuItem("mnuPigeonAlter")->trigger(); }),
                 Shipped("frmPigeonsAlter.Caption") + "|      1");
        QCOMPARE(opens([&] { loft.main->MenuItem("mnuPigeonDelete")->trigger(); }),
                 Shipped("frmPigeonsDelete.Caption") + "|      1");
        QCOMPARE(opens([&] { QTest::keyClick(loft.main->List(), Qt::Key_Delete); }),
                 Shipped("frmPigeonsDelete.Caption") + "|      1");
        QCOMPARE(loft.Bytes(), File({Pigeon("1")})); // closed like Cancel: nothing deleted
        QCOMPARE(opens([&] { loft.main->MenuItem("mnuPigeonAdd")->trigger(); }), Shipped("frmPigeonsAdd.Caption") + "|");
        QCOMPARE(loft.main->Mode(), ListMode::Pigeons); // closing the add dialog lists the pigeons
    }
};

QTEST_MAIN(PigeonDialogTest)
#include "pigeondialog_test.moc"
