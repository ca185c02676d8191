#include <atomic>
#include <optional>

#include "ui/clock/loftsenddialog.h"
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

// What every clock window shares; the transfers themselves run end to end against the simulator.
// The loft send and the terminal program load windows run end to end and from the menu test;
// here the faults they must show.
class TransferDialogTest : public QObject {
    Q_OBJECT

    std::optional<ProgramFolderFixture> folder_;

private slots:
    void init() {
        folder_.emplace();
        App().settings.comPort = "1";
        SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); });
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(0); });
    }
    void cleanup() {
        TransferDialog::SetTimingForTests(nullptr);
        SetClockLinkFactoryForTests(nullptr);
        folder_.reset();
    }

    void aPortThatDoesNotOpenGivesMessageOneAndCloses() {
        for (const bool configured : {false, true}) {
            App().settings.comPort = configured ? "1" : "";
            // A second link on the same scripted port refuses to open.
            SetClockLinkFactoryForTests([] {
                auto link = std::make_unique<ScriptedClockLink>();
                link->open(PortSettings{});
                return link;
            });
            bool ran = false;
            ProbeDialog dialog(Cancel::ClosesAtOnce, [&ran](ClockLink&, std::stop_token) { ran = true; });
            dialog.show();
            QVERIFY(!dialog.PortOpen());
            QCOMPARE(ShownTexts(folder_->Messages()), NumberedMessage("frmLoftGet", 1));
            QTRY_VERIFY(!dialog.isVisible());
            QVERIFY(!dialog.findChild<QTimer*>("StartTimer")->isActive() && !ran);
            folder_->Messages().Clear();
        }
    }

    void cancelBeforeTheStartDelayRunsNothingAndNothingToTransferIsAllDone() {
        TransferDialog::SetTimingForTests(nullptr);
        bool ran = false;
        ProbeDialog dialog(Cancel::OnlyFlags, [&ran](ClockLink&, std::stop_token) { ran = true; });
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape); // nothing to wait for yet
        QVERIFY(!dialog.isVisible() && !dialog.findChild<QTimer*>("StartTimer")->isActive() && !ran);
        ProbeDialog::SetProgress(dialog.bar, 0, 0);
        QCOMPARE(dialog.bar->value(), dialog.bar->maximum());
    }

    void cancelEndsTheTransferAndClosesAtOnceOrOnceItHasEnded() {
        for (const Cancel behaviour : {Cancel::ClosesAtOnce, Cancel::OnlyFlags}) {
            std::atomic<int> ended = -1;
            auto dialog = std::make_unique<ProbeDialog>(behaviour, [&ended](ClockLink& link, std::stop_token stop) {
                ended = static_cast<int>(link.receiveByte(milliseconds(60000), stop).status);
            });
            dialog->show();
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
    void aLoftTheClockCannotTakeIsNotSentAndTheSendWindowStaysOpen() {
        ScriptedClockLink link;
        HoldLink hold(link);
        FixedPorts ports({});
        App().settings.region = "012Nord";
        App().settings.federation = "005Mitte";
        MainWindow main;
        main.StartupTimer()->stop();
        main.SelectedClubNumber = "300";
        main.SelectedFancierNumber = "012";
        main.SelectedFancierName = "M\xFCller Hans         ";
        LoftSendDialog dialog(&main);
        QCOMPARE(dialog.findChild<QLabel*>("Label1")->text(), QString::fromUtf8("012.005.300.012 Müller Hans         "));
        dialog.show();
        QTRY_COMPARE(dialog.findChild<QLabel*>("Label2")->text(), Shipped("frmLoftSend.txtCommunicationError"));
        QVERIFY(dialog.isVisible() && link.Sent().empty()); // left open to be read, with the reason
        QCOMPARE(folder_->Messages().Shown().size(), std::size_t(1));
        QVERIFY(folder_->Messages().Shown()[0].text.contains("\"300\""));
        Click(&dialog);
        QVERIFY(!dialog.isVisible());
    }

    void aMissingTerminalProgramImageGivesMessageTwoSayingWhy() {
        ScriptedClockLink link;
        HoldLink hold(link);
        TerminalProgramLoadDialog dialog(nullptr, "C", "Terminal", "Veloxan Load");
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        const QStringList shown = ShownTexts(folder_->Messages());
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0], Shipped("frmTerminalprogramLoad.MsgBoxName2"));
        QVERIFY2(shown[1].contains("trintC.exe") && shown[1].contains("does not exist"), qPrintable(shown[1]));
        QVERIFY(link.Sent().empty());
    }
};

QTEST_MAIN(TransferDialogTest)
#include "transferdialog_test.moc"
