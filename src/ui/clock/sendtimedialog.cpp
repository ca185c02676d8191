#include "ui/clock/sendtimedialog.h"

#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include "core/clock/sendtime.h"

namespace plumet::ui {
namespace {

const TimeSource*& TestTimeSource() {
    static const TimeSource* source = nullptr;
    return source;
}

const TimeSource& PcClock() {
    static const SystemTimeSource system;
    return TestTimeSource() ? *TestTimeSource() : system;
}

} // namespace

QString SystemDateText(const DateTime& at) {
    return QLocale::system().toString(QDate(at.year, at.month, at.day), QLocale::ShortFormat);
}

QString SystemTimeText(const DateTime& at) {
    // The long format carries the seconds; the time zone has no place on this clock face.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression("\\s*t+\\s*"));
    if (!format.contains('s')) format = "HH:mm:ss";
    return QLocale::system().toString(QTime(at.hour, at.minute, at.second), format.trimmed());
}

void SendTimeDialog::SetTimeSourceForTests(const TimeSource* source) { TestTimeSource() = source; }

int SendTimeDialog::SystemFirstDayOfWeek() { return QLocale::system().firstDayOfWeek() % 7; }

SendTimeDialog::SendTimeDialog(QWidget* parent)
    : TransferDialog("frmSendTime", parent, kSendTimeConstants, CancelBehaviour::ClosesAtOnce) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    date_ = MakeStatusLine("Label1");
    time_ = MakeStatusLine("Label2");
    AddLabelled(grid, 0, "Label3", "Date :", date_);
    AddLabelled(grid, 1, "Label4", "Time :", time_);
    grid->setColumnMinimumWidth(1, 160);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* cancel = AddButton(buttons, "Command1", "Cancel");
    connect(cancel, &QPushButton::clicked, this, &SendTimeDialog::reject);
    layout->addLayout(buttons);
    Load();
    ShowTime(PcClock().Now());
    // The port opens a moment after the window, and the transmitter starts with it.
    QTimer::singleShot(static_cast<int>(Constants().openDelay.count()), this, &SendTimeDialog::Start);
}

void SendTimeDialog::ShowTime(const DateTime& at) {
    SetStatus(date_, SystemDateText(at));
    SetStatus(time_, SystemTimeText(at));
}

void SendTimeDialog::Start() {
    if (!OpenPort()) return;
    const int firstDay = SystemFirstDayOfWeek();
    Session().Run([this, &session = Session(), firstDay](ClockLink& link, std::stop_token cancel) {
        const SendTimeOutcome outcome = RunTimeTransmitter(
            link, PcClock(), firstDay, 0, kSendTimePoll,
            [this, &session](const DateTime& now, bool) { session.Post([this, now] { ShowTime(now); }); }, cancel);
        if (outcome.link == LinkStatus::PortError) {
            // The port went away under the transmitter (an unplugged adapter).
            session.Post([this] {
                texts_.ShowNumbered(1);
                CloseDialog();
            });
        }
    });
}

} // namespace plumet::ui
