#pragma once
// frmSendTime: the PC as the clock's time transmitter while the window is open; it shows the
// PC's date and time and sends them each second the clock listens.
#include "core/app/timesource.h"
#include "ui/clock/transferdialog.h"

class QLabel;

namespace plumet::ui {

class SendTimeDialog : public TransferDialog {
    Q_OBJECT
public:
    explicit SendTimeDialog(QWidget* parent = nullptr);

    // Tests freeze or step the PC clock; nullptr restores the system's.
    static void SetTimeSourceForTests(const TimeSource* source);
    // The weekday the system's week starts with, 0 = Sunday.
    static int SystemFirstDayOfWeek();

private:
    void ShowTime(const DateTime& at);
    void Start();

    QLabel* date_;
    QLabel* time_;
};

// The date and time in the system's formats (the time with seconds).
QString SystemDateText(const DateTime& at);
QString SystemTimeText(const DateTime& at);

} // namespace plumet::ui
