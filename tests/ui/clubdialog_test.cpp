#include "ui/registers/clubdialog.h"
#include "uitestsupport.h"

using Mode = ClubDialog::Mode;

// The refusals themselves are core's; here the fields, the message with its focus, and the list.
class ClubDialogTest : public QObject {
    Q_OBJECT

    static QByteArray Club(const QByteArray& number, const char* name, const char* note = "") {
        return number + QByteArray(name).leftJustified(30, ' ') + QByteArray(note).leftJustified(30, ' ');
    }
    static void Save(QWidget* d, const QString& number, const QString& name, const QString& note = {}) {
        Typed(d, "Text1", number);
        Typed(d, "Text2", name);
        Typed(d, "Text3", note);
        Click(d);
    }

private slots:
    void addPadsItsFieldsRefusesWithTheFocusOnTheFaultAndSavesInOrder() {
        ProgramFolderFixture folder;
        const QByteArray before = RegisterFile({Club("010", "Red Tower")});
        folder.Write("club/club.dat", before);
        MainWindow main;
        ClubDialog d(&main, Mode::Add);
        d.show();
        // The shared field: its key filter, padding on leaving, trimming on entering.
        QCOMPARE(Typed(&d, "Text1", "a5x"), QString("005"));
        QCOMPARE(Typed(&d, "Text2", QString::fromUtf8("  North\u221A ")), "North" + QString(25, ' ')); // no such byte
        auto* nameField = d.findChild<QLineEdit*>("Text2");
        nameField->setFocus();
        QCOMPARE(nameField->text(), QString("North"));
        Save(&d, "10", "Again");
        QCOMPARE(ShownTexts(folder.Messages()), NumberedMessage("frmClubAdd", 2));
        QCOMPARE(folder.Messages().Shown().at(0).icon, MessageIcon::Critical);
        auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QCOMPARE(focused->objectName(), QString("Text1"));
        QCOMPARE(focused->selectedText(), focused->text()); // selected, to be typed over
        QCOMPARE(folder.Read("club/club.dat"), before);
        Save(&d, "5", "Blue Wings", "est. 1950");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(folder.Read("club/club.dat"), RegisterFile({Club("005", "Blue Wings", "est. 1950"), Club("010", "Red Tower")}));
        QCOMPARE(main.List()->item(0)->text(), "005:     Blue Wings" + QString(20, ' '));
    }

    void alterAndDeleteKeepTheListPositionAndTellAFailedSave() {
        ProgramFolderFixture folder;
        folder.Write("club/club.dat", RegisterFile({Club("002", "A"), Club("005", "B", "  note"), Club("010", "C")}));
        MainWindow main;
        main.List()->setCurrentRow(1);
        ClubDialog alter(&main, Mode::Alter);
        alter.show();
        QCOMPARE(alter.findChild<QLineEdit*>("Text3")->text(), QString("note"));
        Save(&alter, "500", "Bee", "note");
        QCOMPARE(folder.Read("club/club.dat"), RegisterFile({Club("002", "A"), Club("010", "C"), Club("500", "Bee", "note")}));
        QCOMPARE(main.List()->currentRow(), 1);

        main.List()->setCurrentRow(2);
        ClubDialog remove(&main, Mode::Delete);
        remove.show();
        QVERIFY(remove.findChild<QLineEdit*>("Text1")->isReadOnly());
        QVERIFY(SavingFails(folder.Messages(), [&] { Click(&remove); }).startsWith(Shipped("frmClubDelete.Caption") + ": "));
        QVERIFY(remove.isVisible());
        Click(&remove);
        QCOMPARE(folder.Read("club/club.dat"), RegisterFile({Club("002", "A"), Club("010", "C")}));
        QCOMPARE(main.List()->currentRow(), 1); // the new last line
        QCOMPARE(main.SelectedClubNumber, std::string("010"));
    }
};

QTEST_MAIN(ClubDialogTest)
#include "clubdialog_test.moc"
