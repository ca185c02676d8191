#include "ui/clock/transferdialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QTimer>
#include <algorithm>

#include "common/appcontext.h"
#include "common/textcodec.h"

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
    connect(&session_, &TransferSession::finished, this, [this] {
        if (cancelAsked_ && !closing_) CloseDialog();
    });
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

void TransferDialog::ShowFace(const TransferFace& face, const Refusal& refusal, QLabel* statusLine) {
    if (*face.status != '\0') SetStatus(statusLine, Texts().Text(QString::fromLatin1(face.status)));
    if (face.message != 0)
        Texts().ShowNumberedAs(face.message,
                               ToQt(TransferMessageText(ToBytes(Texts().Prefix()), face.message, refusal)));
    if (isVisible()) activateWindow(); // the box took the focus; the dialog left open gets it back
}

QProgressBar* TransferDialog::MakeProgressBar(const QString& objectName) {
    auto* bar = new QProgressBar(this);
    bar->setObjectName(objectName);
    bar->setRange(0, 1);
    bar->setValue(0);
    bar->setTextVisible(true);
    return bar;
}

void TransferDialog::SetProgress(QProgressBar* bar, std::size_t done, std::size_t total) {
    // An empty transfer is complete from the start: show a full bar rather than an idle one.
    const int maximum = static_cast<int>(std::max<std::size_t>(total, 1));
    bar->setRange(0, maximum);
    bar->setValue(total == 0 ? maximum : static_cast<int>(std::min(done, total)));
}

QPushButton* TransferDialog::LayOut(std::initializer_list<QWidget*> rows, const QString& cancelName) {
    auto* layout = new QVBoxLayout(this);
    for (QWidget* row : rows) layout->addWidget(row);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* cancel = AddButton(buttons, cancelName, QStringLiteral("Cancel"));
    connect(cancel, &QPushButton::clicked, this, &TransferDialog::reject);
    cancel->setFocusPolicy(Qt::NoFocus); // a Return meant for another window never cancels a transfer; Escape does
    layout->addLayout(buttons);
    setMinimumWidth(440);
    return cancel;
}

void TransferDialog::CloseDialog() {
    closing_ = true;
    startTimer_->stop();
    session_.Cancel();
    DialogBase::reject();
}

void TransferDialog::reject() {
    session_.Cancel();
    if (cancelBehaviour_ == CancelBehaviour::ClosesAtOnce || !session_.Running() || closing_) CloseDialog();
    else cancelAsked_ = true;
}

} // namespace plumet::ui
