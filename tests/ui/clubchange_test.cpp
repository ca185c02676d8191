#include "registers/clubchangedialog.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

QByteArray Fancier(const QByteArray& number, const QByteArray& name) {
    return number + name + QByteArray(20 - name.size(), ' ') + "N51301525E0070500001" + QByteArray(30, ' ');
}

const QByteArray kPigeons = " 1 \r\nB       05     1234567M1300000000BLUE00\r\n";

// Clubs 001 and 002; fancier 012 of club 001 is selected in the main window.
struct Clubs {
    ProgramFolderFixture folder;
    FixedPorts ports{{}};
    std::unique_ptr<MainWindow> main;

    Clubs() {
        folder.Write("club/club.dat", " 2 \r\n001Blue" + QByteArray(56, ' ') + "\r\n002Red" + QByteArray(57, ' ') + "\r\n");
        folder.Write("fancier/f001.DAT", " 1 \r\n" + Fancier("012", "Meier") + "\r\n");
        folder.Write("fancier/f002.DAT", " 1 \r\n" + Fancier("001", "Zorn") + "\r\n");
        folder.Write("pigeon/p001012.dat", kPigeons);
        main = std::make_unique<MainWindow>();
        main->StartupTimer()->stop();
        main->List()->setCurrentRow(0);
        main->ZuechterAnzeigen();
        main->List()->setCurrentRow(0);
        folder.Messages().Clear();
    }
};

FixedField* Text(QWidget* dialog, const char* name) { return dialog->findChild<FixedField*>(name); }

void SaveTo(QWidget* dialog, const char* club, const char* fancier) {
    TypeInto(Text(dialog, "Text1"), club);
    TypeInto(Text(dialog, "Text2"), fancier);
    dialog->findChild<QPushButton*>("Command1")->click();
}

} // namespace

class ClubChangeTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheCurrentFancierAndSavingMovesHim() {
        Clubs clubs;
        ClubChangeDialog dialog(clubs.main.get());
        dialog.show();
        QCOMPARE(Text(&dialog, "Text1")->text() + "/" + Text(&dialog, "Text2")->text(), QString("001/012"));
        TypeInto(Text(&dialog, "Text1"), "a2b");
        TypeInto(Text(&dialog, "Text2"), "");
        QCOMPARE(Text(&dialog, "Text1")->text() + "/" + Text(&dialog, "Text2")->text(), QString("002/000"));
        SaveTo(&dialog, "2", "5");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(clubs.folder.Messages().Shown().empty());
        QCOMPARE(clubs.folder.Read("fancier/f001.DAT"), QByteArray(" 0 \r\n"));
        QCOMPARE(clubs.folder.Read("fancier/f002.DAT"),
                 " 2 \r\n" + Fancier("001", "Zorn") + "\r\n" + Fancier("005", "Meier") + "\r\n");
        QCOMPARE(clubs.folder.Read("pigeon/p002005.dat"), kPigeons);
        QVERIFY(!QFile::exists(clubs.folder.Path() + "/pigeon/p001012.dat"));
        QCOMPARE(clubs.main->Mode(), ListMode::Clubs);
    }

    void refusalsAndAFailedWriteAreShownAndTheDialogStays() {
        Clubs clubs;
        ClubChangeDialog dialog(clubs.main.get());
        dialog.show();
        const struct {
            const char *club, *fancier;
            int message;
            const char* focus;
        } cases[] = {{"0", "5", 1, "Text1"}, {"9", "5", 4, "Text1"}, {"2", "1", 2, "Text2"}};
        for (const auto& c : cases) {
            SaveTo(&dialog, c.club, c.fancier);
            QCOMPARE(ShownTexts(clubs.folder.Messages()), NumberedMessage("frmClubChange", c.message));
            QCOMPARE(dialog.focusWidget()->objectName(), QString(c.focus));
            clubs.folder.Messages().Clear();
        }

        const QString failed = SavingFails(clubs.folder.Messages(), [&] { SaveTo(&dialog, "2", "5"); });
        QVERIFY2(failed.startsWith(dialog.windowTitle() + ": ") && failed.contains("p002005.dat"), qPrintable(failed));
        QVERIFY(dialog.isVisible());
        QCOMPARE(clubs.folder.Read("fancier/f002.DAT"), " 1 \r\n" + Fancier("001", "Zorn") + "\r\n");
        QCOMPARE(clubs.folder.Read("pigeon/p001012.dat"), kPigeons);
        QCOMPARE(clubs.main->Mode(), ListMode::Fanciers);
    }
};

QTEST_MAIN(ClubChangeTest)
#include "clubchange_test.moc"
