#include <QScrollBar>
#include <atomic>

#include "common/textcodec.h"
#include "core/app/fixedwidth.h"
#include "core/clock/sendtime.h"
#include "ui/clock/loftsenddialog.h"
#include "ui/clock/printrelaydialog.h"
#include "ui/clock/racedatagetdialog.h"
#include "ui/clock/sendtimedialog.h"
#include "ui/clock/storepathselect.h"
#include "ui/clock/terminalprogramloaddialog.h"
#include "ui/clock/transferdialog.h"
#include "uitestsupport.h"

namespace {

using Job = std::function<void(ClockLink&, std::stop_token)>;
using Cancel = TransferDialog::CancelBehaviour;

// The smallest transfer dialog: one status line, a bar, and a job run after the start delay.
class ProbeDialog : public TransferDialog {
public:
    ProbeDialog(Cancel cancel, Job job)
        : TransferDialog("frmLoftGet", nullptr, kLoftGetConstants, cancel), bar(MakeProgressBar()) {
        LayOut({MakeStatusLine("Label1"), bar});
        Load();
        if (!OpenPort()) return;
        StartAfterDelay([this, job] { Session().Run(job); });
    }
    using TransferDialog::SetProgress;

    QProgressBar* bar;
};


} // namespace

// What every clock window shares, and the faults each must show; the transfers themselves run
// end to end against the clock simulator, the terminal program load also from the menu test.
class ClockTest : public UiTest {
    Q_OBJECT

    FrozenTimeSource pc_{MakeDateTime(2008, 6, 4, 9, 5, 7)};

    void Init() override {
        App().settings.comPort = "1";
        SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); });
        pc_.Set(MakeDateTime(2008, 6, 4, 9, 5, 7));
        SendTimeDialog::SetTimeSourceForTests(&pc_);
    }
    void Cleanup() override {
        TransferDialog::SetTimingForTests(nullptr);
        SendTimeDialog::SetTimeSourceForTests(nullptr);
        SetClockLinkFactoryForTests(nullptr);
    }
    static void NoStartDelay() {
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(0); });
    }

