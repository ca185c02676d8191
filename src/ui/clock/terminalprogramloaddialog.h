#pragma once
// frmTerminalProgramLoad: a new operating program into the clock, with a progress bar. The
// main window hands over the load code and the captions of the menu entry and its group.
#include <QString>

#include "core/clock/terminalprogramload.h"
#include "ui/clock/transferdialog.h"

class QProgressBar;

namespace plumet::ui {

class TerminalProgramLoadDialog : public TransferDialog {
    Q_OBJECT
public:
    // `groupCaption` is used as given; the main window cuts it to 20 characters.
    TerminalProgramLoadDialog(QWidget* parent, const QString& code, const QString& groupCaption,
                              const QString& entryCaption);

    const QString& Code() const { return code_; }

private:
    void Start();
    void Progress(const TransferProgress& progress);
    void Ended(const TerminalProgramLoadOutcome& outcome);

    QString code_;
    QProgressBar* progress_;
};

} // namespace plumet::ui
