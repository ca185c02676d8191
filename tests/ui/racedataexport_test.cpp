#include <QDir>
#include <QFile>

#include "core/app/weeks.h"
#include "ui/clock/storepathselect.h"
#include "ui/race/racedataexportdialog.h"
#include "uitestsupport.h"

// The document is core's (golden files); here which file goes where, and the messages.
class RaceDataExportTest : public QObject {
    Q_OBJECT

    // Opens the dialog, types week and point, presses `button`; `chooser` handles the folder chooser.
    static void Export(const char* week, const char* point, const char* button,
                       const std::function<void(QWidget*)>& chooser = nullptr) {
        MainWindow main;
        RaceDataExportDialog dialog(&main);
        QCOMPARE(dialog.findChild<FixedField*>("Text1")->text(), QString::fromStdString(WeekText(SystemTimeSource().Now())));
        dialog.show();
        TypeInto(dialog.findChild<FixedField*>("Text1"), week);
        TypeInto(dialog.findChild<FixedField*>("Text2"), point);
        std::unique_ptr<ModalWatcher> watcher;
        if (chooser) watcher = std::make_unique<ModalWatcher>(chooser);
        Click(&dialog, button);
    }
    static QString LastMessage(ProgramFolderFixture& folder) { return folder.Messages().Shown().back().text; }

private slots:
    void exportsTheTypedReadoutHereOrToTheChosenFolderAndTellsEachFailure() {
        ProgramFolderFixture folder;
        App().settings.region = "012North";
        App().settings.federation = "005Federation";
        QFile source(QFINDTESTDATA("../data/xmlexport/W0120523.d07"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        folder.Write("race/W0120523.d07", source.readAll());
        Export("23", "7", "Command1");
        QCOMPARE(LastMessage(folder), Shipped("frmRaceDataExportToXML.MsgBoxText3"));
        const QByteArray document = folder.Read("W0120523_07.xml");
        QVERIFY(document.startsWith("<?xml") && document.contains("Zimmermann"));

        Export("22", "07", "Command3");
        QCOMPARE(LastMessage(folder), Shipped("frmRaceDataExportToXML.MsgBoxText1")); // no such readout
        Export("23", "07", "Command3", [](QWidget*) {});
        QCOMPARE(LastMessage(folder), Shipped("frmRaceDataExportToXML.MsgBoxText2")); // no folder chosen
        QTemporaryDir target;
        Export("23", "07", "Command3", [&](QWidget* modal) {
            qobject_cast<StoreRacedataPathSelect*>(modal)->SetFolder(target.path());
            Click(modal);
        });
        QFile exported(QDir(target.path()).filePath("W0120523_07.xml"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QCOMPARE(exported.readAll(), document);
        const QString failed = SavingFails(folder.Messages(), [] { Export("23", "07", "Command1"); });
        QVERIFY2(failed.startsWith(Shipped("frmRaceDataExportToXML.Caption")), qPrintable(failed));
    }
};

QTEST_MAIN(RaceDataExportTest)
#include "racedataexport_test.moc"
