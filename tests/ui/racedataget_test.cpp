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
#include "clock/transfersession.h"
#include "race/readoutfile.h"
#include "uitestsupport.h"
#include "widgets/fixedfield.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

const PigeonsConvert kConvert(SexTexts{"M", "F", "U"});

ArrivalRecord Arrival(int point, int day) {
    ArrivalRecord a{};
    const RingRecord ring = *kConvert.EncodeRing("DV    20050815 1234567M1300000000BLAU01");
    std::copy(ring.begin(), ring.end(), a.begin());
    a[16] = static_cast<std::uint8_t>(point);
    a[17] = static_cast<std::uint8_t>(day);
    a[18] = 14;
    return a;
}

ClockState Clock(int fancier) {
    ClockState state;
    state.region = 12;
    state.federation = 5;
    state.club = 123;
    state.fancier = static_cast<std::uint8_t>(fancier);
    state.basketing = {31, 5, 7, 30, 0};
    state.arrivals = {Arrival(7, 1), Arrival(3, 31)};
    return state;
}

QString LoftLine(int number, int fancier, const char* name) {
    return QString("%1:    123 %2 %3").arg(number, 3, 10, QChar('0')).arg(fancier, 3, 10, QChar('0')).arg(name, -20);
}

} // namespace

class RacedataGetTest : public QObject {
    Q_OBJECT

    // The program folder with club 123 and its fanciers 7 and 8, and a clock link factory
    // that serves `clock`.
    struct Setup {
        ProgramFolderFixture folder;
        FrozenTimeSource master{MakeDateTime(2024, 6, 2, 18, 30, 0)};
        ClockSimulator clock{master, Clock(7)};
        bool silent = false; // a link with no clock behind it

        Setup() {
            App().settings.region = "012" + PadRight("North", 30);
            App().settings.federation = "005" + PadRight("Federation", 30);
            App().settings.comPort = "1";
            folder.Write("club/club.dat", " 1 \r\n" + QByteArray(PadRight("123Zur Post", 63).c_str()) + "\r\n");
            folder.Write("fancier/f123.DAT", " 2 \r\n007" + QByteArray(PadRight("Meier Hans", 20).c_str()) +
                                                 "N51301525E0070500001" + QByteArray(30, ' ') + "\r\n008" +
                                                 QByteArray(PadRight("Otto", 20).c_str()) + "N51301525E0070500000" +
                                                 QByteArray(30, ' ') + "\r\n");
            SetClockLinkFactoryForTests([this]() -> std::unique_ptr<ClockLink> {
                if (silent) return std::make_unique<ScriptedClockLink>();
                return std::make_unique<ScriptedClockLink>(clock);
            });
            TransferDialog::SetTimingForTests([](TransferConstants& c) { c.byteTimeout = milliseconds(20); });
        }
        ~Setup() {
            SetClockLinkFactoryForTests(nullptr);
            TransferDialog::SetTimingForTests(nullptr);
        }
        QString FilePath(const char* week, const char* point) const {
            return QString::fromStdString(
                ReadoutFilePath(App().programFolder, App().settings, week, point).string());
        }
        QByteArray File(const char* week, const char* point) const {
            QFile file(FilePath(week, point));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }
    };

    static FixedField* Field(QWidget* dialog, const char* name) { return dialog->findChild<FixedField*>(name); }
    static QPushButton* Button(QWidget* dialog, const char* name) { return dialog->findChild<QPushButton*>(name); }
    static QString Status(QWidget* dialog) { return dialog->findChild<QLabel*>("Label4")->text(); }

    static void Read(QWidget* dialog) {
        Button(dialog, "Command2")->click();
        QTRY_VERIFY_WITH_TIMEOUT(Button(dialog, "Command2")->isEnabled(), 10000);
    }

private slots:
    void opensWithTodayAndTheLoftsOfItsFile() {
        Setup setup;
        const ReadoutFields today = ReadoutFieldsFor(SystemTimeSource().Now());
        QByteArray lines = "0020624\r\n";
        for (int fancier = 1; fancier <= 30; ++fancier)
            lines += QByteArray(ReadoutLoftLine(123, fancier, 0, "000" + PadRight("Name", 39)).c_str()) + "\r\n";
        setup.folder.Write(QString("race/W01205%1.d00").arg(ToQt(today.week)), lines);

        MainWindow main;
        RacedataGetDialog dialog(&main);
        dialog.show();
        QApplication::processEvents();
        QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
        QCOMPARE(dialog.windowTitle(), Shipped("frmRacedataGet.Caption"));
        QCOMPARE(Field(&dialog, "Text1")->text(), QString("00"));
        QCOMPARE(Field(&dialog, "Text2")->text(), ToQt(today.week));
        QCOMPARE(Field(&dialog, "Text3")->text() + Field(&dialog, "Text4")->text() + Field(&dialog, "Text5")->text(),
                 ToQt(today.day + today.month + today.year));
        auto* list = dialog.findChild<QListWidget*>("List1");
        QCOMPARE(list->count(), 30);
        QCOMPARE(list->item(29)->text(), QString("030:    123 030 Name                "));
        QCOMPARE(list->verticalScrollBar()->value(), list->verticalScrollBar()->maximum());
        QVERIFY(list->verticalScrollBar()->maximum() > 0);
        QVERIFY(dialog.PortOpen());
        QVERIFY(setup.folder.Messages().Shown().empty());

        StoreRacedataPathSelect chooser(&dialog, setup.folder.Path());
        QCOMPARE(MissingCaptionKeys(&chooser), QStringList());
        QCOMPARE(QDir(chooser.Folder()), QDir(setup.folder.Path()));
    }

