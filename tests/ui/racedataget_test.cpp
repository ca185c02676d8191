#include <QDir>
#include <QFile>
#include <QScrollBar>

#include "common/textcodec.h"
#include "core/app/fixedwidth.h"
#include "ui/clock/racedatagetdialog.h"
#include "ui/clock/storepathselect.h"
#include "uitestsupport.h"

// Reading clocks through the dialog runs end to end; here what the dialog does around it.
class RacedataGetTest : public QObject {
    Q_OBJECT

private slots:
    void init() { SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); }); }
    void cleanup() { SetClockLinkFactoryForTests(nullptr); }

    void showsTheLoftsOfItsFileAndStoresACopyOrTellsWhyNot() {
        ProgramFolderFixture folder;
        App().settings.region = "012" + PadRight("North", 30);
        App().settings.federation = "005" + PadRight("Federation", 30);
        App().settings.comPort = "1";
        const ReadoutFields today = ReadoutFieldsFor(SystemTimeSource().Now());
        QByteArray file = "0020624\r\n";
        for (int fancier = 1; fancier <= 30; ++fancier)
            file += QByteArray::fromStdString(ReadoutLoftLine(123, fancier, 0, "000Name")) + "\r\n";
        folder.Write(QString("race/W01205%1.d00").arg(ToQt(today.week)), file);
        MainWindow main;
        RacedataGetDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        QCOMPARE(dialog.Fields(), today);
        // The weeks are those of the year of the read-out date: 2026 ends in week 53.
        const QString year = Typed(&dialog, "Text5", "26");
        QCOMPARE(Typed(&dialog, "Text2", "54") + Typed(&dialog, "Text2", "53"), QString("5353"));
        Typed(&dialog, "Text5", year);
        Typed(&dialog, "Text2", ToQt(today.week));
        auto* list = dialog.findChild<QListWidget*>("List1");
        QCOMPARE(list->item(29)->text(), QString("030:    123 030 Name                "));
        QVERIFY(list->verticalScrollBar()->maximum() > 0 && list->verticalScrollBar()->value() == list->verticalScrollBar()->maximum());

        // Store to Disk copies into the chosen folder, or shows message 9.
        QTemporaryDir target;
        for (const bool fault : {false, true}) {
            folder.Messages().Clear();
            if (fault) SetSaveFaultForTests([](const Path&) { return true; });
            ModalWatcher watcher([&](QWidget* modal) {
                QCOMPARE(MissingCaptionKeys(modal), QStringList());
                qobject_cast<StoreRacedataPathSelect*>(modal)->SetFolder(target.path());
                Click(modal);
            });
            Click(&dialog, "Command3");
            SetSaveFaultForTests(nullptr);
            QCOMPARE(ShownTexts(folder.Messages()).value(0), fault ? Shipped("frmRacedataGet.MsgBoxName9") : QString());
        }
        QFile copy(QDir(target.path()).filePath(ToQt(ReadoutFileName(App().settings, today.week, today.point))));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), file);
    }

    void withoutAPortMessage1ClosesTheDialog() {
        ProgramFolderFixture folder;
        MainWindow main;
        RacedataGetDialog dialog(&main);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(folder.Messages().Shown().back().text, Shipped("frmRacedataGet.MsgBoxText1"));
    }
};

QTEST_MAIN(RacedataGetTest)
#include "racedataget_test.moc"
