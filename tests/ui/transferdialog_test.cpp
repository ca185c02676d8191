#include <atomic>

#include "clock/transferdialog.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

using Job = std::function<void(ClockLink&, std::stop_token, TransferSession&)>;

// The smallest transfer dialog: one status line, a bar, and a job run after the start delay.
class ProbeDialog : public TransferDialog {
public:
    ProbeDialog(CancelBehaviour cancel, Job job)
        : TransferDialog("frmLoftGet", nullptr, kLoftGetConstants, cancel), status(MakeStatusLine("Label1")),
          bar(MakeProgressBar()) {
        LayOut({status, bar});
        Load();
        if (!OpenPort()) return;
        StartAfterDelay([this, job] {
            Session().Run([this, job](ClockLink& link, std::stop_token stop) { job(link, stop, Session()); });
        });
    }
    using TransferDialog::SetProgress;

    QLabel* status;
    QProgressBar* bar;
};

// Waits on the link until the cancel comes, then says how the wait ended.
Job WaitForCancel(std::atomic<int>& ended) {
    return [&ended](ClockLink& link, std::stop_token stop, TransferSession&) {
        ended = static_cast<int>(link.receiveByte(milliseconds(60000), stop).status);
    };
}

} // namespace

class TransferDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolderFixture> folder_;

private slots:
    void init() {
        folder_ = std::make_unique<ProgramFolderFixture>();
        App().settings.comPort = "1";
        SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); });
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
            ProbeDialog dialog(TransferDialog::CancelBehaviour::ClosesAtOnce,
                               [&ran](ClockLink&, std::stop_token, TransferSession&) { ran = true; });
            dialog.show();
            QVERIFY(!dialog.PortOpen());
            QCOMPARE(ShownTexts(folder_->Messages()), NumberedMessage("frmLoftGet", 1));
            QTRY_VERIFY(!dialog.isVisible());
            QVERIFY(!dialog.findChild<QTimer*>("StartTimer")->isActive() && !ran);
            folder_->Messages().Clear();
        }
    }

    void theTransferStartsOnlyAfterTheStartDelayAndCancelBeforeItRunsNothing() {
        bool ran = false;
        ProbeDialog dialog(TransferDialog::CancelBehaviour::OnlyFlags,
                           [&ran](ClockLink&, std::stop_token, TransferSession&) { ran = true; });
        dialog.show();
        auto* timer = dialog.findChild<QTimer*>("StartTimer");
        QVERIFY(timer->isActive() && timer->isSingleShot());
        QCOMPARE(timer->interval(), 1000);
        QCOMPARE(dialog.Constants().byteTimeout, milliseconds(2000));
        QTest::keyClick(&dialog, Qt::Key_Escape); // nothing to wait for yet
        QVERIFY(!dialog.isVisible() && !timer->isActive() && !ran);

        ProbeDialog::SetProgress(dialog.bar, 0, 0); // nothing to transfer is all done
        QCOMPARE(dialog.bar->value(), dialog.bar->maximum());
    }

    void cancelEndsTheTransferAndClosesAtOnceOrOnceItHasEnded() {
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(0); });
        for (const auto behaviour : {TransferDialog::CancelBehaviour::ClosesAtOnce, TransferDialog::CancelBehaviour::OnlyFlags}) {
            std::atomic<int> ended = -1;
            auto dialog = std::make_unique<ProbeDialog>(behaviour, WaitForCancel(ended));
            dialog->show();
            QTRY_VERIFY(dialog->Session().Running());
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
            QCOMPARE(dialog->isVisible(), behaviour == TransferDialog::CancelBehaviour::OnlyFlags);
            QVERIFY(dialog->Session().CancelRequested());
            QTRY_VERIFY(!dialog->isVisible());
            QCOMPARE(dialog->result(), int(QDialog::Rejected));
            dialog.reset(); // waits for the worker
            QCOMPARE(ended.load(), static_cast<int>(LinkStatus::Cancelled));
        }
    }
};

QTEST_MAIN(TransferDialogTest)
#include "transferdialog_test.moc"
