#include "clock/terminalprogramloaddialog.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

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
