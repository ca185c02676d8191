#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/files.h"
#include "app/mainwindow.h"
#include "releasepoints/racepointdialog.h"
#include "uitestsupport.h"
#include "widgets/fixedfield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;
using Mode = RacePointDialog::Mode;

class RacePointDialogTest : public QObject {
    Q_OBJECT

    static QByteArray Empty(int n) { return QByteArray::number(n).rightJustified(2, '0') + QByteArray(62, ' '); }
    static QByteArray Point(int n, const char* name, const char* place, const char* position) {
        return QByteArray::number(n).rightJustified(2, '0') + QByteArray(name).leftJustified(13, ' ') +
               QByteArray(place).leftJustified(30, ' ') + position;
    }
    // The standard register with the given slots filled.
    static QByteArray File(const QMap<int, QByteArray>& filled) {
        QByteArray bytes = " 98 \r\n";
        for (int n = 1; n <= 98; ++n) bytes += filled.value(n, Empty(n)) + "\r\n";
        return bytes;
    }
    static FixedField* Field(QWidget* d, const char* name) { return d->findChild<FixedField*>(name); }
    static void Press(QWidget* d) { d->findChild<QPushButton*>("Command1")->click(); }
    static QString Typed(QWidget* d, const char* name, const QString& text) {
        TypeInto(Field(d, name), text);
        return Field(d, name)->text();
    }
    static const QByteArray kSpa;

private slots:
    void fieldsFollowTheirRulesAndAKnownNumberFillsTheForm() {
        ProgramFolderFixture folder;
        folder.Write("racepo/racepo.dat", File({{3, kSpa}}));
        MainWindow main;
        RacePointDialog d(&main, Mode::Add);
        d.show();
        const QStringList shown = {Field(&d, "Text4")->text(), Field(&d, "Text5")->text(), Field(&d, "Text9")->text(),
                                   Field(&d, "Text10")->text()};
        QCOMPARE(shown, (QStringList{"N", "00", "W", "000"}));
        QCOMPARE(Typed(&d, "Text4", "n"), QString("+")); // capitals only; empty becomes "+"
        QCOMPARE(Typed(&d, "Text9", "W"), QString("W"));
        QCOMPARE(Typed(&d, "Text5", "7"), QString("07"));
        QCOMPARE(Typed(&d, "Text10", "7"), QString("007"));
        QCOMPARE(Typed(&d, "Text2", QString::fromUtf8("Sp\u00e4 1")), "Sp 1" + QString(9, ' '));
        QCOMPARE(Typed(&d, "Text3", ""), QString()); // empty is not padded
        QCOMPARE(Typed(&d, "Text1", "3"), QString("03"));
        QCOMPARE(Field(&d, "Text2")->text(), QString("SPA"));
        QCOMPARE(Field(&d, "Text3")->text(), QString("Spa, Belgium"));
        QCOMPARE(Field(&d, "Text4")->text(), QString("+"));
        QCOMPARE(Field(&d, "Text13")->text(), QString("06"));
    }

    void addRefusesWithMessageOneOrOverwritesTheSlotAndScrolls() {
        ProgramFolderFixture folder;
        MainWindow main;
        main.show();
        main.RacePointsAnzeigen(); // creates the register
        QCOMPARE(folder.Read("racepo/racepo.dat"), File({}));
        RacePointDialog d(&main, Mode::Add);
        d.show();
        // Typing the number of a slot fills the form from it, so the name comes after the number.
        struct Case { const char* number; const char* name; const char* place; const char* degrees; const char* focus; };
        for (const Case& c : {Case{"99", "SPA", "Spa", "50", "Text1"}, Case{"0", "SPA", "Spa", "50", "Text1"},
                              Case{"15", "SPA", "", "50", "Text3"}, Case{"15", "SPA", "Spa", "90", "Text5"}}) {
            folder.Messages().Clear();
            TypeInto(Field(&d, "Text1"), c.number);
            TypeInto(Field(&d, "Text2"), c.name);
            TypeInto(Field(&d, "Text3"), c.place);
            TypeInto(Field(&d, "Text5"), c.degrees);
            Press(&d);
            QCOMPARE(folder.Messages().Shown().size(), size_t(1));
            QCOMPARE(folder.Messages().Shown().at(0).title, Shipped("frmRacePointsAdd.MsgBoxName1"));
            QCOMPARE(folder.Messages().Shown().at(0).text, Shipped("frmRacePointsAdd.MsgBoxText1"));
            QCOMPARE(QApplication::focusWidget(), Field(&d, c.focus));
            QCOMPARE(folder.Read("racepo/racepo.dat"), File({}));
        }
        folder.Messages().Clear();
        TypeInto(Field(&d, "Text5"), "50");
        Press(&d);
        QVERIFY(folder.Messages().Shown().empty());
        QCOMPARE(folder.Read("racepo/racepo.dat"), File({{15, Point(15, "SPA", "Spa", "N50000000W000000000")}}));
        QVERIFY(d.isVisible()); // ready for the next one
        QCOMPARE(main.List()->item(14)->text(), "15:  SPA" + QString(10, ' '));
        QApplication::processEvents();
        QCOMPARE(main.List()->indexAt(QPoint(2, 2)).row(), 5); // the new entry is the tenth line
    }

