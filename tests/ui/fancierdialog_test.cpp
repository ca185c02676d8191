#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/files.h"
#include "app/mainwindow.h"
#include "registers/fancierdialog.h"
#include "uitestsupport.h"
#include "widgets/fixedfield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;
using Mode = FancierDialog::Mode;

class FancierDialogTest : public QObject {
    Q_OBJECT

    static QByteArray Fancier(const char* number, const char* name, const char* loft = "N51301525E007050000",
                              char manual = '0') {
        return QByteArray(number) + QByteArray(name).leftJustified(20, ' ') + loft + manual + QByteArray(30, ' ');
    }
    static QByteArray File(const QList<QByteArray>& records) {
        QByteArray bytes = " " + QByteArray::number(records.size()) + " \r\n";
        for (const auto& r : records) bytes += r + "\r\n";
        return bytes;
    }
    static FixedField* Field(QWidget* d, const char* name) { return d->findChild<FixedField*>(name); }
    static void Press(QWidget* d) { d->findChild<QPushButton*>("Command1")->click(); }
    static void ShowFanciers(MainWindow& main) {
        main.SelectedClubNumber = "007";
        main.ZuechterAnzeigen();
    }
    static QString Typed(QWidget* d, const char* name, const QString& text) {
        TypeInto(Field(d, name), text);
        return Field(d, name)->text();
    }

private slots:
    void addOpensWithDefaultsAndFieldsFollowTheirRules() {
        ProgramFolderFixture folder;
        MainWindow main;
        ShowFanciers(main);
        FancierDialog d(&main, Mode::Add);
        d.show();
        const QStringList shown = {Field(&d, "Text3")->text(), Field(&d, "Text6")->text(), Field(&d, "Text9")->text(),
                                   Field(&d, "Text4")->text(), Field(&d, "Text10")->text()};
        QCOMPARE(shown, (QStringList{"N", "00", "00", "W", "000"}));
        QCOMPARE(Typed(&d, "Text1", "7"), QString("007"));
        QCOMPARE(Typed(&d, "Text3", "s"), QString("S"));
        QCOMPARE(Typed(&d, "Text3", "E"), QString("N")); // refused key, empty on leaving
        QCOMPARE(Typed(&d, "Text4", "e"), QString("E"));
        QCOMPARE(Typed(&d, "Text4", ""), QString("W"));
        QCOMPARE(Typed(&d, "Text10", "7"), QString("007"));
        QCOMPARE(Typed(&d, "Text7", "x"), QString("00"));
        QCOMPARE(Typed(&d, "Text2", " Meier"), "Meier" + QString(15, ' '));
    }

    void addWritesTheRecordOrRefusesWithItsMessages() {
        ProgramFolderFixture folder;
        folder.Write("fancier/f007.DAT", File({Fancier("002", "Smith")}));
        MainWindow main;
        ShowFanciers(main);
        FancierDialog d(&main, Mode::Add);
        d.show();
        TypeInto(Field(&d, "Text2"), "Meier");
        struct Case { const char* field; const char* text; int message; const char* focus; };
        for (const Case& c : {Case{"Text1", "256", 1, "Text1"}, Case{"Text6", "90", 1, "Text6"},
                              Case{"Text6", "51", 2, "Text1"}}) {
            folder.Messages().Clear();
            TypeInto(Field(&d, "Text1"), c.field == QString("Text1") ? c.text : "2");
            if (c.field != QString("Text1")) TypeInto(Field(&d, c.field), c.text);
            Press(&d);
            QCOMPARE(folder.Messages().Shown().size(), size_t(1));
            QCOMPARE(folder.Messages().Shown().at(0).title, Shipped(QString("frmFancierAdd.MsgBoxName%1").arg(c.message)));
            QCOMPARE(folder.Messages().Shown().at(0).text, Shipped(QString("frmFancierAdd.MsgBoxText%1").arg(c.message)));
            QCOMPARE(QApplication::focusWidget(), Field(&d, c.focus));
            QCOMPARE(Field(&d, c.focus)->selectedText(), Field(&d, c.focus)->text());
        }
        folder.Messages().Clear();
        TypeInto(Field(&d, "Text1"), "1");
        const QStringList loft = {"N", "51", "30", "15", "25", "E", "7", "5", "0", "0"};
        const char* const parts[] = {"Text3", "Text6", "Text7", "Text8", "Text9", "Text4", "Text10", "Text11", "Text12", "Text13"};
        for (int i = 0; i < 10; ++i) TypeInto(Field(&d, parts[i]), loft[i]);
        d.findChild<QCheckBox*>("Check1")->setChecked(true);
        Press(&d);
        QVERIFY(folder.Messages().Shown().empty());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const QByteArray meier = "001Meier" + QByteArray(15, ' ') + "N51301525E0070500001" + QByteArray(30, ' ');
        QCOMPARE(meier.size(), 73);
        QCOMPARE(folder.Read("fancier/f007.DAT"), File({meier, Fancier("002", "Smith")}));
        QCOMPARE(main.List()->count(), 2);
    }

    void cancellingAddShowsTheFancierListAgain() {
        ProgramFolderFixture folder;
        folder.Write("fancier/f007.DAT", File({Fancier("002", "Smith")}));
        MainWindow main;
        ShowFanciers(main);
        folder.Write("fancier/f007.DAT", File({Fancier("002", "Smith"), Fancier("003", "Jones")}));
        FancierDialog d(&main, Mode::Add);
        d.show();
        QTest::keyClick(&d, Qt::Key_Escape);
        QCOMPARE(main.List()->count(), 2);
        QCOMPARE(main.Mode(), ListMode::Fanciers);
    }

