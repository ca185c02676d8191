#include "ui/clock/terminalprogramloaddialog.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"

namespace plumet::ui {

TerminalProgramLoadDialog::TerminalProgramLoadDialog(QWidget* parent, const QString& code,
                                                     const QString& groupCaption, const QString& entryCaption)
    : TransferDialog("frmTerminalProgramLoad", parent, kTerminalProgramLoadConstants, CancelBehaviour::OnlyFlags,
                     "frmTerminalprogramLoad"),
      code_(code) {
    auto* layout = new QVBoxLayout(this);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar1");
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setMinimumWidth(360);
    layout->addWidget(progress_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* cancel = AddButton(buttons, "Command1", "Cancel");
    cancel->setProperty(kCaptionKeyProperty, "frmTerminalprogramLoad.Command1.Caption");
    connect(cancel, &QPushButton::clicked, this, &TerminalProgramLoadDialog::reject);
    layout->addLayout(buttons);
    Load();
    setWindowTitle(ToQt(TerminalProgramLoadTitle(ToBytes(code), ToBytes(texts_.Text("txtVeloxanLoad")),
                                                 ToBytes(groupCaption), ToBytes(entryCaption))));
    if (OpenPort()) StartAfterDelay([this] { Start(); });
}

void TerminalProgramLoadDialog::Start() {
    const std::string code = ToBytes(code_);
    const Path folder = App().programFolder;
    const milliseconds timeout = Constants().byteTimeout;
    Session().Run([this, &session = Session(), code, folder, timeout](ClockLink& link, std::stop_token cancel) {
        const TerminalProgramLoadOutcome outcome = LoadTerminalProgram(
            link, folder, code, timeout,
            [this, &session](const TransferProgress& p) { session.Post([this, p] { Progress(p); }); },
            cancel);
        session.Post([this, outcome] { Ended(outcome); });
    });
}

void TerminalProgramLoadDialog::Progress(const TransferProgress& progress) {
    if (progress.what != kLoadingStep) return;
    progress_->setRange(0, static_cast<int>(std::max<std::size_t>(progress.total, 1)));
    progress_->setValue(static_cast<int>(std::min(progress.done, progress.total)));
}

void TerminalProgramLoadDialog::Ended(const TerminalProgramLoadOutcome& outcome) {
    const TransferFace face = FaceOf(outcome.result);
    if (face.message != 0)
        texts_.ShowNumberedAs(face.message,
                              ToQt(TransferMessageText(ToBytes(texts_.Prefix()), face.message, outcome.refusal)));
    CloseDialog();
}

} // namespace plumet::ui
