#include "ui/registers/clubchangedialog.h"
#include "uitestsupport.h"

// The refusals are core's; here the fields, one message with its focus, and what a save does.
class ClubChangeTest : public QObject {
    Q_OBJECT

    static QByteArray Fancier(const QByteArray& number, const QByteArray& name) {
        return number + name.leftJustified(20, ' ') + "N51301525E0070500001" + QByteArray(30, ' ');
    }
    static void SaveTo(QWidget* dialog, const char* club, const char* fancier) {
        Typed(dialog, "Text1", club);
        Typed(dialog, "Text2", fancier);
        Click(dialog);
    }

private slots:
    void opensOnTheCurrentFancierRefusesKeepsAFailedWriteAndMovesHim() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        const QByteArray pigeons = " 1 \r\nB       05     1234567M1300000000BLUE00\r\n";
        folder.Write("club/club.dat", " 2 \r\n001Blue" + QByteArray(56, ' ') + "\r\n002Red" + QByteArray(57, ' ') + "\r\n");
        folder.Write("fancier/f001.DAT", RegisterFile({Fancier("012", "Meier")}));
        folder.Write("fancier/f002.DAT", RegisterFile({Fancier("001", "Zorn")}));
        folder.Write("pigeon/p001012.dat", pigeons);
        MainWindow main; // fancier 012 of club 001 selected
        main.StartupTimer()->stop();
        main.List()->setCurrentRow(0);
        main.ZuechterAnzeigen();
        main.List()->setCurrentRow(0);
        ClubChangeDialog dialog(&main);
        dialog.show();
        QCOMPARE(dialog.findChild<QLineEdit*>("Text1")->text() + "/" + dialog.findChild<QLineEdit*>("Text2")->text(),
                 QString("001/012"));
        SaveTo(&dialog, "2", "1"); // fancier 001 is there already
        QCOMPARE(ShownTexts(folder.Messages()), NumberedMessage("frmClubChange", 2));
        QCOMPARE(dialog.focusWidget()->objectName(), QString("Text2"));

        const QString failed = SavingFails(folder.Messages(), [&] { SaveTo(&dialog, "2", "5"); });
        QVERIFY2(failed.startsWith(dialog.windowTitle() + ": ") && failed.contains("p002005.dat"), qPrintable(failed));
        QVERIFY(dialog.isVisible() && main.Mode() == ListMode::Fanciers);
        QCOMPARE(folder.Read("fancier/f002.DAT"), RegisterFile({Fancier("001", "Zorn")}));
        QCOMPARE(folder.Read("pigeon/p001012.dat"), pigeons);

        folder.Messages().Clear();
        SaveTo(&dialog, "a2b", "5");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(folder.Messages().Shown().empty());
        QCOMPARE(folder.Read("fancier/f001.DAT"), RegisterFile({}));
        QCOMPARE(folder.Read("fancier/f002.DAT"), RegisterFile({Fancier("001", "Zorn"), Fancier("005", "Meier")}));
        QCOMPARE(folder.Read("pigeon/p002005.dat"), pigeons);
        QVERIFY(!QFile::exists(folder.Path() + "/pigeon/p001012.dat"));
        QCOMPARE(main.Mode(), ListMode::Clubs);
    }
};

QTEST_MAIN(ClubChangeTest)
#include "clubchange_test.moc"
