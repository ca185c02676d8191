#include "ui/registers/fancierdialog.h"
#include "uitestsupport.h"

using Mode = FancierDialog::Mode;

// The refusals and the pigeon files of the deleted are core's; here the fields, the messages and the list.
class FancierDialogTest : public QObject {
    Q_OBJECT

    static QByteArray Fancier(const char* number, const char* name, const char* loft = "N51301525E0070500000") {
        return QByteArray(number) + QByteArray(name).leftJustified(20, ' ') + loft + QByteArray(30, ' ');
    }
    static void ShowFanciers(MainWindow& main, const QList<QByteArray>& records, ProgramFolderFixture& folder) {
        folder.Write("fancier/f007.DAT", RegisterFile(records));
        main.SelectedClubNumber = "007";
        main.ZuechterAnzeigen();
    }

private slots:
    void addBuildsTheRecordFromItsFieldsAndTellsARefusalAndAFailedSave() {
        ProgramFolderFixture folder;
        MainWindow main;
        ShowFanciers(main, {Fancier("002", "Smith")}, folder);
        FancierDialog d(&main, Mode::Add);
        d.show();
        QCOMPARE(Typed(&d, "Text4", ""), QString("W")); // a sign field fills its default on leaving
        Typed(&d, "Text1", "1");
        Typed(&d, "Text2", "Meier");
        Typed(&d, "Text6", "90");
        Click(&d);
        QCOMPARE(ShownTexts(folder.Messages()), NumberedMessage("frmFancierAdd", 1));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Text6"));
        const char* const parts[] = {"Text1", "Text3", "Text6", "Text7", "Text8", "Text9", "Text4", "Text10", "Text11"};
        const char* const values[] = {"1", "N", "51", "30", "15", "25", "E", "7", "5"};
        for (int i = 0; i < 9; ++i) Typed(&d, parts[i], values[i]);
        d.findChild<QCheckBox*>("Check1")->setChecked(true);
        QVERIFY(SavingFails(folder.Messages(), [&] { Click(&d); }).startsWith(Shipped("frmFancierAdd.Caption") + ": "));
        QVERIFY(d.isVisible());
        Click(&d);
        QCOMPARE(folder.Read("fancier/f007.DAT"),
                 RegisterFile({Fancier("001", "Meier", "N51301525E0070500001"), Fancier("002", "Smith")}));
        QCOMPARE(main.List()->count(), 2);
        FancierDialog another(&main, Mode::Add);
        another.show();
        folder.Write("fancier/f007.DAT", RegisterFile({}));
        QTest::keyClick(&another, Qt::Key_Escape); // leaving Add in any way lists the fanciers again
        QCOMPARE(main.List()->item(0)->text(), Shipped("frmMain.txtNoFancier"));
    }

    void alterKeepsTheListPosition() {
        ProgramFolderFixture folder;
        MainWindow main;
        ShowFanciers(main, {Fancier("002", "Smith"), Fancier("005", "Jones", "S01020304W123040506x")}, folder);
        main.List()->setCurrentRow(1);
        FancierDialog d(&main, Mode::Alter);
        QVERIFY(d.findChild<QCheckBox*>("Check1")->isChecked()); // anything but "0"
        d.show();
        Typed(&d, "Text2", "Jonas");
        Click(&d);
        QCOMPARE(folder.Read("fancier/f007.DAT"),
                 RegisterFile({Fancier("002", "Smith"), Fancier("005", "Jonas", "S01020304W1230405061")}));
        QCOMPARE(main.List()->currentRow(), 1);
    }

    void deleteAsksOnceForSeveralLinesOnly() {
        ProgramFolderFixture folder;
        MainWindow main;
        const QList<QByteArray> four = {Fancier("001", "A"), Fancier("002", "B"), Fancier("003", "C"), Fancier("004", "D")};
        ShowFanciers(main, four, folder);
        QListWidget* list = main.List();
        list->setCurrentRow(3);
        for (const int row : {0, 1}) list->setCurrentRow(row, QItemSelectionModel::Select); // as the user adds lines
        const QStringList question = {Shipped("frmFancierDelete.MsgBoxName3"),
                                      Shipped("frmFancierDelete.MsgBoxText3a") + "\n" + Shipped("frmFancierDelete.MsgBoxText3b")};
        for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
            folder.Messages().Clear();
            folder.Messages().QueueAnswer(answer);
            FancierDialog d(&main, Mode::Delete);
            d.show();
            QCOMPARE(d.findChild<QLineEdit*>("Text2")->text(), QString("B")); // the line clicked last
            Click(&d);
            QCOMPARE(ShownTexts(folder.Messages()), question);
            QCOMPARE(folder.Messages().Shown().at(0).icon, MessageIcon::Exclamation);
            if (answer == MessageAnswer::Cancel) QCOMPARE(folder.Read("fancier/f007.DAT"), RegisterFile(four));
        }
        QCOMPARE(folder.Read("fancier/f007.DAT"), RegisterFile({Fancier("003", "C")}));
        QCOMPARE(list->currentRow(), 0); // the new last line

        folder.Messages().Clear();
        FancierDialog single(&main, Mode::Delete); // one line: no question
        Click(&single);
        QCOMPARE(ShownTexts(folder.Messages()), QStringList());
        QCOMPARE(folder.Read("fancier/f007.DAT"), RegisterFile({}));
    }
};

QTEST_MAIN(FancierDialogTest)
#include "fancierdialog_test.moc"
