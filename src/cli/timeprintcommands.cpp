#include "cli/timeprintcommands.h"

#include <QLocale>
#include <chrono>
#include <optional>
#include <ostream>

#include "cli/cancelinterrupt.h"
#include "core/app/catalogue.h"
#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"
#include "core/clock/printrelay.h"
#include "core/clock/sendtime.h"
#include "core/clock/terminalprogramload.h"
#include "core/clock/transferface.h"
#include "serial/serialclocklink.h"

namespace plumet::cli {
namespace {

std::optional<long> PositiveNumber(const std::string& text) {
    const auto n = ParseInteger(text);
    if (!n || *n < 1 || *n > 1000000) return std::nullopt;
    return static_cast<long>(*n);
}

int Usage(CliContext& context, const std::string& command, const std::string& arguments) {
    context.err << "usage: plumet-cli [--folder DIR] [--port ID] " << command << " " << arguments << '\n';
    return kUsage;
}

bool OpenPort(CliContext& context, SerialClockLink& link, const TransferConstants& constants) {
    return context.settings.HasPort() && link.open(constants.SettingsFor(context.settings.comPort)) == LinkStatus::Ok;
}

std::string TwoDigits(int value) { return ZeroPadded(value, 2); }

} // namespace

int RunSendTime(CliContext& context, const std::vector<std::string>& args) {
    const std::optional<long> seconds = args[0] == "--seconds" ? PositiveNumber(args[1]) : std::nullopt;
    if (!seconds) return Usage(context, "send-time", "--seconds N");
    SerialClockLink link;
    if (!OpenPort(context, link, kSendTimeConstants))
        return context.Fail("frmSendTime.MsgBoxText1", std::string());
    InterruptCancel interrupt;
    const SystemTimeSource pc;
    const SendTimeOutcome outcome = RunTimeTransmitter(
        link, pc, QLocale::system().firstDayOfWeek() % 7, *seconds, kSendTimePoll,
        [&](const DateTime& now, bool sent) {
            if (!sent) return;
            context.out << TwoDigits(now.day) << '.' << TwoDigits(now.month) << '.' << now.year << ' '
                        << TwoDigits(now.hour) << ':' << TwoDigits(now.minute) << ':' << TwoDigits(now.second)
                        << std::endl;
        },
        interrupt.Token());
    link.close();
    if (outcome.link == LinkStatus::PortError)
        return context.Fail("frmSendTime.MsgBoxText1", std::string());
    if (context.progress)
        context.err << outcome.telegrams << " of " << outcome.seconds << " seconds sent to the clock\n";
    return kSuccess;
}

int RunPrintRelay(CliContext& context, const std::vector<std::string>& args) {
    const bool toFile = args[0] == "file";
    const std::optional<long> idle = args[1] == "--idle-exit" ? PositiveNumber(args[2]) : std::nullopt;
    if ((!toFile && args[0] != "screen") || !idle) return Usage(context, "print-relay", "file|screen --idle-exit S");
    const PrintTarget target = toFile ? PrintTarget::File : PrintTarget::Screen;
    const std::string form = toFile ? "frmPrintToFile" : "frmPrintToScreen";

    PrintFile file(context.folder);
    if (toFile && !context.LockForWriting("print-relay")) return kFailed;
    if (toFile) {
        const SaveResult replaceable = file.CheckReplaceable();
        if (!replaceable) return context.Fail({}, replaceable.error);
    }
    SerialClockLink link;
    if (!OpenPort(context, link, kPrintRelayConstants))
        return context.Fail(form + ".MsgBoxText1", std::string());
    InterruptCancel interrupt;
    PrintRelay relay(target);
    PrintRelayTimings timings;
    timings.idleExit = std::chrono::seconds(*idle);
    const std::string lineStatus = context.catalogue.LookupText("frmPrintToFile.txtSaveLine");
    const PrintRelayOutcome outcome = RunPrintRelay(
        link, relay, toFile ? &file : nullptr, timings,
        [&](const PrintRelayEffect& effect) {
            if (effect.kind == PrintRelayEffect::Kind::Show) {
                std::string text = Cp1252ToUtf8(effect.text);
                for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
                    text.erase(at, 1);
                context.out << text << std::flush;
            } else if (effect.kind == PrintRelayEffect::Kind::Line && context.progress) {
                context.err << '\r' << Cp1252ToUtf8(LineStatusText(lineStatus, effect.lines)) << std::flush;
            }
        },
        interrupt.Token());
    link.close();
    if (context.progress && toFile && outcome.lines > 0) context.err << '\n';
    if (outcome.end == PrintRelayEnd::SaveFailed) return context.Fail({}, outcome.error);
    if (outcome.end == PrintRelayEnd::PortError)
        return context.Fail(form + ".MsgBoxText1", std::string());
    return kSuccess;
}

int RunLoadFirmware(CliContext& context, const std::vector<std::string>& args) {
    const std::string& code = args[0];
    if (!IsTerminalProgramCode(code)) return Usage(context, "load-firmware", "C|11-14|21-24|31-34");
    SerialClockLink link;
    if (!OpenPort(context, link, kTerminalProgramLoadConstants))
        return context.Fail("frmTerminalprogramLoad.MsgBoxText1", std::string());
    InterruptCancel interrupt;
    const TerminalProgramLoadOutcome outcome = LoadTerminalProgram(
        link, context.folder, code, kTerminalProgramLoadConstants.byteTimeout,
        [&](const TransferProgress& p) {
            if (!context.progress) return;
            const std::string line = CatalogueText(p.what, {std::to_string(p.done), std::to_string(p.total)});
            context.err << '\r' << Cp1252ToUtf8(line) << "\x1B[K" << std::flush;
        },
        interrupt.Token());
    link.close();
    if (context.progress) context.err << '\n';
    if (outcome.result == LoadResult::Cancelled) return context.Fail("Cli.FirmwareCancelled");
    const TransferFace face = FaceOf(outcome.result);
    if (face.message == 0) return kSuccess;
    // The title says that the load failed; the text says why.
    if (outcome.refusal) context.Fail("frmTerminalprogramLoad.MsgBoxName" + std::to_string(face.message));
    return context.Fail("", TransferMessageText("frmTerminalprogramLoad", face.message, outcome.refusal));
}

} // namespace plumet::cli