    void fieldsKeepTheirRulesAndTheListFollowsWeekAndPoint() {
        Setup setup;
        const DateTime now = SystemTimeSource().Now();
        setup.folder.Write("race/W0120530.d07",
                           "0020624\r\n" + QByteArray(ReadoutLoftLine(123, 8, 0, "008" + PadRight("Otto", 39)).c_str()) +
                               "\r\n");
        MainWindow main;
        RacedataGetDialog dialog(&main);
        dialog.show();
        TypeInto(Field(&dialog, "Text1"), "x7");
        QCOMPARE(Field(&dialog, "Text1")->text(), QString("07"));
        TypeInto(Field(&dialog, "Text2"), "77");
        QCOMPARE(Field(&dialog, "Text2")->text(), QString("52"));
        TypeInto(Field(&dialog, "Text2"), "0");
        QCOMPARE(Field(&dialog, "Text2")->text(), ToQt(ReadoutWeekOnLeave("00", now)));
        TypeInto(Field(&dialog, "Text2"), "30");
        QCOMPARE(dialog.findChild<QListWidget*>("List1")->count(), 1);
        QCOMPARE(dialog.findChild<QListWidget*>("List1")->item(0)->text(), LoftLine(1, 8, "Otto"));
        TypeInto(Field(&dialog, "Text3"), "45");
        QCOMPARE(Field(&dialog, "Text3")->text(), ToQt(ZeroPadded(now.day, 2)));
        TypeInto(Field(&dialog, "Text3"), "5");
        QCOMPARE(Field(&dialog, "Text3")->text(), QString("05"));
        TypeInto(Field(&dialog, "Text4"), "13");
        QCOMPARE(Field(&dialog, "Text4")->text(), ToQt(ZeroPadded(now.month, 2)));
        TypeInto(Field(&dialog, "Text5"), "");
        QCOMPARE(Field(&dialog, "Text5")->text(), ToQt(ZeroPadded(now.year % 100, 2)));
        QCOMPARE(dialog.Fields(), (ReadoutFields{"07", "30", "05", ZeroPadded(now.month, 2), ZeroPadded(now.year % 100, 2)}));
    }

