#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "app/appcontext.h"
#include "app/mainwindow.h"
#include "app/weeks.h"
#include "clock/scriptedlink.h"
#include "clock/storepathselect.h"
#include "clock/transfersession.h"
#include "race/racedataexportdialog.h"
#include "uitestsupport.h"
#include "widgets/fixedfield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class RaceDataExportTest : public QObject {
    Q_OBJECT

    static QByteArray Data(const QString& name) {
        QFile file(QFINDTESTDATA("../data/xmlexport/" + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The parser's complaint about a document, and the texts of its Name elements.
    static QStringList Parse(const QByteArray& document) {
        QStringList names;
        QXmlStreamReader reader(document);
        while (!reader.atEnd())
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QStringLiteral("Name"))
                names << reader.readElementText();
        return reader.hasError() ? QStringList{"error: " + reader.errorString()} : names;
    }
    // Opens the dialog, types week and point, presses `button`; `chooser` handles the folder chooser.
    static void Export(const char* week, const char* point, const char* button,
                       const std::function<void(QWidget*)>& chooser = nullptr) {
        MainWindow main;
        RaceDataExportDialog dialog(&main);
        dialog.show();
        TypeInto(dialog.findChild<FixedField*>("Text1"), week);
        TypeInto(dialog.findChild<FixedField*>("Text2"), point);
        std::unique_ptr<ModalWatcher> watcher;
        if (chooser) watcher = std::make_unique<ModalWatcher>(chooser);
        dialog.findChild<QPushButton*>(button)->click();
    }

private slots:
    // The parser reads the golden documents and every document the dialog writes.
    void exportsWellFormedDocuments() {
        ProgramFolderFixture folder;
        App().settings.region = "012North";
        App().settings.federation = "005Federation";
        folder.Write("race/W0120523.d07", Data("W0120523.d07"));
        folder.Write("race/W0120504.d05", Data("W0070324.d05"));
        Export("23", "7", "Command1");
        Export("04", "05", "Command1");
        QCOMPARE(folder.Messages().Shown().back().text, Shipped("frmRaceDataExportToXML.MsgBoxText3"));
        QCOMPARE(Parse(folder.Read("W0120523_07.xml")),
                 (QStringList{QString::fromUtf8("M\u00FCller & <S\u00F6hne>    "), "Zimmermann          "}));
        QCOMPARE(Parse(folder.Read("W0120504_05.xml")), QStringList{QString::fromUtf8("Jos\u00E9 Pe\u00F1a           ")});
        QCOMPARE(Parse(Data("W0120523_07.xml")).size() + Parse(Data("W0070324_05.xml")).size(), 3);

        // A missing source, a cancelled chooser, a failed save: each its message; the chosen folder gets the document.
        Export("22", "07", "Command3");
        QCOMPARE(folder.Messages().Shown().back().text, Shipped("frmRaceDataExportToXML.MsgBoxText1"));
        Export("23", "07", "Command3", [](QWidget*) {});
        QCOMPARE(folder.Messages().Shown().back().text, Shipped("frmRaceDataExportToXML.MsgBoxText2"));
        QTemporaryDir target;
        Export("23", "07", "Command3", [&](QWidget* modal) {
            qobject_cast<StoreRacedataPathSelect*>(modal)->SetFolder(target.path());
            modal->findChild<QPushButton*>("Command1")->click();
        });
        QFile exported(QDir(target.path()).filePath("W0120523_07.xml"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QCOMPARE(exported.readAll(), folder.Read("W0120523_07.xml"));
        SetSaveFaultForTests([](const Path&) { return true; });
        Export("23", "07", "Command1");
        SetSaveFaultForTests(nullptr);
        QCOMPARE(folder.Messages().Shown().back().icon, MessageIcon::Critical);
    }

    void opensWithTheCurrentWeekFromItsMenuItem() {
        ProgramFolderFixture folder;
        App().settings.comPort = "1";
        SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); });
        MainWindow main;
        QStringList seen;
        for (const char* item : {"mnuExportRaceDataToXML", "mnuRacedataGet"}) {
            ModalWatcher watcher([&](QWidget* modal) {
                seen << modal->objectName() << MissingCaptionKeys(modal);
                if (modal->objectName().endsWith("XML")) seen << modal->findChild<FixedField*>("Text1")->text();
            });
            main.MenuItem(item)->trigger();
        }
        SetClockLinkFactoryForTests(nullptr);
        QCOMPARE(seen, (QStringList{"frmRaceDataExportToXML", QString::fromStdString(WeekText(SystemTimeSource().Now())),
                                    "frmRacedataGet"}));
    }
};

QTEST_MAIN(RaceDataExportTest)
#include "racedataexport_test.moc"
