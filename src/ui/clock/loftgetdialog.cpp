#include "ui/clock/loftgetdialog.h"

#include <QLabel>
#include <QProgressBar>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/catalogue.h"
#include "ui/app/mainwindow.h"
#include "ui/app/writelock.h"

namespace plumet::ui {
namespace {

// The read-back may have replaced the pigeons on show, or of a fancier further down.
void RefreshList(MainWindow* mainWindow) {
    switch (mainWindow->Mode()) {
    case ListMode::Clubs: mainWindow->VereineAnzeigen(); break;
    case ListMode::Fanciers: mainWindow->ZuechterAnzeigen(); break;
    case ListMode::Pigeons: mainWindow->TaubenAnzeigen(); break;
    case ListMode::RacePoints: mainWindow->RacePointsAnzeigen(); break;
    case ListMode::None: break;
    }
}

} // namespace

LoftGetDialog::LoftGetDialog(MainWindow* mainWindow)
    : TransferDialog("frmLoftGet", mainWindow, kLoftGetConstants, CancelBehaviour::ClosesAtOnce),
      mainWindow_(mainWindow), status_(MakeStatusLine("Label1")), progress_(MakeProgressBar()) {
    LayOut({status_, progress_});
    Load();
    if (!OpenPort()) return;
    SetStatus(status_, Texts().Text("txtPigeonGet"));
    StartAfterDelay([this] { Start(); });
}

void LoftGetDialog::Start() {
    Session().Run([this, &session = Session(), folder = App().programFolder, settings = App().settings,
                   sexes = CatalogueSexTexts(LoadCatalogue()), timeout = Constants().byteTimeout,
                   task = "Plumet: " + ToBytes(windowTitle()), wait = App().writeLockWait](ClockLink& link,
                                                                                           std::stop_token cancel) {
        const FolderWriteLock lock(folder, task, wait);
        if (!lock.Held()) {
            LoftGetOutcome refused;
            refused.result = LoftGetResult::Refused;
            refused.saved = SaveFailed(lock.Refusal());
            session.Post([this, refused] { Finish(refused); });
            return;
        }
        const LoftGetOutcome outcome = GetLoft(
            link, folder, settings, sexes, timeout,
            [this, &session](const TransferProgress& p) { session.Post([this, p] { SetProgress(progress_, p.done, p.total); }); },
            cancel);
        session.Post([this, outcome] { Finish(outcome); });
    });
}

void LoftGetDialog::Finish(const LoftGetOutcome& outcome) {
    if (outcome.result == LoftGetResult::Cancelled) return;
    if (!outcome.status.empty()) SetStatus(status_, Texts().Text(QString::fromStdString(outcome.status)));
    // A transfer that broke off leaves the dialog open with its status; nothing was written.
    if (outcome.result == LoftGetResult::CommunicationError || outcome.result == LoftGetResult::TooManyPigeons) return;
    if (outcome.message != 0) Texts().ShowNumbered(outcome.message);
    if (outcome.result == LoftGetResult::SaveFailed || outcome.result == LoftGetResult::Refused)
        ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(outcome.saved.error));
    if (mainWindow_) RefreshList(mainWindow_);
    if (outcome.result == LoftGetResult::Stored)
        TellMainWindow(this, Texts().Text("txtLoftGot")
                                 .arg(QString::asprintf("%03d.%03d", outcome.key.club, outcome.key.fancier))
                                 .arg(outcome.pigeons)
                                 .arg(ToQt(PathText(outcome.file))));
    CloseDialog();
}

} // namespace plumet::ui
