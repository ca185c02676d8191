#include "clock/transferdialog.h"

#include <QLabel>
#include <QTimer>

#include "app/appcontext.h"

namespace plumet::ui {
namespace {

std::function<void(TransferConstants&)>& TimingForTests() {
    static std::function<void(TransferConstants&)> adjust;
    return adjust;
}

} // namespace

void TransferDialog::SetTimingForTests(std::function<void(TransferConstants&)> adjust) {
    TimingForTests() = std::move(adjust);
}

TransferDialog::TransferDialog(const QString& objectName, QWidget* parent, const TransferConstants& constants,
                               CancelBehaviour cancel, const QString& prefix)
    : DialogBase(objectName, parent, prefix), constants_(constants), cancelBehaviour_(cancel),
      startTimer_(new QTimer(this)) {
    if (TimingForTests()) TimingForTests()(constants_);
    startTimer_->setSingleShot(true);
    startTimer_->setObjectName("StartTimer");
}

TransferDialog::~TransferDialog() {
    startTimer_->stop();
    session_.Cancel();
}

bool TransferDialog::OpenPort() {
    portOpen_ = App().settings.HasPort() &&
                session_.Open(constants_.SettingsFor(App().settings.comPort)) == LinkStatus::Ok;
    if (!portOpen_) {
        texts_.ShowNumbered(1);
        QTimer::singleShot(0, this, &TransferDialog::CloseDialog);
    }
    return portOpen_;
}

void TransferDialog::StartAfterDelay(std::function<void()> start) {
    if (!portOpen_) return;
    startTimer_->disconnect();
    connect(startTimer_, &QTimer::timeout, this, std::move(start));
    startTimer_->start(static_cast<int>(constants_.startDelay.count()));
}

QLabel* TransferDialog::MakeStatusLine(const QString& objectName) {
    auto* line = new QLabel(this);
    line->setObjectName(objectName);
    line->setProperty(kNoCaptionProperty, true);
    line->setTextFormat(Qt::PlainText);
    return line;
}

void TransferDialog::SetStatus(QLabel* line, const QString& text) { line->setText(text); }

void TransferDialog::CloseDialog() {
    closing_ = true;
    startTimer_->stop();
    session_.Cancel();
    DialogBase::reject();
}

void TransferDialog::reject() {
    session_.Cancel();
    if (cancelBehaviour_ == CancelBehaviour::ClosesAtOnce || !session_.Running() || closing_) CloseDialog();
}

} // namespace plumet::ui
