#include "cli/clockcommands.h"

#include "cli/cancelinterrupt.h"

#include <chrono>
#include <ostream>
#include <stop_token>

#include "core/app/cp1252.h"
#include "core/app/timesource.h"
#include "core/clock/loftget.h"
#include "core/clock/loftsend.h"
#include "core/clock/racepointssend.h"
#include "core/clock/transferface.h"
#include "serial/serialclocklink.h"

namespace plumet::cli {
namespace {


// One line on standard error, rewritten in place, while it is a terminal.
class ProgressLine {
public:
    ProgressLine(const CliContext& context, std::string label) : context_(context), label_(std::move(label)) {}
    ~ProgressLine() {
        if (shown_) context_.err << '\n' << std::flush;
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(std::size_t done, std::size_t total, const std::string& detail = {}) {
        if (!context_.progress) return;
        context_.err << '\r' << label_ << (label_.empty() ? "" : " ") << done << '/' << total;
        if (!detail.empty()) context_.err << "  " << Cp1252ToUtf8(detail);
        context_.err << "\x1B[K" << std::flush; // clear what a longer line left behind
        shown_ = true;
    }

private:
    const CliContext& context_;
    std::string label_;
    bool shown_ = false;
};

std::string Text(const std::string& key) { return Cp1252ToUtf8(CatalogueText(key)); }

bool OpenClock(const CliContext& context, SerialClockLink& link, const TransferConstants& constants) {
    return context.settings.HasPort() && link.open(constants.SettingsFor(context.settings.comPort)) == LinkStatus::Ok;
}

// What the dialog `form` would show for an outcome: its status line, or its message, and
// then why the send was refused. Success prints the status on standard output.
int Report(CliContext& context, const std::string& form, const TransferFace& face, bool cancelled,
           const Refusal& refusal = {}) {
    if (cancelled) return context.Fail("Cli.Cancelled");
    const std::string status = *face.status == '\0' ? std::string() : form + "." + face.status;
    if (refusal) {
        context.Fail(status.empty() ? form + ".MsgBoxName" + std::to_string(face.message) : status);
        return context.Fail("", RefusalText(refusal));
    }
    if (face.message != 0) return context.Fail(form + ".MsgBoxText" + std::to_string(face.message));
    if (face.status == std::string_view("txtCommunicationOk")) {
        context.out << Text(status) << '\n';
        return kSuccess;
    }
    return context.Fail(status);
}

} // namespace

int RunSendLoft(CliContext& context, const std::vector<std::string>& args) {
    std::string unreadable;
    const std::optional<LoftToSend> loft =
        RegisteredLoft(context.folder, context.settings, args[0], args[1], &unreadable);
    if (!unreadable.empty()) return context.Fail("", unreadable);
    if (!loft) return context.Fail("Cli.NoSuchFancier", {args[1], args[0]});
    SerialClockLink link;
    if (!OpenClock(context, link, kLoftSendConstants)) return context.Fail("frmLoftSend.MsgBoxText1");
    const InterruptCancel cancel;
    LoftSendOutcome outcome;
    {
        ProgressLine progress(context, Text("frmLoftSend.txtPigeonLoad"));
        const SystemTimeSource clock;
        outcome = SendLoft(
            link, context.folder, *loft, CatalogueSexTexts(context.catalogue), clock, kLoftSendConstants.byteTimeout,
            [&progress](const TransferProgress& p) { progress.Show(p.done, p.total); }, cancel.Token());
    }
    link.close();
    return Report(context, "frmLoftSend", FaceOf(outcome.result), outcome.result == LoftSendResult::Cancelled,
                  outcome.refusal);
}

int RunGetLoft(CliContext& context, const std::vector<std::string>&) {
    SerialClockLink link;
    if (!OpenClock(context, link, kLoftGetConstants)) return context.Fail("frmLoftGet.MsgBoxText1");
    const InterruptCancel cancel;
    LoftGetOutcome outcome;
    {
        ProgressLine progress(context, Text("frmLoftGet.txtPigeonGet"));
        outcome = GetLoft(
            link, context.folder, context.settings, CatalogueSexTexts(context.catalogue), kLoftGetConstants.byteTimeout,
            [&progress](const TransferProgress& p) { progress.Show(p.done, p.total); }, cancel.Token());
    }
    link.close();
    if (outcome.result == LoftGetResult::SaveFailed || outcome.result == LoftGetResult::Refused)
        return context.Fail("", outcome.saved.error);
    return Report(context, "frmLoftGet", {outcome.status.c_str(), outcome.message},
                  outcome.result == LoftGetResult::Cancelled);
}

int RunSendPoints(CliContext& context, const std::vector<std::string>&) {
    SerialClockLink link;
    if (!OpenClock(context, link, kRacePointsSendConstants))
        return context.Fail("frmRacePointsSend.MsgBoxText1");
    const InterruptCancel cancel;
    RacePointsSendOutcome outcome;
    {
        ProgressLine progress(context, "");
        outcome = SendRacePoints(
            link, context.folder, kRacePointsSendConstants.byteTimeout,
            [&progress](const TransferProgress& p) { progress.Show(p.done, p.total, p.what); },
            cancel.Token());
    }
    link.close();
    return Report(context, "frmRacePointsSend", FaceOf(outcome.result),
                  outcome.result == RacePointsSendResult::Cancelled, outcome.refusal);
}

} // namespace plumet::cli