    void alterShowsTheFancierAndKeepsTheListPosition() {
        ProgramFolderFixture folder;
        folder.Write("fancier/f007.DAT", File({Fancier("002", "Smith"), Fancier("005", "Jones", "S01020304W123040506", 'x')}));
        MainWindow main;
        ShowFanciers(main);
        main.List()->setCurrentRow(1);
        FancierDialog d(&main, Mode::Alter);
        d.show();
        QCOMPARE(Field(&d, "Text2")->text(), QString("Jones"));
        QCOMPARE(Field(&d, "Text10")->text(), QString("123"));
        QVERIFY(d.findChild<QCheckBox*>("Check1")->isChecked());
        TypeInto(Field(&d, "Text1"), "2");
        Press(&d);
        QCOMPARE(folder.Messages().Shown().at(0).text, Shipped("frmFancierAlter.MsgBoxText2"));
        TypeInto(Field(&d, "Text1"), "5"); // keeps his number
        TypeInto(Field(&d, "Text2"), "Jonas");
        Press(&d);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(folder.Read("fancier/f007.DAT"),
                 File({Fancier("002", "Smith"), Fancier("005", "Jonas", "S01020304W123040506", '1')}));
        QCOMPARE(main.List()->currentRow(), 1);
        QCOMPARE(main.SelectedFancierNumber, std::string("005"));
    }

    void deleteAsksOnceForSeveralLinesAndRemovesTheirPigeons() {
        ProgramFolderFixture folder;
        const QList<QByteArray> four = {Fancier("001", "A"), Fancier("002", "B"), Fancier("003", "C"), Fancier("004", "D")};
        folder.Write("fancier/f007.DAT", File(four));
        for (const char* n : {"001", "002", "004"}) folder.Write(QString("pigeon/p007%1.dat").arg(n), " 0 \r\n");
        MainWindow main;
        ShowFanciers(main);
        main.show();
        QListWidget* list = main.List();
        list->setCurrentRow(3);
        for (const int row : {0, 1}) // as the user adds lines to the selection
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualItemRect(list->item(row)).center());
        QCOMPARE(main.SelectedLines(), (std::vector<int>{0, 1, 3}));
        for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
            folder.Messages().Clear();
            folder.Messages().QueueAnswer(answer);
            FancierDialog d(&main, Mode::Delete);
            d.show();
            QCOMPARE(Field(&d, "Text2")->text(), QString("B")); // the line clicked last
            QVERIFY(Field(&d, "Text6")->isReadOnly() && !d.findChild<QCheckBox*>("Check1")->isEnabled());
            Press(&d);
            QCOMPARE(folder.Messages().Shown().size(), size_t(1));
            const ShownMessage& asked = folder.Messages().Shown().front();
            QCOMPARE(asked.icon, MessageIcon::Exclamation);
            QCOMPARE(asked.title, Shipped("frmFancierDelete.MsgBoxName3"));
            QCOMPARE(asked.text, Shipped("frmFancierDelete.MsgBoxText3a") + "\n" + Shipped("frmFancierDelete.MsgBoxText3b"));
            QVERIFY(!d.isVisible());
            if (answer == MessageAnswer::Cancel) QCOMPARE(folder.Read("fancier/f007.DAT"), File(four));
        }
        QCOMPARE(folder.Read("fancier/f007.DAT"), File({Fancier("003", "C")}));
        for (const char* n : {"001", "002", "004"}) QVERIFY(!QFile::exists(folder.Path() + "/pigeon/p007" + n + ".dat"));
        QCOMPARE(main.List()->currentRow(), 0); // the new last line

        FancierDialog single(&main, Mode::Delete); // one line: no question
        folder.Messages().Clear();
        Press(&single);
        QVERIFY(folder.Messages().Shown().empty());
        QCOMPARE(folder.Read("fancier/f007.DAT"), File({}));
        QCOMPARE(main.List()->item(0)->text(), Shipped("frmMain.txtNoFancier"));
    }

    void aFailedSaveIsShownAndTheDialogStaysOpen() {
        ProgramFolderFixture folder;
        MainWindow main;
        ShowFanciers(main);
        FancierDialog d(&main, Mode::Add);
        d.show();
        TypeInto(Field(&d, "Text1"), "1");
        TypeInto(Field(&d, "Text2"), "Meier");
        SetSaveFaultForTests([](const Path&) { return true; });
        Press(&d);
        SetSaveFaultForTests(nullptr);
        QCOMPARE(folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(folder.Messages().Shown().at(0).title, Shipped("frmFancierAdd.Caption"));
        QVERIFY(d.isVisible());
        QVERIFY(folder.Read("fancier/f007.DAT").isEmpty());
    }

    void menusAndTheDeleteKeyOpenEachModeWithItsTexts() {
        ProgramFolderFixture folder;
        folder.Write("fancier/f007.DAT", File({Fancier("002", "Smith")}));
        MainWindow main;
        ShowFanciers(main);
        main.List()->setCurrentRow(0);
        for (const char* menu : {"mnuFancierAdd", "mnuFancierAlter", "mnuFancierDelete", "Delete key"}) {
            main.List()->setCurrentRow(0);
            QString name;
            QStringList missing;
            ModalWatcher watcher([&](QWidget* modal) {
                name = modal->objectName();
                missing = MissingCaptionKeys(modal);
            });
            if (QString(menu) == "Delete key") QTest::keyClick(main.List(), Qt::Key_Delete);
            else main.MenuItem(menu)->trigger();
            QCOMPARE(name, QString(menu) == "Delete key" ? "frmFancierDelete" : "frm" + QString(menu).mid(3));
            QCOMPARE(missing, QStringList());
        }
        QCOMPARE(folder.Read("fancier/f007.DAT"), File({Fancier("002", "Smith")}));
    }
};

QTEST_MAIN(FancierDialogTest)
#include "fancierdialog_test.moc"
