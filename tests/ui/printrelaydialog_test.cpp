#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/appcontext.h"
#include "app/files.h"
#include "app/mainwindow.h"
#include "clock/printrelaydialog.h"
#include "clock/scriptedlink.h"
#include "heldlink.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class PrintRelayDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolderFixture> folder_;

    static QString Status(QWidget* dialog) { return dialog->findChild<QLabel*>("Label1")->text(); }

private slots:
    void init() {
        folder_ = std::make_unique<ProgramFolderFixture>();
        App().settings.comPort = "1";
    }
    void cleanup() { folder_.reset(); }

    void eachMenuOpensItsWindowWithEveryText() {
        const std::pair<const char*, PrintTarget> targets[] = {{"mnuPrintOverPC", PrintTarget::Printer},
                                                               {"mnuPrintToFile", PrintTarget::File},
                                                               {"mnuPrintToScreen", PrintTarget::Screen}};
        MainWindow main;
        for (const auto& [menu, target] : targets) {
            ScriptedClockLink link;
            HoldLink hold(link);
            QString opened;
            QStringList missing;
            QString title;
            ModalWatcher watcher([&](QWidget* modal) {
                opened = modal->objectName();
                missing = MissingCaptionKeys(modal);
                title = modal->windowTitle();
            });
            main.OpenMenuDialog(menu);
            QCOMPARE(opened, PrintRelayDialog::FormName(target));
            QCOMPARE(missing, QStringList());
            QCOMPARE(title, Shipped(opened + ".Caption"));
            QCOMPARE(link.LastSettings().baud, 9600);
        }
    }

    void theFileRelayWritesPrintTxtLineByLine() {
        folder_->Write("print.txt", "an old print-out\r\n");
        ScriptedClockLink link;
        HoldLink hold(link);
        PrintRelayDialog dialog(nullptr, PrintTarget::File);
        dialog.show();
        QCOMPARE(folder_->Read("print.txt"), QByteArray());
        QCOMPARE(Status(&dialog), Shipped("frmPrintToFile.txtWaitForChar"));
        link.QueueIncoming("AB\r\nC\x01\xE9\r\n\fhalf");
        QTRY_COMPARE(folder_->Read("print.txt"), QByteArray("AB\r\nC\xE9\r\n"));
        QTRY_COMPARE(Status(&dialog), Shipped("frmPrintToFile.txtSaveLine") + " 2");
        QTRY_COMPARE(Status(&dialog), Shipped("frmPrintToFile.txtWaitForChar")); // a second without data
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(folder_->Read("print.txt"), QByteArray("AB\r\nC\xE9\r\n")); // the unfinished line is not written
        QVERIFY(folder_->Messages().Shown().empty());
    }

    void theScreenRelayShowsTheTextAtEachLineFeed() {
        ScriptedClockLink link;
        HoldLink hold(link);
        PrintRelayDialog dialog(nullptr, PrintTarget::Screen);
        dialog.show();
        auto* text = dialog.findChild<QPlainTextEdit*>("Text1");
        QVERIFY(text->isReadOnly());
        QVERIFY(QFontInfo(text->font()).fixedPitch());
        link.QueueIncoming("AB\r\n\xC4\x80\r\n\f");
        QTRY_COMPARE(text->toPlainText(), QString::fromUtf8("AB\n\u00C4\u20AC\n"));
        QCOMPARE(text->textCursor().position(), text->toPlainText().size());
        link.QueueIncoming("Z\n");
        QTRY_COMPARE(text->toPlainText(), QString::fromUtf8("AB\n\u00C4\u20AC\n\nZ"));
    }

    void thePrinterRelayPrintsItsPagesWhenItCloses() {
        QTemporaryDir out;
        const QString pdf = out.filePath("relay.pdf");
        PrintRelayDialog::SetPdfOutputForTests(pdf);
        ScriptedClockLink link;
        HoldLink hold(link);
        {
            PrintRelayDialog dialog(nullptr, PrintTarget::Printer);
            dialog.show();
            QCOMPARE(Status(&dialog), Shipped("frmPrintOverPC.txtWaitForChar"));
            link.QueueIncoming("ARRIVALS\tTWO\r\n001 NL\r\n\f002 DV\r\nunfinished");
            QTRY_COMPARE(Status(&dialog), Shipped("frmPrintOverPC.txtPrintLine") + " 3");
            QCOMPARE(dialog.Pages(), (std::vector<std::vector<std::string>>{{"ARRIVALS\tTWO", "001 NL"}, {"002 DV"}}));
            QVERIFY(!QFile::exists(pdf)); // nothing goes out before the relay ends
            dialog.findChild<QPushButton*>("Command1")->click();
            QVERIFY(!dialog.isVisible());
        }
        PrintRelayDialog::SetPdfOutputForTests({});
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 2);
    }

    void aFailingPortOrFileIsReportedAndTheWindowCloses() {
        ScriptedClockLink link;
        FailingClockLink failing(link);
        failing.PortErrorAtReceive(0);
        HoldLink hold(failing);
        {
            PrintRelayDialog dialog(nullptr, PrintTarget::Screen);
            dialog.show();
            link.QueueIncoming("A");
            QTRY_VERIFY(!dialog.isVisible());
            QCOMPARE(folder_->Messages().Shown().size(), std::size_t(1));
            QCOMPARE(folder_->Messages().Shown()[0].text, Shipped("frmPrintToScreen.MsgBoxText1"));
        }
        folder_->Messages().Clear();
        SetSaveFaultForTests([](const Path&) { return true; });
        PrintRelayDialog dialog(nullptr, PrintTarget::File);
        dialog.show();
        SetSaveFaultForTests(nullptr);
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(folder_->Messages().Shown().size(), std::size_t(1));
        QCOMPARE(folder_->Messages().Shown()[0].icon, MessageIcon::Critical);
        QCOMPARE(folder_->Messages().Shown()[0].title, Shipped("frmPrintToFile.Caption"));
        QVERIFY(!folder_->Messages().Shown()[0].text.isEmpty());
        QVERIFY(!dialog.PortOpen());
    }
};

QTEST_MAIN(PrintRelayDialogTest)
#include "printrelaydialog_test.moc"
