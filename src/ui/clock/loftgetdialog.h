#pragma once
// frmLoftGet: reads the loft a clock holds back into its fancier's pigeon file.
#include "core/clock/loftget.h"
#include "ui/clock/transferdialog.h"

class QLabel;
class QProgressBar;

namespace plumet::ui {

class MainWindow;

class LoftGetDialog : public TransferDialog {
    Q_OBJECT
public:
    explicit LoftGetDialog(MainWindow* mainWindow);

private:
    void Start();
    void Finish(const LoftGetOutcome& outcome);

    MainWindow* mainWindow_;
    QLabel* status_; // Label1
    QProgressBar* progress_;
};

} // namespace plumet::ui
