#include <QAction>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "app/appcontext.h"
#include "app/mainwindow.h"
#include "clock/clocksimulator.h"
#include "clock/scriptedlink.h"
#include "clock/terminalprogramloaddialog.h"
#include "heldlink.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

// One data record with the bytes 01 02 03 at 0100 and the end record, as a keyed image.
QByteArray KeyedImage() {
    QByteArray keyed;
    for (const char c : QByteArray::fromHex("03010000010203F600000001FF")) keyed += static_cast<char>(c ^ kFirmwareKey);
    return keyed;
}

} // namespace

class TerminalProgramLoadDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolderFixture> folder_;

private slots:
    void init() {
        folder_ = std::make_unique<ProgramFolderFixture>();
        App().settings.comPort = "1";
        TransferDialog::SetTimingForTests([](TransferConstants& c) {
            c.startDelay = milliseconds(0);
            c.byteTimeout = milliseconds(20);
        });
    }
    void cleanup() {
        TransferDialog::SetTimingForTests(nullptr);
        folder_.reset();
    }

    void eachTerminalMenuEntryHandsOverItsCodeAndCaptions() {
        ScriptedClockLink link;
        HoldLink hold(link);
        // Each window is still waiting to start when the watcher looks and closes it.
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(60000); });
        MainWindow main;
        const QString groups[] = {"mnuVeloxanP", "mnuVeloxanPPAD", "mnuVeloxanPPGD"};
        const QString suffixes[] = {"VP", "VPPAD", "VPPGD"};
        for (int g = 0; g < 3; ++g) {
            for (int n = 1; n <= 4; ++n) {
                const QString item = QString("mnu%1FancierLoad%2").arg(n).arg(suffixes[g]);
                QString opened;
                ModalWatcher watcher([&](QWidget* modal) {
                    opened = static_cast<TerminalProgramLoadDialog*>(modal)->Code() + " " + modal->windowTitle();
                });
                main.OpenMenuDialog(item);
                QCOMPARE(opened, QString("%1%2 ").arg(g + 1).arg(n) + main.MenuItem(item)->text() + " (" +
                                     main.Menu(groups[g])->title().left(20) + ")");
            }
        }
        QString title;
        QStringList missing;
        ModalWatcher watcher([&](QWidget* modal) {
            title = modal->windowTitle();
            missing = MissingCaptionKeys(modal);
        });
        main.OpenMenuDialog("mnuVeloxanLoad");
        QCOMPARE(title, Shipped("frmTerminalprogramLoad.txtVeloxanLoad"));
        // The title comes from the menu, never from a caption key of its own.
        QCOMPARE(missing, QStringList{"frmTerminalProgramLoad.Caption"});
        QVERIFY(folder_->Messages().Shown().empty());
    }

    void anUploadRunsToTheEndAndTheWindowClosesByItself() {
        folder_->Write("tools/trint13.exe", KeyedImage());
        FrozenTimeSource master;
        ClockSimulator clock(master);
        ScriptedClockLink link(clock);
        HoldLink hold(link);
        TerminalProgramLoadDialog dialog(nullptr, "13", "Load Veloxan+", "Load 3 fanciers");
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        QVERIFY(folder_->Messages().Shown().empty());
        auto* bar = dialog.findChild<QProgressBar*>("ProgressBar1");
        QCOMPARE(bar->value(), KeyedImage().size());
        QCOMPARE(bar->maximum(), KeyedImage().size());
        QVERIFY(clock.State().firmware.complete);
        QCOMPARE(clock.State().firmware.image, (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x03}));
    }

    void aMissingImageGivesMessageTwo() {
        ScriptedClockLink link;
        HoldLink hold(link);
        TerminalProgramLoadDialog dialog(nullptr, "C", "Terminal", "Veloxan Load");
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(ShownTexts(folder_->Messages()), NumberedMessage("frmTerminalprogramLoad", 2));
        QVERIFY(link.Sent().empty());
    }
};

QTEST_MAIN(TerminalProgramLoadDialogTest)
#include "terminalprogramloaddialog_test.moc"
