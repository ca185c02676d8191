#pragma once
// frmLoftSend: loads the selected fancier's loft and pigeons into the clock.
#include "core/clock/loftsend.h"
#include "ui/clock/transferdialog.h"

class QLabel;
class QProgressBar;

namespace plumet::ui {

class MainWindow;

class LoftSendDialog : public TransferDialog {
    Q_OBJECT
public:
    explicit LoftSendDialog(MainWindow* mainWindow);

private:
    void Start();
    void Finish(const LoftSendOutcome& outcome);

    LoftToSend loft_;
    QLabel* headline_; // Label1
    QLabel* status_;   // Label2
    QProgressBar* progress_;
};

} // namespace plumet::ui
