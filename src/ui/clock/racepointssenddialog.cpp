#include "ui/clock/racepointssenddialog.h"

#include <QLabel>
#include <QProgressBar>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "ui/app/mainwindow.h"

namespace plumet::ui {

RacePointsSendDialog::RacePointsSendDialog(QWidget* parent)
    : TransferDialog("frmRacePointsSend", parent, kRacePointsSendConstants, CancelBehaviour::ClosesAtOnce),
      point_(MakeStatusLine("Label1")), status_(MakeStatusLine("Label2")), progress_(MakeProgressBar()) {
    LayOut({point_, status_, progress_});
    Load();
    if (!OpenPort()) return;
    StartAfterDelay([this] { Start(); });
}

void RacePointsSendDialog::Start() {
    Session().Run([this, &session = Session(), folder = App().programFolder, timeout = Constants().byteTimeout](ClockLink& link,
                                                                                           std::stop_token cancel) {
        const RacePointsSendOutcome outcome = SendRacePoints(
            link, folder, timeout,
            [this, &session](const TransferProgress& p) {
                session.Post([this, p] {
                    SetProgress(progress_, p.done, p.total);
                    if (!p.what.empty()) SetStatus(point_, ToQt(p.what));
                });
            },
            cancel);
        session.Post([this, outcome] { Finish(outcome); });
    });
}

void RacePointsSendDialog::Finish(const RacePointsSendOutcome& outcome) {
    if (outcome.result == RacePointsSendResult::Cancelled) return;
    ShowFace(FaceOf(outcome.result), outcome.refusal, status_);
    if (outcome.result == RacePointsSendResult::Confirmed)
        TellMainWindow(this, Texts().Text("txtPointsSent").arg(outcome.sent));
    // A register that cannot be read, or a port that broke, leaves the dialog open to be read.
    if (outcome.result == RacePointsSendResult::Confirmed || outcome.result == RacePointsSendResult::NotConfirmed)
        CloseDialog();
}

} // namespace plumet::ui
