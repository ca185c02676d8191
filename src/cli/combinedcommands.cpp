#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <ostream>

#include "cli/racecommands.h"
#include "common/localeforms.h"
#include "core/app/cp1252.h"
#include "core/race/combinedlist.h"
#include "print/resultpages.h"

namespace plumet::cli {
namespace {

// The head, the column heads and the lines as the combined list's window shows them.
void PrintCombinedWindow(CliContext& context, const CombinedResult& result, const RacePrizes* prizes) {
    const auto text = [&](const std::string& key) { return context.catalogue.LookupText("frmRaceResultsShow." + key); };
    const Race& head = result.head;
    const bool miles = head.distanceUnit == kRaceInMiles;
    const auto values = ResultHeadValues(head, RaceShortDate(head), text("frmRaceResultsShowNoOffTime"));
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        out += text("Label" + std::to_string(2 * i + 1) + ".Caption") + " " + values[i];
        if (i == 6) out += " " + text(miles ? "Label19.Caption(Miles)" : "Label19.Caption(Km)");
        out += "\n";
    }
    if (prizes) out += text("Label22.Caption") + " " + RaceSeasonText(context.catalogue, *prizes) + "\n";
    out += text("lblState.Caption") + " " + result.state + "\n";
    for (const std::string& race : CombinedRaceStates(context.catalogue, result)) out += "  " + race + "\n";
    const ResultWindowTexts texts = LoadResultWindowTexts(context.catalogue, head.distanceUnit);
    const std::string clubHead = context.catalogue.LookupText("Combined.ClubHead");
    for (const std::string& line : CombinedWindowHeads(clubHead, texts.columns, texts.units, texts.PrizeHeads(prizes)))
        out += "\n" + line;
    out += "\n";
    for (const std::string& line : CombinedWindowLines(result, LocaleSeparator(), prizes,
                                                       context.catalogue.LookupText("TxtPrnPrizeMark"),
                                                       ResultWindowSpreadOf(texts.columns, texts.units, texts.PrizeHeads(prizes)), clubHead))
        out += line + "\n";
    context.out << Cp1252ToUtf8(out);
}

} // namespace

int RunCombined(CliContext& context, const std::vector<std::string>& args) {
    const std::optional<OutputFiles> files = ParseOutputFiles(args);
    if (!files) {
        context.err << "usage: plumet-cli [--folder DIR] [--port ID] combined " << kCombinedArguments << '\n';
        return kUsage;
    }
    // An export is worked out from what the files hold once no other writer is at work.
    if ((files->csv || files->html) && !context.LockForWriting("combined")) return kFailed;
    const std::vector<CombinedFile> lists = LoadCombinedLists(context.folder);
    const CombinedFile* found = FindCombinedList(lists, args[0]);
    if (!found) {
        // A damaged file of that name says what is wrong with it.
        for (const CombinedFile& file : lists)
            if (!file.list && SameRaceName(NameOf(file.file.stem()), args[0])) return context.Fail("", file.problem);
        return context.Fail("Cli.NoSuchCombinedList", {args[0]});
    }
    const CombinedResult result = CalculateCombined(context.folder, *found->list, lists, LoadRaces(context.folder));
    const RaceSeason season = SeasonOfCombined(context.folder, result);
    for (const std::string& warning : RaceSeasonWarnings(context.catalogue, context.folder, season))
        context.err << Cp1252ToUtf8(warning) << '\n';
    const std::vector<std::string> notes = CombinedNotes(context.catalogue, result);
    for (const std::string& note : notes) context.err << Cp1252ToUtf8(note) << '\n';
    if (!files->Any()) {
        PrintCombinedWindow(context, result, season.Prizes());
        return notes.empty() ? kSuccess : kFailed;
    }
    // No federation list goes out with a club missing.
    if (!notes.empty())
        return context.Fail("", FillPlaceholders(context.catalogue.LookupText("Combined.Incomplete"),
                                                 {result.list.name, notes.front()}));
    std::vector<ExportTarget> exports;
    if (files->csv) exports.push_back({ExportFormat::Csv, Path(*files->csv)});
    if (files->html) exports.push_back({ExportFormat::Html, Path(*files->html)});
    if (!exports.empty()) {
        const ExportOutcome outcome = ExportCombined(context.folder, result, LoadExportTexts(context.catalogue),
                                                     RaceShortDate(result.head), exports, season.Prizes());
        if (outcome.status != ExportStatus::Written) return context.Fail("", outcome.error);
    }
    if (!files->pdf) return kSuccess;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return context.Fail("Cli.NoGraphics");
    if (!WritePagesPdf(QString::fromStdString(*files->pdf), QString::fromStdString(Cp1252ToUtf8(result.list.name)),
                       CombinedPagesFor(result, season.Prizes())))
        return context.Fail("Cli.PdfNotWritten", {*files->pdf});
    return kSuccess;
}

} // namespace plumet::cli
