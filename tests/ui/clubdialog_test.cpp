#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/files.h"
#include "app/mainwindow.h"
#include "registers/clubdialog.h"
#include "uitestsupport.h"
#include "widgets/fixedfield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;
using Mode = ClubDialog::Mode;

class ClubDialogTest : public QObject {
    Q_OBJECT

    static QByteArray Club(const char* number, const char* name, const char* note = "") {
        return QByteArray(number) + QByteArray(name).leftJustified(30, ' ') + QByteArray(note).leftJustified(30, ' ');
    }
    static QByteArray File(const QList<QByteArray>& records) {
        QByteArray bytes = " " + QByteArray::number(records.size()) + " \r\n";
        for (const auto& r : records) bytes += r + "\r\n";
        return bytes;
    }
    static FixedField* Field(QWidget* d, const char* name) { return d->findChild<FixedField*>(name); }
    static void Fill(QWidget* d, const QString& number, const QString& name, const QString& note = {}) {
        TypeInto(Field(d, "Text1"), number);
        TypeInto(Field(d, "Text2"), name);
        TypeInto(Field(d, "Text3"), note);
    }
    static void Press(QWidget* d) { d->findChild<QPushButton*>("Command1")->click(); }

private slots:
    void fieldsTakeDigitsPadOnLeavingAndTrimOnEntering() {
        ProgramFolderFixture folder;
        MainWindow main;
        ClubDialog d(&main, Mode::Add);
        d.show();
        TypeInto(Field(&d, "Text1"), "a5x");
        QCOMPARE(Field(&d, "Text1")->text(), QString("005"));
        TypeInto(Field(&d, "Text1"), "12345");
        QCOMPARE(Field(&d, "Text1")->text(), QString("123"));
        TypeInto(Field(&d, "Text2"), "  North ");
        QCOMPARE(Field(&d, "Text2")->text(), "North" + QString(25, ' '));
        Field(&d, "Text2")->setFocus();
        QCOMPARE(Field(&d, "Text2")->text(), QString("North"));
    }

    void addSavesInOrderOrRefusesWithItsMessages() {
        ProgramFolderFixture folder;
        folder.Write("club/club.dat", File({Club("010", "Red Tower")}));
        MainWindow main;
        ClubDialog d(&main, Mode::Add);
        d.show();
        const QByteArray before = folder.Read("club/club.dat");
        struct Case { const char* number; const char* name; int message; const char* focus; };
        for (const Case& c : {Case{"100", "Big", 1, "Text1"}, Case{"5", "   ", 1, "Text2"}, Case{"", "X", 1, "Text1"},
                              Case{"10", "Again", 2, "Text1"}}) {
            folder.Messages().Clear();
            Fill(&d, c.number, c.name);
            Press(&d);
            QCOMPARE(folder.Messages().Shown().size(), size_t(1));
            const ShownMessage& shown = folder.Messages().Shown().front();
            QCOMPARE(shown.title, Shipped(QString("frmClubAdd.MsgBoxName%1").arg(c.message)));
            QCOMPARE(shown.text, Shipped(QString("frmClubAdd.MsgBoxText%1").arg(c.message)));
            QCOMPARE(shown.icon, MessageIcon::Critical);
            QCOMPARE(QApplication::focusWidget(), Field(&d, c.focus));
            QVERIFY(d.isVisible());
            QCOMPARE(folder.Read("club/club.dat"), before);
        }
        folder.Messages().Clear();
        Fill(&d, "5", "Blue Wings", "est. 1950");
        Press(&d);
        QVERIFY(folder.Messages().Shown().empty());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(folder.Read("club/club.dat"), File({Club("005", "Blue Wings", "est. 1950"), Club("010", "Red Tower")}));
        QCOMPARE(main.List()->count(), 2);
        QCOMPARE(main.List()->item(0)->text(), "005:     Blue Wings" + QString(20, ' '));
    }

