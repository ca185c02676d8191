#pragma once
// frmRacePointsSend: loads the names of all release points into the clock.
#include "core/clock/racepointssend.h"
#include "ui/clock/transferdialog.h"

class QLabel;
class QProgressBar;

namespace plumet::ui {

class RacePointsSendDialog : public TransferDialog {
    Q_OBJECT
public:
    explicit RacePointsSendDialog(QWidget* parent);

private:
    void Start();
    void Finish(const RacePointsSendOutcome& outcome);

    QLabel* point_;  // Label1: the point sent last
    QLabel* status_; // Label2
    QProgressBar* progress_;
};

} // namespace plumet::ui
