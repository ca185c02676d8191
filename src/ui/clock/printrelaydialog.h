#pragma once
// frmPrintOverPC, frmPrintToFile and frmPrintToScreen: the PC stands in for the clock's
// printer. One window class for the three targets; the window names the target.
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include <memory>

#include "core/app/folderlock.h"
#include "core/clock/printrelay.h"
#include "ui/clock/transferdialog.h"

class QLabel;
class QPlainTextEdit;
class QPrinter;

namespace plumet::ui {

class PrintRelayDialog : public TransferDialog {
    Q_OBJECT
public:
    PrintRelayDialog(QWidget* parent, PrintTarget target);

    static QString FormName(PrintTarget target);
    // Tests print the printer relay's pages into this PDF file instead of the print preview.
    static void SetPdfOutputForTests(const QString& path);

    PrintTarget Target() const { return target_; }
    // The printer relay's pages so far.
    std::vector<std::vector<std::string>> Pages() const { return document_.Pages(); }

    void done(int result) override;

private:
    void Start(std::shared_ptr<PrintFile> file);
    void Apply(const PrintRelayEffect& effect);
    void Ended(const PrintRelayOutcome& outcome);
    void PrintDocument();

    PrintTarget target_;
    QLabel* status_ = nullptr;        // printer and file
    QPlainTextEdit* screen_ = nullptr; // screen
    PrinterDocument document_;
    std::shared_ptr<FolderWriteLock> writeLock_; // the file relay's
    bool finished_ = false;
};

// Lays the pages out on `printer` in the relay's fixed font, breaking pages that run full.
bool PrintPages(QPrinter& printer, const std::vector<std::vector<std::string>>& pages);

} // namespace plumet::ui