    void addRefusesTheTwoHundredFiftyFirstClub() {
        ProgramFolderFixture folder;
        QList<QByteArray> clubs;
        for (int n = 0; n < 250; ++n) clubs << Club(QByteArray::number(n + 100).constData(), "C");
        folder.Write("club/club.dat", File(clubs));
        MainWindow main;
        ClubDialog d(&main, Mode::Add);
        d.show();
        Fill(&d, "1", "One");
        Press(&d);
        QCOMPARE(folder.Messages().Shown().at(0).text, Shipped("frmClubAdd.MsgBoxText3"));
        QCOMPARE(folder.Read("club/club.dat"), File(clubs));
    }

    void alterAndDeleteKeepTheListPosition() {
        ProgramFolderFixture folder;
        folder.Write("club/club.dat", File({Club("002", "A"), Club("005", "B", "  note"), Club("010", "C")}));
        MainWindow main;
        main.List()->setCurrentRow(1);
        {
            ClubDialog d(&main, Mode::Alter);
            d.show();
            QCOMPARE(Field(&d, "Text2")->text(), QString("B"));
            QCOMPARE(Field(&d, "Text3")->text(), QString("note"));
            TypeInto(Field(&d, "Text1"), "10");
            Press(&d); // collides with another club
            QCOMPARE(folder.Messages().Shown().at(0).text, Shipped("frmClubAlter.MsgBoxText2"));
            TypeInto(Field(&d, "Text1"), "500"); // Alter takes any three digits
            TypeInto(Field(&d, "Text2"), "Bee");
            Press(&d);
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QCOMPARE(folder.Read("club/club.dat"), File({Club("002", "A"), Club("010", "C"), Club("500", "Bee", "note")}));
        QCOMPARE(main.List()->currentRow(), 1);
        QCOMPARE(main.SelectedClubNumber, std::string("010"));

        main.List()->setCurrentRow(2);
        ClubDialog d(&main, Mode::Delete);
        QVERIFY(Field(&d, "Text1")->isReadOnly());
        QCOMPARE(Field(&d, "Text1")->text(), QString("500"));
        Press(&d);
        QCOMPARE(folder.Read("club/club.dat"), File({Club("002", "A"), Club("010", "C")}));
        QCOMPARE(main.List()->currentRow(), 1); // the new last line
        QCOMPARE(main.SelectedClubNumber, std::string("010"));
    }

    void aFailedSaveIsShownAndChangesNothing() {
        ProgramFolderFixture folder;
        folder.Write("club/club.dat", File({Club("002", "A")}));
        MainWindow main;
        main.List()->setCurrentRow(0);
        SetSaveFaultForTests([](const Path&) { return true; });
        ClubDialog d(&main, Mode::Delete);
        d.show();
        Press(&d);
        SetSaveFaultForTests(nullptr);
        QCOMPARE(folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(folder.Messages().Shown().at(0).title, Shipped("frmClubDelete.Caption"));
        QCOMPARE(folder.Messages().Shown().at(0).icon, MessageIcon::Critical);
        QVERIFY(!folder.Messages().Shown().at(0).text.isEmpty());
        QVERIFY(d.isVisible());
        QCOMPARE(folder.Read("club/club.dat"), File({Club("002", "A")}));
    }

    void menusAndTheDeleteKeyOpenEachModeWithItsTexts() {
        ProgramFolderFixture folder;
        folder.Write("club/club.dat", File({Club("002", "A")}));
        MainWindow main;
        main.List()->setCurrentRow(0);
        for (const char* menu : {"mnuClubAdd", "mnuClubAlter", "mnuClubDelete", "Delete key"}) {
            QString name, title;
            QStringList missing;
            ModalWatcher watcher([&](QWidget* modal) {
                name = modal->objectName();
                title = modal->windowTitle();
                missing = MissingCaptionKeys(modal);
            });
            if (QString(menu) == "Delete key") QTest::keyClick(main.List(), Qt::Key_Delete);
            else main.MenuItem(menu)->trigger();
            const QString expected = QString(menu) == "Delete key" ? "frmClubDelete" : "frm" + QString(menu).mid(3);
            QCOMPARE(name, expected);
            QCOMPARE(title, Shipped(expected + ".Caption"));
            QCOMPARE(missing, QStringList());
        }
        QCOMPARE(folder.Read("club/club.dat"), File({Club("002", "A")})); // closed by Escape/Cancel
    }
};

QTEST_MAIN(ClubDialogTest)
#include "clubdialog_test.moc"
