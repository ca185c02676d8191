#include <QFile>

#include "ui/clock/printrelaydialog.h"
#include "uitestsupport.h"

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
        QTest::keyClick(&dialog, Qt::Key_Escape); // the unfinished line is not written
        QVERIFY(!dialog.isVisible());
        QCOMPARE(folder_->Read("print.txt"), QByteArray("AB\r\nC\xE9\r\n"));
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
            QVERIFY(!QFile::exists(pdf)); // nothing goes out before the relay ends
            Click(&dialog);
            QVERIFY(!dialog.isVisible());
        }
        PrintRelayDialog::SetPdfOutputForTests({});
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
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
            QCOMPARE(ShownTexts(folder_->Messages()), NumberedMessage("frmPrintToScreen", 1));
        }
        std::unique_ptr<PrintRelayDialog> dialog;
        const QString failed = SavingFails(folder_->Messages(), [&] {
            dialog = std::make_unique<PrintRelayDialog>(nullptr, PrintTarget::File);
            dialog->show();
        });
        QVERIFY2(failed.startsWith(Shipped("frmPrintToFile.Caption") + ": "), qPrintable(failed));
        QTRY_VERIFY(!dialog->isVisible());
        QVERIFY(!dialog->PortOpen());
    }
};

QTEST_MAIN(PrintRelayDialogTest)
#include "printrelaydialog_test.moc"
