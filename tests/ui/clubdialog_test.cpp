#include "registers/clubdialog.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;
using Mode = ClubDialog::Mode;

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
    void addPadsItsFieldsRefusesWithItsMessagesAndSavesInOrder() {
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
        for (const auto& [number, name, message, focus] :
             {std::tuple{"5", "   ", 1, "Text2"}, std::tuple{"10", "Again", 2, "Text1"}}) {
            folder.Messages().Clear();
            Save(&d, number, name);
            QCOMPARE(ShownTexts(folder.Messages()), NumberedMessage("frmClubAdd", message));
            QCOMPARE(folder.Messages().Shown().at(0).icon, MessageIcon::Critical);
            auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            QCOMPARE(focused->objectName(), QString(focus));
            QCOMPARE(focused->selectedText(), focused->text()); // selected, to be typed over
            QCOMPARE(folder.Read("club/club.dat"), before);
        }
        folder.Messages().Clear();
        Save(&d, "5", "Blue Wings", "est. 1950");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(folder.Read("club/club.dat"), RegisterFile({Club("005", "Blue Wings", "est. 1950"), Club("010", "Red Tower")}));
        QCOMPARE(main.List()->item(0)->text(), "005:     Blue Wings" + QString(20, ' '));

        QList<QByteArray> full;
        for (int n = 100; n < 350; ++n) full << Club(QByteArray::number(n), "C");
        folder.Write("club/club.dat", RegisterFile(full));
        ClubDialog another(&main, Mode::Add);
        Save(&another, "1", "One");
        QCOMPARE(ShownTexts(folder.Messages()), NumberedMessage("frmClubAdd", 3));
    }

    void alterAndDeleteKeepTheListPositionAndTellAFailedSave() {
        ProgramFolderFixture folder;
        folder.Write("club/club.dat", RegisterFile({Club("002", "A"), Club("005", "B", "  note"), Club("010", "C")}));
        MainWindow main;
        main.List()->setCurrentRow(1);
        ClubDialog alter(&main, Mode::Alter);
        alter.show();
        QCOMPARE(alter.findChild<QLineEdit*>("Text3")->text(), QString("note"));
        Save(&alter, "10", "B");
        QCOMPARE(ShownTexts(folder.Messages()), NumberedMessage("frmClubAlter", 2));
        Save(&alter, "500", "Bee", "note"); // any three digits
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
