#include "cli/readoutcommands.h"

#include <optional>
#include <ostream>

#include "core/app/cp1252.h"
#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"
#include "core/app/timesource.h"
#include "core/clock/racedataget.h"
#include "core/clock/readoutfile.h"
#include "core/race/xmlexport.h"
#include "serial/serialclocklink.h"

namespace plumet::cli {
namespace {

constexpr const char* kReadoutForm = "frmRacedataGet";
constexpr const char* kExportForm = "frmRaceDataExportToXML";

bool IsTwoDigitArgument(const std::string& text) { return !text.empty() && text.size() <= 2 && IsAllDigits(text); }

int Usage(CliContext& context, const std::string& command, const std::string& arguments) {
    context.err << "usage: plumet-cli [--folder DIR] [--port ID] " << command << " " << arguments << '\n';
    return kUsage;
}

// The value after `option` among the arguments after the first `fixed`; nothing when absent.
// Sets `bad` when the option is unknown or has no value.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t fixed, const std::string& option,
                                       bool& bad) {
    std::optional<std::string> value;
    for (std::size_t i = fixed; i < args.size(); i += 2) {
        if (args[i] != option || i + 1 >= args.size()) {
            bad = true;
            return std::nullopt;
        }
        value = args[i + 1];
    }
    return value;
}

std::string MessageKey(int n) { return std::string(kReadoutForm) + ".MsgBoxText" + std::to_string(n); }

std::string StatusText(const CliContext& context, std::string_view statusKey) {
    return Cp1252ToUtf8(context.catalogue.LookupText(std::string(kReadoutForm) + "." + std::string(statusKey)));
}

// Week and point as the read-out dialog takes them after leaving its fields.
ReadoutFields ReadoutArguments(const std::vector<std::string>& args, const DateTime& today) {
    ReadoutFields fields = ReadoutFieldsFor(today);
    fields.week = args[0];
    fields.point = args[1];
    return ReadoutFieldsOnLeave(fields, today);
}

} // namespace

int RunReadout(CliContext& context, const std::vector<std::string>& args) {
    const std::string arguments = "WEEK POINT [--date DD.MM.YY]";
    bool bad = !IsTwoDigitArgument(args[0]) || !IsTwoDigitArgument(args[1]);
    const std::optional<std::string> date = OptionValue(args, 2, "--date", bad);
    const DateTime today = SystemTimeSource().Now();
    ReadoutFields fields = ReadoutArguments(args, today);
    if (date) {
        const auto d = SplitDottedDate(*date);
        if (!d || d->year.size() != 2)
            bad = true;
        else
            fields = ReadoutFieldsOnLeave({fields.point, fields.week, std::string(d->day), std::string(d->month),
                                           std::string(d->year)},
                                          today);
    }
    if (bad) return Usage(context, "readout", arguments);

    const std::string notAvailable = "The port cannot be opened.";
    if (!context.settings.HasPort()) return context.Fail(MessageKey(kRacedataPortNotAvailable), notAvailable);
    SerialClockLink link;
    if (link.open(kRacedataGetConstants.SettingsFor(context.settings.comPort)) != LinkStatus::Ok)
        return context.Fail(MessageKey(kRacedataPortNotAvailable), notAvailable);

    const RacedataTarget target{context.folder, context.settings, fields, CatalogueSexTexts(context.catalogue)};
    const TransferProgressSink progress = [&context](const TransferProgress& p) {
        if (context.progress) context.err << StatusText(context, p.what) << std::endl;
    };
    const RacedataOutcome outcome = GetRacedata(link, target, kRacedataGetConstants.byteTimeout, progress);
    link.close();
    if (outcome.result == RacedataResult::Saved) {
        for (const std::string& line : outcome.appended) context.out << Cp1252ToUtf8(line) << '\n';
        return kSuccess;
    }
    if (outcome.result == RacedataResult::Refused) return context.Fail("", outcome.error);
    if (outcome.message == kRacedataSaveFailed) {
        context.Fail(MessageKey(kRacedataSaveFailed), "The read-out file cannot be written.");
        return context.Fail("", outcome.error);
    }
    if (outcome.message != 0) return context.Fail(MessageKey(outcome.message), "The clock's data were refused.");
    return context.Fail(std::string(kReadoutForm) + ".txtCommunicationError", "Transfer failed.");
}

int RunStoreReadout(CliContext& context, const std::vector<std::string>& args) {
    if (!IsTwoDigitArgument(args[0]) || !IsTwoDigitArgument(args[1]))
        return Usage(context, "store-readout", "WEEK POINT DIR");
    const ReadoutFields fields = ReadoutArguments(args, SystemTimeSource().Now());
    const std::string name = ReadoutFileName(context.settings, fields.week, fields.point);
    const Path path = ReadoutFilePath(context.folder, context.settings, fields.week, fields.point);
    const ReadoutFile file = LoadReadoutFile(path);
    if (file.status == ReadStatus::Missing) return context.Fail("Cli.NoReadoutFile", {name});
    if (file.status != ReadStatus::Ok) return context.Fail("", CannotReadText(path, file.problem));
    const Path folder = args[2];
    const SaveResult saved = StoreReadoutCopy(file.lines, folder, name);
    if (!saved) {
        context.Fail(MessageKey(kRacedataCopyFailed), "The copy cannot be written.");
        return context.Fail("", saved.error);
    }
    context.out << ResolvePath(folder, name).string() << '\n';
    return kSuccess;
}

int RunExportXml(CliContext& context, const std::vector<std::string>& args) {
    bool bad = !IsTwoDigitArgument(args[0]) || !IsTwoDigitArgument(args[1]);
    const std::optional<std::string> out = OptionValue(args, 2, "--out", bad);
    if (bad) return Usage(context, "export-xml", "WEEK POINT [--out DIR]");
    const std::string week = ZeroFilledOnLeave(args[0], 2);
    const std::string point = ZeroFilledOnLeave(args[1], 2);
    const auto source = XmlExportSource(context.folder, context.settings, week, point);
    if (!source)
        return context.Fail(std::string(kExportForm) + ".MsgBoxText" + std::to_string(kXmlNoSourceFile),
                            "There is no read-out file for this week and race point.");
    const XmlExportOutcome outcome =
        ExportReadoutToXml(*source, out ? Path(*out) : std::filesystem::current_path(), LocalUtcOffsetMinutes);
    if (!outcome.saved) return context.Fail("", outcome.saved.error);
    context.out << outcome.output.string() << '\n';
    return kSuccess;
}

} // namespace plumet::cli