    void alterAndDeleteWorkOnTheSelectedSlotAndKeepTheListPosition() {
        ProgramFolderFixture folder;
        folder.Write("racepo/racepo.dat", File({{3, kSpa}, {7, Point(7, "ROME", "Roma", "N41535000E012282500")}}));
        MainWindow main;
        main.RacePointsAnzeigen();
        main.List()->setCurrentRow(2);
        {
            RacePointDialog d(&main, Mode::Alter);
            d.show();
            QVERIFY(Field(&d, "Text1")->isReadOnly());
            QCOMPARE(Field(&d, "Text1")->text(), QString("03"));
            TypeInto(Field(&d, "Text2"), "SPA NORTH");
            Press(&d);
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QCOMPARE(main.List()->currentRow(), 2);
        main.List()->setCurrentRow(6);
        RacePointDialog d(&main, Mode::Delete);
        QVERIFY(Field(&d, "Text2")->isReadOnly() && Field(&d, "Text13")->isReadOnly());
        QCOMPARE(Field(&d, "Text2")->text(), QString("ROME"));
        Press(&d);
        QVERIFY(folder.Messages().Shown().empty());
        QCOMPARE(folder.Read("racepo/racepo.dat"), File({{3, "03SPA NORTH    " + kSpa.mid(15)}}));
        QCOMPARE(main.List()->currentRow(), 6);
        QCOMPARE(main.SelectedRacePointNumber, std::string("07"));
    }

    void failedSavesAndRefusedFilesAreShown() {
        ProgramFolderFixture folder;
        MainWindow main;
        main.RacePointsAnzeigen();
        main.List()->setCurrentRow(0);
        SetSaveFaultForTests([](const Path&) { return true; });
        RacePointDialog d(&main, Mode::Delete);
        d.show();
        Press(&d);
        SetSaveFaultForTests(nullptr);
        QCOMPARE(folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(folder.Messages().Shown().at(0).title, Shipped("frmRacePointsDelete.Caption"));
        QVERIFY(d.isVisible());

        folder.Messages().Clear();
        const QByteArray broken = " 98 \r\n01short\r\n";
        folder.Write("racepo/racepo.dat", broken);
        RacePointDialog add(&main, Mode::Add);
        add.show();
        QTRY_COMPARE(folder.Messages().Shown().size(), size_t(1));
        QVERIFY(folder.Messages().Shown().at(0).text.contains("left as it is"));
        TypeInto(Field(&add, "Text1"), "1");
        TypeInto(Field(&add, "Text2"), "SPA");
        TypeInto(Field(&add, "Text3"), "Spa");
        Press(&add);
        QCOMPARE(folder.Messages().Shown().size(), size_t(2));
        QCOMPARE(folder.Read("racepo/racepo.dat"), broken);
    }

    void menusOpenEachModeWithItsTexts() {
        ProgramFolderFixture folder;
        MainWindow main;
        main.OpenMenuDialog("mnuRacePointsShow");
        for (const char* menu : {"mnuRacePointsAdd", "mnuRacePointsAlter", "mnuRacePointsDelete"}) {
            main.List()->setCurrentRow(0);
            QString name;
            QStringList missing;
            ModalWatcher watcher([&](QWidget* modal) {
                name = modal->objectName();
                missing = MissingCaptionKeys(modal);
            });
            main.MenuItem(menu)->trigger();
            QCOMPARE(name, "frm" + QString(menu).mid(3));
            QCOMPARE(missing, QStringList());
        }
        QCOMPARE(folder.Read("racepo/racepo.dat"), File({}));
    }
};

const QByteArray RacePointDialogTest::kSpa = Point(3, "SPA", "Spa, Belgium", "+50300000E005520506");

QTEST_MAIN(RacePointDialogTest)
#include "racepointdialog_test.moc"
