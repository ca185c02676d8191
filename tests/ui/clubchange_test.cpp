#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/mainwindow.h"
#include "registers/clubchangedialog.h"
#include "uitestsupport.h"
#include "widgets/fixedfield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

QByteArray Fancier(const QByteArray& number, const QByteArray& name) {
    return number + name + QByteArray(20 - name.size(), ' ') + "N51301525E0070500001" + QByteArray(30, ' ');
}

const QByteArray kPigeons = " 1 \r\nB       05     1234567M1300000000BLUE00\r\n";

// Clubs 001 and 002; fancier 012 of club 001 is the current one.
struct Clubs {
    ProgramFolderFixture folder;
    FixedPorts ports{{}};
    std::unique_ptr<MainWindow> main;

    Clubs() {
        folder.Write("club/club.dat", " 2 \r\n001Blue Wings" + QByteArray(50, ' ') + "\r\n002Red Tower" +
                                          QByteArray(51, ' ') + "\r\n");
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

} // namespace

class ClubChangeTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheCurrentFancierAndKeepsToThreeDigits() {
        Clubs clubs;
        ClubChangeDialog dialog(clubs.main.get());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), Shipped("frmClubChange.Caption"));
        QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
        QCOMPARE(Text(&dialog, "Text1")->text() + "/" + Text(&dialog, "Text2")->text(), QString("001/012"));
        TypeInto(Text(&dialog, "Text1"), "a2b");
        QCOMPARE(Text(&dialog, "Text1")->text(), QString("002"));
        TypeInto(Text(&dialog, "Text2"), "");
        QCOMPARE(Text(&dialog, "Text2")->text(), QString("000"));
        TypeInto(Text(&dialog, "Text2"), "3001");
        QCOMPARE(Text(&dialog, "Text2")->text(), QString("300"));
    }

    void savingMovesTheFancierAndListsTheClubs() {
        Clubs clubs;
        ClubChangeDialog dialog(clubs.main.get());
        dialog.show();
        TypeInto(Text(&dialog, "Text1"), "2");
        TypeInto(Text(&dialog, "Text2"), "5");
        dialog.findChild<QPushButton*>("Command1")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(clubs.folder.Messages().Shown().empty());
        QCOMPARE(clubs.folder.Read("fancier/f001.DAT"), QByteArray(" 0 \r\n"));
        QCOMPARE(clubs.folder.Read("fancier/f002.DAT"),
                 " 2 \r\n" + Fancier("001", "Zorn") + "\r\n" + Fancier("005", "Meier") + "\r\n");
        QCOMPARE(clubs.folder.Read("pigeon/p002005.dat"), kPigeons);
        QVERIFY(!QFile::exists(clubs.folder.Path() + "/pigeon/p001012.dat"));
        QCOMPARE(clubs.main->Mode(), ListMode::Clubs);
    }

    void eachRefusalShowsItsMessageAndKeepsTheDialogOpen() {
        Clubs clubs;
        ClubChangeDialog dialog(clubs.main.get());
        dialog.show();
        const struct {
            const char* club;
            const char* fancier;
            int message;
            const char* focus;
        } cases[] = {{"0", "5", 1, "Text1"}, {"9", "5", 4, "Text1"}, {"2", "1", 2, "Text2"}};
        for (const auto& c : cases) {
            TypeInto(Text(&dialog, "Text1"), c.club);
            TypeInto(Text(&dialog, "Text2"), c.fancier);
            dialog.findChild<QPushButton*>("Command1")->click();
            QCOMPARE(clubs.folder.Messages().Shown().size(), size_t(1));
            const ShownMessage& shown = clubs.folder.Messages().Shown()[0];
            QCOMPARE(shown.title, Shipped(QString("frmClubChange.MsgBoxName%1").arg(c.message)));
            QCOMPARE(shown.text, Shipped(QString("frmClubChange.MsgBoxText%1").arg(c.message)));
            QCOMPARE(shown.icon, MessageIcon::Critical);
            QCOMPARE(dialog.focusWidget()->objectName(), QString(c.focus));
            QVERIFY(dialog.isVisible());
            clubs.folder.Messages().Clear();
        }
        QByteArray full = " 250 \r\n";
        for (int i = 1; i <= 250; ++i) full += Fancier(QByteArray::number(i).rightJustified(3, '0'), "F") + "\r\n";
        clubs.folder.Write("fancier/f002.DAT", full);
        TypeInto(Text(&dialog, "Text2"), "251");
        dialog.findChild<QPushButton*>("Command1")->click();
        QCOMPARE(clubs.folder.Messages().Shown().at(0).text, Shipped("frmClubChange.MsgBoxText3"));
        QCOMPARE(clubs.folder.Read("fancier/f002.DAT"), full);
        QCOMPARE(clubs.folder.Read("pigeon/p001012.dat"), kPigeons);
    }

    void aFailedWriteIsShownAndNothingMoves() {
        Clubs clubs;
        SetSaveFaultForTests([](const Path& target) { return target.filename() == "f001.DAT"; });
        ClubChangeDialog dialog(clubs.main.get());
        dialog.show();
        TypeInto(Text(&dialog, "Text1"), "2");
        TypeInto(Text(&dialog, "Text2"), "5");
        dialog.findChild<QPushButton*>("Command1")->click();
        SetSaveFaultForTests(nullptr);
        QCOMPARE(clubs.folder.Messages().Shown().size(), size_t(1));
        const ShownMessage& shown = clubs.folder.Messages().Shown()[0];
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QCOMPARE(shown.title, dialog.windowTitle());
        QVERIFY2(shown.text.contains("f001.DAT"), qPrintable(shown.text));
        QVERIFY(dialog.isVisible());
        QCOMPARE(clubs.folder.Read("fancier/f002.DAT"), " 1 \r\n" + Fancier("001", "Zorn") + "\r\n");
        QCOMPARE(clubs.folder.Read("pigeon/p001012.dat"), kPigeons);
        QVERIFY(!QFile::exists(clubs.folder.Path() + "/pigeon/p002005.dat"));
        QCOMPARE(clubs.main->Mode(), ListMode::Fanciers);
    }

    void theMenuOpensTheDialog() {
        Clubs clubs;
        QVERIFY(clubs.main->MenuItem("mnuClubChange")->isEnabled());
        QString opened;
        ModalWatcher watcher([&](QWidget* modal) { opened = modal->objectName(); });
        clubs.main->MenuItem("mnuClubChange")->trigger();
        QCOMPARE(opened, QString("frmClubChange"));
    }
};

QTEST_MAIN(ClubChangeTest)
#include "clubchange_test.moc"
