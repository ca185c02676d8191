#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/appcontext.h"
#include "app/fixedwidth.h"
#include "app/mainwindow.h"
#include "app/textcodec.h"
#include "clock/racedatagetdialog.h"
#include "clock/scriptedlink.h"
#include "clock/storepathselect.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

// Reading clocks through the dialog runs end to end; here what the dialog does around it.
class RacedataGetTest : public QObject {
    Q_OBJECT

    struct Setup {
        ProgramFolderFixture folder;
        Setup() {
            App().settings.region = "012" + PadRight("North", 30);
            App().settings.federation = "005" + PadRight("Federation", 30);
            App().settings.comPort = "1";
            SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); });
        }
        ~Setup() { SetClockLinkFactoryForTests(nullptr); }
    };

private slots:
    void showsTheLoftsOfItsFileAndStoresACopy() {
        Setup setup;
        const ReadoutFields today = ReadoutFieldsFor(SystemTimeSource().Now());
        QByteArray file = "0020624\r\n";
        for (int fancier = 1; fancier <= 30; ++fancier)
            file += QByteArray::fromStdString(ReadoutLoftLine(123, fancier, 0, "000Name")) + "\r\n";
        setup.folder.Write(QString("race/W01205%1.d00").arg(ToQt(today.week)), file);
        MainWindow main;
        RacedataGetDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        QCOMPARE(dialog.Fields(), today);
        auto* list = dialog.findChild<QListWidget*>("List1");
        QCOMPARE(list->item(29)->text(), QString("030:    123 030 Name                "));
        QVERIFY(list->verticalScrollBar()->maximum() > 0 && list->verticalScrollBar()->value() == list->verticalScrollBar()->maximum());
        StoreRacedataPathSelect chooser(&dialog, setup.folder.Path());
        QCOMPARE(MissingCaptionKeys(&chooser), QStringList());
        QCOMPARE(QDir(chooser.Folder()), QDir(setup.folder.Path()));

        // Store to Disk copies into the chosen folder, or shows message 9.
        QTemporaryDir target;
        for (const bool fault : {false, true}) {
            setup.folder.Messages().Clear();
            if (fault) SetSaveFaultForTests([](const Path&) { return true; });
            ModalWatcher watcher([&](QWidget* modal) {
                qobject_cast<StoreRacedataPathSelect*>(modal)->SetFolder(target.path());
                modal->findChild<QPushButton*>("Command1")->click();
            });
            dialog.findChild<QPushButton*>("Command3")->click();
            SetSaveFaultForTests(nullptr);
            QCOMPARE(setup.folder.Messages().Shown().empty(), !fault);
        }
        QCOMPARE(setup.folder.Messages().Shown().back().title, Shipped("frmRacedataGet.MsgBoxName9"));
        QFile copy(QDir(target.path()).filePath(ToQt(ReadoutFileName(App().settings, today.week, today.point))));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), file);
    }

    void withoutAPortMessage1ClosesTheDialog() {
        Setup setup;
        App().settings.comPort = "";
        MainWindow main;
        RacedataGetDialog dialog(&main);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(setup.folder.Messages().Shown().back().text, Shipped("frmRacedataGet.MsgBoxText1"));
    }
};

QTEST_MAIN(RacedataGetTest)
#include "racedataget_test.moc"
