#include "ui/registers/pigeondialog.h"
#include "uitestsupport.h"

namespace {

QByteArray Pigeon(const char* number, const char* sex = "M", const char* year = "05", const char* colour = "BLUE",
                  const char* chip = "1300000000", const char* format = "00") {
    return QByteArray::fromStdString(CompletePigeonRecord(BuildPigeonRecord("NL", year, "", number, sex), chip, colour, format));
}

// Fancier 012 of club 007 with his pigeon file; the main window lists his pigeons, `selected` marked.
struct Loft {
    ProgramFolderFixture folder;
    FixedPorts ports{{}};
    std::unique_ptr<MainWindow> main;

    explicit Loft(const QList<QByteArray>& pigeons = {}, std::initializer_list<int> selected = {}) {
        folder.Write("pigeon/p007012.dat", RegisterFile(pigeons));
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
    // Title and text of the messages shown since the last call.
    QStringList Told() {
        const QStringList texts = ShownTexts(folder.Messages());
        folder.Messages().Clear();
        return texts;
    }
};

QString Text(QWidget* dialog, std::initializer_list<const char*> names) {
    QString text;
    for (const char* name : names) text += dialog->findChild<FixedField*>(name)->text();
    return text;
}
void Type(QWidget* dialog, const char* name, const QString& text) { TypeInto(dialog->findChild<FixedField*>(name), text); }
QRadioButton* Option(QWidget* dialog, int n) { return dialog->findChild<QRadioButton*>(QString("Option%1").arg(n)); }
QString Label(QWidget* dialog, const char* name) { return dialog->findChild<QLabel*>(name)->text(); }

} // namespace

// Ring rules, runs and the file are core's; here the fields, the format choice, the messages and the list.
class PigeonDialogTest : public QObject {
    Q_OBJECT

private slots:
    void addNormalisesChoosesTheFormatRefusesWithTheFocusAndWritesAPigeon() {
        Loft loft;
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Add, 2024);
        dialog.show();
        QCOMPARE(Text(&dialog, {"Text2", "Text6", "Text7"}), QString("241    "));
        const std::pair<const char*, const char*> typing[] = {
            {"Text1", "nl"}, {"Text2", "5"}, {"Text4", "12a34567"}, {"Text5", "xm"}, {"Text7", "b1l"}};
        for (const auto& [field, typed] : typing) Type(&dialog, field, typed);
        QCOMPARE(Text(&dialog, {"Text2", "Text4", "Text5", "Text7"}), QString("051234567MBL  "));
        QVERIFY(Option(&dialog, 1)->isChecked());
        QCOMPARE(Label(&dialog, "Label9") + "|" + Label(&dialog, "Label11"), QString("NL      05   1234567M|NL   05 1234567M"));
        Type(&dialog, "Text2", "97");
        Click(&dialog);
        QCOMPARE(loft.Told(), NumberedMessage("frmPigeonsAdd", 1)); // 97 is no year to record
        QTRY_COMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.findChild<FixedField*>("Text2")));
        Type(&dialog, "Text2", "05");
        const QString failed = SavingFails(loft.folder.Messages(), [&] { Click(&dialog); });
        QVERIFY2(failed.startsWith(dialog.windowTitle() + ": ") && failed.contains("p007012.dat"), qPrintable(failed));
        QCOMPARE(loft.Bytes(), RegisterFile({}));
        loft.Told();
        Click(&dialog);
        QCOMPARE(loft.Bytes(), RegisterFile({"NL      05     1234567M1300000000BL  00"}));
        QCOMPARE(loft.main->List()->item(0)->text(), "0001:     NL      05   1234567M      BL  " + QString(16, ' '));
        QCOMPARE(Text(&dialog, {"Text4"}), QString("1234568")); // ready for the next ring
        QVERIFY(loft.Told().isEmpty() && dialog.isVisible());

        auto* nation = dialog.findChild<FixedField*>("Text1");
        nation->setFocus();
        nation->selectAll();
        QTest::keyClicks(nation, "gb"); // the previews follow each key, the format waits for the leaving
        QVERIFY(Option(&dialog, 1)->isChecked());
        QVERIFY(Label(&dialog, "Label9").startsWith("GB"));
        Type(&dialog, "Text1", "gb");
        QVERIFY(Option(&dialog, 3)->isChecked());
        Type(&dialog, "Text1", "xyz");
        Option(&dialog, 6)->click();
        Type(&dialog, "Text1", "xyz"); // retyped through "" and the listed "X": the user's choice stands
        QCOMPARE(dialog.SelectedFormat(), 5);
        QVERIFY(Option(&dialog, 6)->isChecked());
    }

    void alterChangesSexAndColourAndKeepsChipAndFormat() {
        Loft loft({Pigeon("1"), Pigeon("2", "M", "05", "BLUE", "ABCDEF0100", "06"), Pigeon("3")}, {1});
        PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Alter);
        dialog.show();
        QCOMPARE(Text(&dialog, {"Text1", "Text4", "Text7"}), QString("NL          2BLUE"));
        QVERIFY(dialog.findChild<FixedField*>("Text4")->isReadOnly());
        Type(&dialog, "Text5", "f");
        Type(&dialog, "Text7", " red");
        Click(&dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(loft.Bytes(), RegisterFile({Pigeon("1"), Pigeon("2", "F", "05", "RED ", "ABCDEF0100", "06"), Pigeon("3")}));
        QCOMPARE(loft.main->List()->currentRow(), 1);
    }

    void deleteAsksOnlyForSeveralAndRemovesExactlyTheSelected() {
        QList<QByteArray> five;
        for (const char* n : {"1", "2", "3", "4", "5"}) five << Pigeon(n);
        Loft loft(five, {1, 4});
        const QStringList question = {Shipped("frmPigeonsDelete.MsgBoxName1"), Shipped("frmPigeonsDelete.MsgBoxText1a") +
                                                                                  "\n" + Shipped("frmPigeonsDelete.MsgBoxText1b")};
        for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
            loft.folder.Messages().QueueAnswer(answer);
            PigeonDialog dialog(loft.main.get(), PigeonDialogMode::Delete);
            Click(&dialog);
            QCOMPARE(loft.Told(), question);
            QCOMPARE(loft.Bytes(), RegisterFile(answer == MessageAnswer::Ok ? QList{five[0], five[2], five[3]} : five));
        }
        loft.main->List()->setCurrentRow(2);
        PigeonDialog single(loft.main.get(), PigeonDialogMode::Delete);
        Click(&single);
        QCOMPARE(loft.Told(), QStringList()); // one line: no question
        QCOMPARE(loft.Bytes(), RegisterFile({five[0], five[2]}));
        QCOMPARE(loft.main->List()->currentRow(), 1); // the new last line
    }
};

QTEST_MAIN(PigeonDialogTest)
#include "pigeondialog_test.moc"