private slots:
    void transferPortThatDoesNotOpenGivesMessageOneAndCloses() {
        NoStartDelay();
        for (const bool configured : {false, true}) {
            App().settings.comPort = configured ? "1" : "";
            // A second link on the same scripted port refuses to open.
            SetClockLinkFactoryForTests([] {
                auto link = std::make_unique<ScriptedClockLink>();
                link->open(PortSettings{});
                return link;
            });
            bool ran = false;
            Showing<ProbeDialog> dialog(Cancel::ClosesAtOnce, [&ran](ClockLink&, std::stop_token) { ran = true; });
            QVERIFY(!dialog.PortOpen());
            QCOMPARE(folder->Told(), NumberedMessage("frmLoftGet", 1));
            QTRY_VERIFY(!dialog.isVisible());
            QVERIFY(!dialog.findChild<QTimer*>("StartTimer")->isActive() && !ran);
        }
    }

    void transferCancelRunsNothingBeforeTheStartDelayThenEndsTheTransferAndNothingToTransferIsAllDone() {
        bool ran = false;
        Showing<ProbeDialog> waiting(Cancel::OnlyFlags, [&ran](ClockLink&, std::stop_token) { ran = true; });
        QTest::keyClick(&waiting, Qt::Key_Escape); // nothing to wait for yet
        QVERIFY(!waiting.isVisible() && !waiting.findChild<QTimer*>("StartTimer")->isActive() && !ran);
        ProbeDialog::SetProgress(waiting.bar, 0, 0);
        QCOMPARE(waiting.bar->value(), waiting.bar->maximum());

        // Once running, cancel ends the transfer and closes at once or once it has ended.
        NoStartDelay();
        for (const Cancel behaviour : {Cancel::ClosesAtOnce, Cancel::OnlyFlags}) {
            std::atomic<int> ended = -1;
            auto dialog = std::make_unique<Showing<ProbeDialog>>(behaviour, [&ended](ClockLink& link, std::stop_token stop) {
                ended = static_cast<int>(link.receiveByte(milliseconds(60000), stop).status);
            });
            QTRY_VERIFY(dialog->Session().Running());
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
            QCOMPARE(dialog->isVisible(), behaviour == Cancel::OnlyFlags);
            QVERIFY(dialog->Session().CancelRequested());
            QTRY_VERIFY(!dialog->isVisible());
            QCOMPARE(dialog->result(), int(QDialog::Rejected));
            dialog.reset(); // waits for the worker
            QCOMPARE(ended.load(), static_cast<int>(LinkStatus::Cancelled));
        }
    }

    // The loft send runs end to end; a club number beyond a clock's byte must not go out.
    void loftSendOfALoftTheClockCannotTakeSendsNothingAndStaysOpen() {
        NoStartDelay();
        ScriptedClockLink link;
        HoldLink hold(link);
        App().settings.region = "012Nord";
        App().settings.federation = "005Mitte";
        IdleMainWindow main;
        main.SelectedClubNumber = "300";
        main.SelectedFancierNumber = "012";
        main.SelectedFancierName = "M\xFCller Hans         ";
        Showing<LoftSendDialog> dialog(&main);
        QCOMPARE(Label(&dialog), QString::fromUtf8("012.005.300.012 Müller Hans         "));
        QTRY_COMPARE(Label(&dialog, "Label2"), Shipped("frmLoftSend.txtCommunicationError"));
        QVERIFY(dialog.isVisible() && link.Sent().empty()); // left open to be read, with the reason
        QCOMPARE(folder->Messages().Shown().size(), std::size_t(1));
        QVERIFY(folder->Told().value(1).contains("\"300\""));
        Click(&dialog);
        QVERIFY(!dialog.isVisible());
    }

    void terminalProgramImageThatIsMissingGivesMessageTwoSayingWhy() {
        NoStartDelay();
        ScriptedClockLink link;
        HoldLink hold(link);
        Showing<TerminalProgramLoadDialog> dialog(nullptr, "C", "Terminal", "Veloxan Load");
        QTRY_VERIFY(!dialog.isVisible());
        const QStringList shown = folder->Told();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0], Shipped("frmTerminalprogramLoad.MsgBoxName2"));
        QVERIFY2(shown[1].contains("trintC.exe") && shown[1].contains("does not exist"), qPrintable(shown[1]));
        QVERIFY(link.Sent().empty());
    }

    // The old print-out stays until the first line is in; the window holds the folder throughout.
    void printRelayToAFileWritesPrintTxtLineByLine() {
        folder->Write("print.txt", "an old print-out\r\n");
        ScriptedClockLink link;
        HoldLink hold(link);
        auto cli = std::make_unique<FolderWriteLock>(App().programFolder, "plumet-cli readout", std::chrono::milliseconds(0));
        const auto wait = std::exchange(App().writeLockWait, std::chrono::milliseconds(0));
        auto refused = std::make_unique<Showing<PrintRelayDialog>>(nullptr, PrintTarget::File);
        App().writeLockWait = wait;
        QTRY_VERIFY(!refused->isVisible() && !refused->PortOpen());
        QVERIFY(TakeCritical(folder->Messages()).contains("plumet-cli readout"));
        cli.reset();
        Showing<PrintRelayDialog> dialog(nullptr, PrintTarget::File);
        QCOMPARE(folder->Read("print.txt"), QByteArray("an old print-out\r\n"));
        QVERIFY(!FolderWriteLock(App().programFolder, "plumet-cli", std::chrono::milliseconds(0)).Held());
        QCOMPARE(Label(&dialog), Shipped("frmPrintToFile.txtWaitForChar"));
        link.QueueIncoming("AB\r\nC\x01\xE9\r\n\fhalf");
        QTRY_COMPARE(folder->Read("print.txt"), QByteArray("AB\r\nC\xE9\r\n"));
        QTRY_COMPARE(Label(&dialog), Shipped("frmPrintToFile.txtSaveLine") + " 2");
        QTest::keyClick(&dialog, Qt::Key_Escape); // the unfinished line is not written
        QVERIFY(!dialog.isVisible());
        QCOMPARE(folder->Read("print.txt"), QByteArray("AB\r\nC\xE9\r\n"));
        QTRY_VERIFY(FolderWriteLock(App().programFolder, "plumet-cli", std::chrono::milliseconds(0)).Held());
    }

    void printRelayToThePrinterPrintsItsPagesWhenItCloses() {
        const QString pdf = folder->Path() + "/relay.pdf";
        PrintRelayDialog::SetPdfOutputForTests(pdf);
        ScriptedClockLink link;
        HoldLink hold(link);
        {
            Showing<PrintRelayDialog> dialog(nullptr, PrintTarget::Printer);
            QCOMPARE(Label(&dialog), Shipped("frmPrintOverPC.txtWaitForChar"));
            link.QueueIncoming("ARRIVALS\tTWO\r\n001 NL\r\n\f002 DV\r\nunfinished");
            QTRY_COMPARE(Label(&dialog), Shipped("frmPrintOverPC.txtPrintLine") + " 3");
            QVERIFY(!QFile::exists(pdf)); // nothing goes out before the relay ends
            Click(&dialog);
            QVERIFY(!dialog.isVisible());
        }
        PrintRelayDialog::SetPdfOutputForTests({});
        const QByteArray bytes = folder->Read("relay.pdf");
        QCOMPARE(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 2);
    }

    void printRelayWithAFailingPortOrFileTellsAndCloses() {
        ScriptedClockLink link;
        FailingClockLink failing(link);
        failing.PortErrorAtReceive(0);
        HoldLink hold(failing);
        {
            Showing<PrintRelayDialog> dialog(nullptr, PrintTarget::Screen);
            link.QueueIncoming("A");
            QTRY_VERIFY(!dialog.isVisible());
            QCOMPARE(folder->Told(), NumberedMessage("frmPrintToScreen", 1));
        }
        folder->Write("print.txt", "an old print-out\r\n");
        ScriptedClockLink working;
        HoldLink holdWorking(working);
        std::unique_ptr<PrintRelayDialog> dialog = std::make_unique<Showing<PrintRelayDialog>>(nullptr, PrintTarget::File);
        const QString failed = SavingFails(folder->Messages(), [&] {
            working.QueueIncoming("A\r\n");
            QTRY_VERIFY(!dialog->isVisible());
        });
        QVERIFY2(failed.startsWith(Shipped("frmPrintToFile.Caption") + ": "), qPrintable(failed));
        QCOMPARE(folder->Read("print.txt"), QByteArray("an old print-out\r\n"));
    }

    void sendTimeShowsThePcTimeSendsEachSecondTheClockListensAndTellsALostPort() {
        ScriptedClockLink link;
        link.SetModemLines({true, false});
        HoldLink hold(link);
        std::unique_ptr<SendTimeDialog> dialog = std::make_unique<Showing<SendTimeDialog>>();
        QCOMPARE(Label(dialog.get()) + Label(dialog.get(), "Label2"), SystemDateText(pc_.Now()) + SystemTimeText(pc_.Now()));
        QTRY_VERIFY(dialog->Session().Running());
        QVERIFY(link.LastSettings().baud == 300 && link.LastSettings().stopBits == 2);

        pc_.Advance(1);
        QTRY_COMPARE(link.Sent(), TimeTelegram(pc_.Now(), SendTimeDialog::SystemFirstDayOfWeek()));
        QTRY_COMPARE(Label(dialog.get(), "Label2"), SystemTimeText(pc_.Now()));
        QVERIFY(folder->Messages().Shown().empty());

        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        dialog.reset();
        QVERIFY(!link.IsOpen());

        // A port that goes away: said so, and the window closes.
        link.SetModemLines({true, true});
        FailingClockLink failing(link);
        failing.PortErrorAtSend(0);
        HoldLink failingHold(failing);
        dialog = std::make_unique<Showing<SendTimeDialog>>();
        QTRY_VERIFY(dialog->Session().Running());
        pc_.Advance(1);
        QTRY_VERIFY(!dialog->isVisible());
        QCOMPARE(folder->Told(), NumberedMessage("frmSendTime", 1));
        dialog.reset(); // before the link it uses
    }

    // Reading clocks through the dialog runs end to end; here what the dialog does around it.
    void racedataGetShowsTheLoftsOfItsFileAndStoresACopyOrTellsWhyNot() {
        App().settings.region = "012" + PadRight("North", 30);
        App().settings.federation = "005" + PadRight("Federation", 30);
        const ReadoutFields today = ReadoutFieldsFor(SystemTimeSource().Now());
        QByteArray file = "0020624\r\n";
        for (int fancier = 1; fancier <= 30; ++fancier)
            file += QByteArray::fromStdString(ReadoutLoftLine(123, fancier, 0, "000Name")) + "\r\n";
        folder->Write(QString("race/W01205%1.d00").arg(ToQt(today.week)), file);
        MainWindow main;
        Showing<RacedataGetDialog> dialog(&main);
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
            folder->Messages().Clear();
            if (fault) SetSaveFaultForTests([](const Path&) { return true; });
            ModalWatcher watcher([&](QWidget* modal) {
                QCOMPARE(MissingCaptionKeys(modal), QStringList());
                qobject_cast<StoreRacedataPathSelect*>(modal)->SetFolder(target.path());
                Click(modal);
            });
            Click(&dialog, "Command3");
            SetSaveFaultForTests(nullptr);
            QCOMPARE(folder->Told().value(0), fault ? Shipped("frmRacedataGet.MsgBoxName9") : QString());
        }
        const QString copy = target.filePath(ToQt(ReadoutFileName(App().settings, today.week, today.point)));
        QCOMPARE(folder->Read(copy), file);
        QCOMPARE(main.Told(), Shipped("frmMain.txtFileWritten").arg(QDir::toNativeSeparators(copy)));
    }

    void racedataGetWithoutAPortGivesMessage1AndCloses() {
        App().settings.comPort = "";
        MainWindow main;
        RacedataGetDialog dialog(&main);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(folder->Told().value(1), Shipped("frmRacedataGet.MsgBoxText1"));
    }
};

QTEST_MAIN(ClockTest)
#include "clock_test.moc"
