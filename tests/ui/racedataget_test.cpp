#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/appcontext.h"
#include "app/fixedwidth.h"
#include "app/mainwindow.h"
#include "app/textcodec.h"
#include "clock/clocksimulator.h"
#include "clock/racedatagetdialog.h"
#include "clock/scriptedlink.h"
#include "clock/storepathselect.h"
#include "uitestsupport.h"
#include "widgets/fixedfield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class RacedataGetTest : public QObject {
    Q_OBJECT

    // Club 123 with fanciers 7 and 8, and a clock of fancier 7 behind every port.
    struct Setup {
        ProgramFolderFixture folder;
        FrozenTimeSource master{MakeDateTime(2024, 6, 2, 18, 30, 0)};
        ClockSimulator clock{master};
        Setup() {
            clock.State().region = 12, clock.State().federation = 5, clock.State().club = 123, clock.State().fancier = 7;
            App().settings.region = "012" + PadRight("North", 30);
            App().settings.federation = "005" + PadRight("Federation", 30);
            App().settings.comPort = "1";
            folder.Write("club/club.dat", " 1 \r\n123Zur Post\r\n");
            folder.Write("fancier/f123.DAT", " 2 \r\n007Meier Hans          N51301525E0070500001\r\n008Otto\r\n");
            SetClockLinkFactoryForTests([this] { return std::make_unique<ScriptedClockLink>(clock); });
            TransferDialog::SetTimingForTests([](TransferConstants& c) { c.byteTimeout = milliseconds(20); });
        }
        ~Setup() {
            SetClockLinkFactoryForTests(nullptr);
            TransferDialog::SetTimingForTests(nullptr);
        }
        QByteArray File(const ReadoutFields& f) const {
            QFile file(QString::fromStdString(ReadoutFilePath(App().programFolder, App().settings, f.week, f.point).string()));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }
    };

    static FixedField* Field(QWidget* dialog, const char* name) { return dialog->findChild<FixedField*>(name); }
    static QListWidget* List(QWidget* dialog) { return dialog->findChild<QListWidget*>("List1"); }
    static void Click(QWidget* dialog, const char* name) { dialog->findChild<QPushButton*>(name)->click(); }
    static void Read(QWidget* dialog) {
        Click(dialog, "Command2");
        QTRY_VERIFY_WITH_TIMEOUT(dialog->findChild<QPushButton*>("Command2")->isEnabled(), 10000);
    }

private slots:
    void opensWithTodayAndTheLoftsOfItsFileScrolledToTheEnd() {
        Setup setup;
        const ReadoutFields today = ReadoutFieldsFor(SystemTimeSource().Now());
        QByteArray lines = "0020624\r\n";
        for (int fancier = 1; fancier <= 30; ++fancier)
            lines += QByteArray::fromStdString(ReadoutLoftLine(123, fancier, 0, "000Name")) + "\r\n";
        setup.folder.Write(QString("race/W01205%1.d00").arg(ToQt(today.week)), lines);
        MainWindow main;
        RacedataGetDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
        QCOMPARE(dialog.Fields(), today);
        QCOMPARE(List(&dialog)->count(), 30);
        QCOMPARE(List(&dialog)->item(29)->text(), QString("030:    123 030 Name                "));
        QVERIFY(List(&dialog)->verticalScrollBar()->maximum() > 0);
        QCOMPARE(List(&dialog)->verticalScrollBar()->value(), List(&dialog)->verticalScrollBar()->maximum());
        StoreRacedataPathSelect chooser(&dialog, setup.folder.Path());
        QCOMPARE(MissingCaptionKeys(&chooser), QStringList());
        QCOMPARE(QDir(chooser.Folder()), QDir(setup.folder.Path()));
    }

    void fieldsKeepTheirRules() {
        Setup setup;
        const DateTime now = SystemTimeSource().Now();
        MainWindow main;
        RacedataGetDialog dialog(&main);
        dialog.show();
        for (auto [name, typed] : {std::pair{"Text1", "x7"}, {"Text2", "77"}, {"Text3", "45"}, {"Text4", "13"}, {"Text5", ""}})
            TypeInto(Field(&dialog, name), typed);
        const ReadoutFields expected{"07", "52", ZeroPadded(now.day, 2), ZeroPadded(now.month, 2), ZeroPadded(now.year % 100, 2)};
        QCOMPARE(ToBytes(Field(&dialog, "Text3")->text()), expected.day);
        QCOMPARE(dialog.Fields(), expected);
        TypeInto(Field(&dialog, "Text2"), "0");
        QCOMPARE(ToBytes(Field(&dialog, "Text2")->text()), ReadoutWeekOnLeave("00", now));
    }

    void getDataThenStoreToDiskIntoTheChosenFolder() {
        Setup setup;
        MainWindow main;
        RacedataGetDialog dialog(&main);
        dialog.show();
        Read(&dialog);
        QCOMPARE(dialog.findChild<QLabel*>("Label4")->text(), Shipped("frmRacedataGet.txtDataReady"));
        QCOMPARE(List(&dialog)->item(0)->text(), QString("001:    123 007 Meier Hans          "));
        const ReadoutFields fields = dialog.Fields();
        const QByteArray file = setup.File(fields);
        QCOMPARE(file.count("\r\n"), 3);

        // A read that cannot be saved: message 8 with the reason, the file as it was.
        setup.clock.State().fancier = 8;
        SetSaveFaultForTests([](const Path&) { return true; });
        Read(&dialog);
        SetSaveFaultForTests(nullptr);
        QVERIFY(setup.folder.Messages().Shown().back().text.startsWith(Shipped("frmRacedataGet.MsgBoxText8")));
        QCOMPARE(setup.File(fields), file);
        setup.folder.Messages().Clear();
        QTemporaryDir target;
        const auto choose = [&](QWidget* modal) {
            qobject_cast<StoreRacedataPathSelect*>(modal)->SetFolder(target.path());
            modal->findChild<QPushButton*>("Command1")->click();
        };
        {
            ModalWatcher watcher(choose);
            Click(&dialog, "Command3");
        }
        QFile copy(QDir(target.path()).filePath(ToQt(ReadoutFileName(App().settings, fields.week, fields.point))));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), file);
        QVERIFY(setup.folder.Messages().Shown().empty());

        SetSaveFaultForTests([](const Path&) { return true; });
        {
            ModalWatcher watcher(choose);
            Click(&dialog, "Command3");
        }
        SetSaveFaultForTests(nullptr);
        QCOMPARE(setup.folder.Messages().Shown().back().title, Shipped("frmRacedataGet.MsgBoxName9"));
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
