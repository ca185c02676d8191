#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>

#include "app/appcontext.h"
#include "clock/scriptedlink.h"
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

    static void NoStartDelay() {
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(0); });
    }

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
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(!dialog.findChild<QTimer*>("StartTimer")->isActive());
            QVERIFY(!ran);
            folder_->Messages().Clear();
        }
    }

    void theTransferStartsOnlyAfterTheStartDelay() {
        std::atomic<bool> ran = false;
        {
            ProbeDialog dialog(TransferDialog::CancelBehaviour::ClosesAtOnce,
                               [&ran](ClockLink&, std::stop_token, TransferSession&) { ran = true; });
            auto* timer = dialog.findChild<QTimer*>("StartTimer");
            QVERIFY(timer->isActive() && timer->isSingleShot());
            QCOMPARE(timer->interval(), 1000);
            QCOMPARE(dialog.Constants().byteTimeout, milliseconds(2000));
            QVERIFY(!ran);
        }
        NoStartDelay();
        ProbeDialog dialog(TransferDialog::CancelBehaviour::ClosesAtOnce,
                           [&ran](ClockLink&, std::stop_token, TransferSession&) { ran = true; });
        QTRY_VERIFY(ran);
        QVERIFY(folder_->Messages().Shown().empty());
    }

    void cancelThatClosesAtOnceEndsTheTransferToo() {
        NoStartDelay();
        std::atomic<int> ended = -1;
        auto dialog = std::make_unique<ProbeDialog>(TransferDialog::CancelBehaviour::ClosesAtOnce, WaitForCancel(ended));
        dialog->show();
        QTRY_VERIFY(dialog->Session().Running());
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible()); // at once, not when the transfer has ended
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        dialog.reset(); // waits for the worker
        QCOMPARE(ended.load(), static_cast<int>(LinkStatus::Cancelled));
    }

    void cancelThatOnlyFlagsClosesWhenTheTransferHasEnded() {
        NoStartDelay();
        std::atomic<int> ended = -1;
        ProbeDialog dialog(TransferDialog::CancelBehaviour::OnlyFlags, WaitForCancel(ended));
        dialog.show();
        QTRY_VERIFY(dialog.Session().Running());
        dialog.findChild<QPushButton*>("Command1")->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.Session().CancelRequested());
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(ended.load(), static_cast<int>(LinkStatus::Cancelled));

        // Before the transfer has started there is nothing to wait for.
        TransferDialog::SetTimingForTests(nullptr);
        bool ran = false;
        ProbeDialog early(TransferDialog::CancelBehaviour::OnlyFlags,
                          [&ran](ClockLink&, std::stop_token, TransferSession&) { ran = true; });
        early.show();
        QTest::keyClick(&early, Qt::Key_Escape);
        QVERIFY(!early.isVisible());
        QVERIFY(!early.findChild<QTimer*>("StartTimer")->isActive());
        QVERIFY(!ran);
    }

    void progressPostsArriveInOrderBeforeTheEnd() {
        NoStartDelay();
        constexpr int kPosts = 500;
        QList<int> seen;
        bool finishedAfterAll = false;
        ProbeDialog dialog(TransferDialog::CancelBehaviour::ClosesAtOnce,
                           [&seen](ClockLink&, std::stop_token, TransferSession& session) {
                               for (int i = 0; i < kPosts; ++i) session.Post([&seen, i] { seen << i; });
                           });
        connect(&dialog.Session(), &TransferSession::finished, this,
                [&] { finishedAfterAll = seen.size() == kPosts; });
        QTRY_VERIFY(finishedAfterAll);
        for (int i = 0; i < kPosts; ++i) QCOMPARE(seen[i], i);

        ProbeDialog::SetProgress(dialog.bar, 3, 10);
        QCOMPARE(dialog.bar->maximum(), 10);
        QCOMPARE(dialog.bar->value(), 3);
        ProbeDialog::SetProgress(dialog.bar, 0, 0); // nothing to transfer is all done
        QCOMPARE(dialog.bar->value(), dialog.bar->maximum());
    }
};

QTEST_MAIN(TransferDialogTest)
#include "transferdialog_test.moc"