    void getDataAppendsEachClockOnce() {
        Setup setup;
        MainWindow main;
        RacedataGetDialog dialog(&main);
        dialog.show();
        TypeInto(Field(&dialog, "Text2"), "23");
        TypeInto(Field(&dialog, "Text3"), "02");
        TypeInto(Field(&dialog, "Text4"), "06");
        TypeInto(Field(&dialog, "Text5"), "24");
        Read(&dialog);
        QCOMPARE(Status(&dialog), Shipped("frmRacedataGet.txtDataReady"));
        QVERIFY(setup.folder.Messages().Shown().empty());
        const QByteArray first = setup.File("23", "00");
        QVERIFY(first.startsWith("0020624\r\n1123007002Meier Hans"));
        QCOMPARE(first.count("\r\n"), 5);
        auto* list = dialog.findChild<QListWidget*>("List1");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), LoftLine(1, 7, "Meier Hans"));

        Read(&dialog);
        QCOMPARE(setup.folder.Messages().Shown().size(), size_t(1));
        const ShownMessage shown = setup.folder.Messages().Shown().front();
        QCOMPARE(shown.text, Shipped("frmRacedataGet.MsgBoxText10"));
        QCOMPARE(shown.icon, MessageIcon::Information);
        QCOMPARE(setup.File("23", "00"), first);

        setup.clock.State().fancier = 8;
        setup.folder.Messages().Clear();
        Read(&dialog);
        QVERIFY(setup.folder.Messages().Shown().empty());
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(1)->text(), LoftLine(2, 8, "Otto"));
        QVERIFY(setup.File("23", "00").startsWith(first));
    }

    void refusalsAndFailuresShowTheirMessages() {
        Setup setup;
        MainWindow main;
        RacedataGetDialog dialog(&main);
        dialog.show();
        setup.clock.State().region = 13;
        Read(&dialog);
        QCOMPARE(setup.folder.Messages().Shown().back().text, Shipped("frmRacedataGet.MsgBoxText4"));
        QCOMPARE(Status(&dialog), Shipped("frmRacedataGet.txtCommunicationOk"));
        setup.clock.State().region = 12;
        setup.clock.State().club = 124;
        Read(&dialog);
        QCOMPARE(setup.folder.Messages().Shown().back().text, Shipped("frmRacedataGet.MsgBoxText6"));

        setup.clock.State().club = 123;
        SetSaveFaultForTests([](const Path&) { return true; });
        Read(&dialog);
        SetSaveFaultForTests(nullptr);
        const ShownMessage failed = setup.folder.Messages().Shown().back();
        QCOMPARE(failed.title, Shipped("frmRacedataGet.MsgBoxName8"));
        QVERIFY(failed.text.startsWith(Shipped("frmRacedataGet.MsgBoxText8")));
        QCOMPARE(failed.icon, MessageIcon::Critical);
        QCOMPARE(dialog.findChild<QListWidget*>("List1")->count(), 0);
        const ReadoutFields fields = dialog.Fields();
        QVERIFY(!QFile::exists(setup.FilePath(fields.week.c_str(), "00")));
    }

    void aSilentClockGivesMessage3() {
        Setup setup;
        setup.silent = true;
        MainWindow main;
        RacedataGetDialog dialog(&main);
        dialog.show();
        Read(&dialog);
        QCOMPARE(setup.folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(setup.folder.Messages().Shown().front().title, Shipped("frmRacedataGet.MsgBoxName3"));
        QCOMPARE(Status(&dialog), Shipped("frmRacedataGet.txtCommunicationError"));
    }

    void withoutAPortMessage1ClosesTheDialog() {
        Setup setup;
        App().settings.comPort = "";
        MainWindow main;
        RacedataGetDialog dialog(&main);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(setup.folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(setup.folder.Messages().Shown().front().text, Shipped("frmRacedataGet.MsgBoxText1"));
    }

    void storeToDiskWritesTheFileIntoTheChosenFolder() {
        Setup setup;
        MainWindow main;
        RacedataGetDialog dialog(&main);
        dialog.show();
        Read(&dialog);
        const ReadoutFields fields = dialog.Fields();
        const QString name = ToQt(ReadoutFileName(App().settings, fields.week, fields.point));
        QTemporaryDir target;

        {
            ModalWatcher watcher([](QWidget*) {}); // closes the chooser: Cancel
            Button(&dialog, "Command3")->click();
        }
        QVERIFY(QDir(target.path()).isEmpty());

        QString title;
        {
            ModalWatcher watcher([&](QWidget* modal) {
                title = modal->windowTitle();
                auto* chooser = qobject_cast<StoreRacedataPathSelect*>(modal);
                chooser->SetFolder(target.path());
                chooser->findChild<QPushButton*>("Command1")->click();
            });
            Button(&dialog, "Command3")->click();
        }
        QCOMPARE(title, Shipped("frmStoreRacedataPathSelect.Caption"));
        QFile copy(QDir(target.path()).filePath(name));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), setup.File(fields.week.c_str(), "00"));
        QCOMPARE(Status(&dialog), Shipped("frmRacedataGet.txtDataReady"));
        QVERIFY(setup.folder.Messages().Shown().empty());

        SetSaveFaultForTests([](const Path&) { return true; });
        {
            ModalWatcher watcher([&](QWidget* modal) {
                qobject_cast<StoreRacedataPathSelect*>(modal)->SetFolder(target.path());
                modal->findChild<QPushButton*>("Command1")->click();
            });
            Button(&dialog, "Command3")->click();
        }
        SetSaveFaultForTests(nullptr);
        QCOMPARE(setup.folder.Messages().Shown().size(), size_t(1));
        QCOMPARE(setup.folder.Messages().Shown().front().title, Shipped("frmRacedataGet.MsgBoxName9"));
    }

    void cancelClosesAtOnceAndWritesNothing() {
        Setup setup;
        setup.silent = true;
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.byteTimeout = milliseconds(5000); });
        MainWindow main;
        auto dialog = std::make_unique<RacedataGetDialog>(&main);
        dialog->show();
        Button(dialog.get(), "Command2")->click();
        QTRY_COMPARE(Status(dialog.get()), Shipped("frmRacedataGet.txtTerminalSearch"));
        Button(dialog.get(), "Command1")->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        dialog.reset(); // waits for the transfer to notice the cancel
        QVERIFY(setup.folder.Messages().Shown().empty());
        QVERIFY(QDir(setup.folder.Path() + "/race").isEmpty());
    }

    void theMenuItemOpensTheDialog() {
        Setup setup;
        MainWindow main;
        QString opened;
        ModalWatcher watcher([&](QWidget* modal) { opened = modal->objectName(); });
        main.MenuItem("mnuRacedataGet")->trigger();
        QCOMPARE(opened, QString("frmRacedataGet"));
    }
};

QTEST_MAIN(RacedataGetTest)
#include "racedataget_test.moc"
