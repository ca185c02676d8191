#include "ui/clock/loftsenddialog.h"

#include <QLabel>
#include <QProgressBar>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/clock/transferface.h"
#include "core/app/fixedwidth.h"
#include "ui/app/mainwindow.h"

namespace plumet::ui {

LoftSendDialog::LoftSendDialog(MainWindow* mainWindow)
    : TransferDialog("frmLoftSend", mainWindow, kLoftSendConstants, CancelBehaviour::OnlyFlags),
      loft_{App().settings.region, App().settings.federation, mainWindow->SelectedClubNumber,
            mainWindow->SelectedFancierNumber, mainWindow->SelectedFancierName},
      headline_(MakeStatusLine("Label1")), status_(MakeStatusLine("Label2")), progress_(MakeProgressBar()) {
    LayOut({headline_, status_, progress_});
    Load();
    if (!OpenPort()) return;
    SetStatus(headline_, ToQt(LoftSendHeadline(loft_)));
    SetStatus(status_, Texts().Text("txtPigeonLoad"));
    StartAfterDelay([this] { Start(); });
}

void LoftSendDialog::Start() {
    static const SystemTimeSource clock;
    Session().Run([this, &session = Session(), folder = App().programFolder, loft = loft_,
                   sexes = CatalogueSexTexts(LoadCatalogue()),
                   timeout = Constants().byteTimeout](ClockLink& link, std::stop_token cancel) {
        const LoftSendOutcome outcome = SendLoft(
            link, folder, loft, sexes, clock, timeout,
            [this, &session](const TransferProgress& p) { session.Post([this, p] { SetProgress(progress_, p.done, p.total); }); },
            cancel);
        session.Post([this, outcome] { Finish(outcome); });
    });
}

void LoftSendDialog::Finish(const LoftSendOutcome& outcome) {
    if (outcome.result == LoftSendResult::Cancelled) return; // the dialog closes when the session ends
    ShowFace(FaceOf(outcome.result), outcome.refusal, status_);
    if (outcome.result == LoftSendResult::Confirmed)
        TellMainWindow(this, Texts().Text("txtLoftSent")
                                 .arg(ToQt(loft_.fancier), ToQt(TrimBlanks(loft_.name)), QString::number(outcome.pigeons)));
    // A loft refused before sending, or a port that broke, leaves the dialog open to be read.
    if (outcome.result == LoftSendResult::Confirmed || outcome.result == LoftSendResult::NotConfirmed) CloseDialog();
}

} // namespace plumet::ui
