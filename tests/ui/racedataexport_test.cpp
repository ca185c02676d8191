#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "app/appcontext.h"
#include "app/fixedwidth.h"
#include "app/mainwindow.h"
#include "app/weeks.h"
#include "clock/storepathselect.h"
#include "race/racedataexportdialog.h"
#include "uitestsupport.h"
#include "widgets/fixedfield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class RaceDataExportTest : public QObject {
    Q_OBJECT

    static FixedField* Field(QWidget* dialog, const char* name) { return dialog->findChild<FixedField*>(name); }
    static QPushButton* Button(QWidget* dialog, const char* name) { return dialog->findChild<QPushButton*>(name); }

    static QByteArray Golden(const QString& name) {
        QFile file(QFINDTESTDATA("../data/xmlexport/" + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Region 012, federation 05, and the golden read-out file of week 23, point 07.
    static void Prepare(ProgramFolderFixture& folder) {
        App().settings.region = "012" + PadRight("North", 30);
        App().settings.federation = "005" + PadRight("Federation", 30);
        folder.Write("race/W0120523.d07", Golden("W0120523.d07"));
    }

    static void Choose(QWidget* dialog, const char* week, const char* point) {
        TypeInto(Field(dialog, "Text1"), week);
        TypeInto(Field(dialog, "Text2"), point);
    }

    // Element names and the texts of the elements named `textOf`, or the parser's error.
    struct Parsed {
        QString error;
        QStringList elements;
        QStringList texts;
    };
    static Parsed Parse(const QByteArray& document, const QString& textOf) {
        Parsed parsed;
        QXmlStreamReader reader(document);
        while (!reader.atEnd()) {
            reader.readNext();
            if (!reader.isStartElement()) continue;
            parsed.elements << reader.name().toString();
            if (reader.name() == textOf) parsed.texts << reader.readElementText();
        }
        if (reader.hasError()) parsed.error = reader.errorString();
        return parsed;
    }

private slots:
    void opensWithTheCurrentWeekAndPointZero() {
        ProgramFolderFixture folder;
        MainWindow main;
        RaceDataExportDialog dialog(&main);
        dialog.show();
        QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
        QCOMPARE(dialog.windowTitle(), Shipped("frmRaceDataExportToXML.Caption"));
        QCOMPARE(Field(&dialog, "Text1")->text(), QString::fromStdString(WeekText(SystemTimeSource().Now())));
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("00"));
        TypeInto(Field(&dialog, "Text2"), "a7");
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("07"));
        TypeInto(Field(&dialog, "Text1"), "");
        QCOMPARE(Field(&dialog, "Text1")->text(), QString("00"));
    }

    void exportWritesAWellFormedDocumentIntoTheProgramFolder() {
        ProgramFolderFixture folder;
        Prepare(folder);
        MainWindow main;
        RaceDataExportDialog dialog(&main);
        dialog.show();
        Choose(&dialog, "23", "07");
        Button(&dialog, "Command1")->click();
        QCOMPARE(folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(folder.Messages().Shown().front().text, Shipped("frmRaceDataExportToXML.MsgBoxText3"));

        const QByteArray document = folder.Read("W0120523_07.xml");
        const Parsed parsed = Parse(document, "Name");
        QCOMPARE(parsed.error, QString());
        QCOMPARE(parsed.elements.count("Fancier"), 2);
        QCOMPARE(parsed.elements.count("Pigeons"), 3);
        QCOMPARE(parsed.elements.count("Timers"), 2);
        QCOMPARE(parsed.texts.first(), QString::fromUtf8("M\u00FCller & <S\u00F6hne>    "));
        // Only the zone suffix may differ from the golden document.
        QCOMPARE(document.size(), Golden("W0120523_07.xml").size());
    }

    void everyExportedDocumentParses() {
        ProgramFolderFixture folder;
        App().settings.region = "007" + PadRight("Region", 30);
        App().settings.federation = "003" + PadRight("Federation", 30);
        folder.Write("race/W0070324.d05", Golden("W0070324.d05"));
        MainWindow main;
        RaceDataExportDialog dialog(&main);
        dialog.show();
        Choose(&dialog, "24", "05");
        Button(&dialog, "Command1")->click();
        const Parsed exported = Parse(folder.Read("W0070324_05.xml"), "Name");
        QCOMPARE(exported.error, QString());
        QCOMPARE(exported.texts, QStringList{QString::fromUtf8("Jos\u00E9 Pe\u00F1a           ")});
        for (const char* name : {"W0120523_07.xml", "W0070324_05.xml"}) {
            const QByteArray golden = Golden(name);
            QVERIFY(!golden.isEmpty());
            QCOMPARE(Parse(golden, "ID").error, QString());
        }
    }

    void aMissingReadoutFileShowsMessage1() {
        ProgramFolderFixture folder;
        Prepare(folder);
        MainWindow main;
        RaceDataExportDialog dialog(&main);
        dialog.show();
        Choose(&dialog, "23", "05");
        Button(&dialog, "Command1")->click();
        Button(&dialog, "Command3")->click(); // asks for no folder
        QCOMPARE(folder.Messages().Shown().size(), size_t(2));
        for (const ShownMessage& shown : folder.Messages().Shown()) {
            QCOMPARE(shown.title, Shipped("frmRaceDataExportToXML.MsgBoxName1"));
            QCOMPARE(shown.icon, MessageIcon::Critical);
        }
        QVERIFY(QDir(folder.Path()).entryList({"*.xml"}).isEmpty());
    }

    void exportToAChosenFolder() {
        ProgramFolderFixture folder;
        Prepare(folder);
        MainWindow main;
        RaceDataExportDialog dialog(&main);
        dialog.show();
        Choose(&dialog, "23", "07");
        QTemporaryDir target;
        {
            ModalWatcher watcher([](QWidget*) {}); // Cancel
            Button(&dialog, "Command3")->click();
        }
        QCOMPARE(folder.Messages().Shown().back().text, Shipped("frmRaceDataExportToXML.MsgBoxText2"));
        QVERIFY(QDir(target.path()).isEmpty());
        {
            ModalWatcher watcher([&](QWidget* modal) {
                qobject_cast<StoreRacedataPathSelect*>(modal)->SetFolder(target.path());
                modal->findChild<QPushButton*>("Command1")->click();
            });
            Button(&dialog, "Command3")->click();
        }
        QCOMPARE(folder.Messages().Shown().back().text, Shipped("frmRaceDataExportToXML.MsgBoxText3"));
        QFile exported(QDir(target.path()).filePath("W0120523_07.xml"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QCOMPARE(Parse(exported.readAll(), "ID").error, QString());
    }

    void aFailedWriteIsShownAndKeepsTheOldDocument() {
        ProgramFolderFixture folder;
        Prepare(folder);
        folder.Write("W0120523_07.xml", "old");
        MainWindow main;
        RaceDataExportDialog dialog(&main);
        dialog.show();
        Choose(&dialog, "23", "07");
        SetSaveFaultForTests([](const Path&) { return true; });
        Button(&dialog, "Command1")->click();
        SetSaveFaultForTests(nullptr);
        QCOMPARE(folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(folder.Messages().Shown().front().title, dialog.windowTitle());
        QCOMPARE(folder.Messages().Shown().front().icon, MessageIcon::Critical);
        QCOMPARE(folder.Read("W0120523_07.xml"), QByteArray("old"));
    }

    void theMenuItemOpensTheDialog() {
        ProgramFolderFixture folder;
        MainWindow main;
        QString opened;
        ModalWatcher watcher([&](QWidget* modal) { opened = modal->objectName(); });
        main.MenuItem("mnuExportRaceDataToXML")->trigger();
        QCOMPARE(opened, QString("frmRaceDataExportToXML"));
    }
};

QTEST_MAIN(RaceDataExportTest)
#include "racedataexport_test.moc"
