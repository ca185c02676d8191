#include "cli/racecommands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <optional>
#include <ostream>

#include "common/catalogues.h"
#include "common/localeforms.h"
#include "common/textcodec.h"
#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"
#include "core/race/checksheet.h"
#include "core/race/decimals.h"
#include "core/race/geodesic.h"
#include "core/race/racecalc.h"
#include "core/race/racelog.h"
#include "core/race/resultexport.h"
#include "core/race/resultlayout.h"
#include "core/race/season.h"
#include "print/resultpages.h"

namespace plumet::cli {
namespace {

std::optional<std::size_t> RaceNumber(const RaceList& races, const std::string& name) {
    for (std::size_t i = 0; i < races.Count(); ++i)
        if (TrimmedRaceName(races.races[i]) == TrimBlanks(name)) return i + 1;
    return std::nullopt;
}

int NoSuchRace(const CliContext& context, const RaceList& races, const std::string& name) {
    // The race may stand behind the line where reading stopped.
    if (races.outcome == LoadOutcome::Unreadable) return context.Fail("", RaceListProblemText(races));
    return context.Fail("Cli.NoSuchRaceName", {name});
}

// The head, the column heads and the lines of frmRaceResultsShow, with the prizes of the race's
// season; what the window says below the list about the season goes to standard error.
void PrintResultWindow(CliContext& context, const Race& race, const std::vector<ResultLine>& lines) {
    const auto text = [&](const std::string& key) { return context.catalogue.LookupText("frmRaceResultsShow." + key); };
    const RaceSeason season = SeasonOfRace(context.folder, race);
    const RacePrizes* prizes = season.Prizes();
    for (const std::string& warning : RaceSeasonWarnings(context.catalogue, context.folder, season))
        context.err << Cp1252ToUtf8(warning) << '\n';
    const bool miles = race.distanceUnit == kRaceInMiles;
    const auto values = ResultHeadValues(race, RaceShortDate(race), text("frmRaceResultsShowNoOffTime"));
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        out += text("Label" + std::to_string(2 * i + 1) + ".Caption") + " " + values[i];
        if (i == 6) out += " " + text(miles ? "Label19.Caption(Miles)" : "Label19.Caption(Km)");
        out += "\n";
    }
    if (prizes) out += text("Label22.Caption") + " " + RaceSeasonText(context.catalogue, *prizes) + "\n";
    out += text("lblState.Caption") + " " + RaceStateText(context.folder, race) + "\n";
    const ResultWindowTexts heads = LoadResultWindowTexts(context.catalogue, race.distanceUnit);
    for (const std::string& head : ResultWindowHeads(heads.columns, heads.units, heads.PrizeHeads(prizes))) out += "\n" + head;
    out += "\n";
    for (const std::string& line : ResultWindowLines(lines, race.distanceUnit, LocaleSeparator(), prizes,
                                                     context.catalogue.LookupText("TxtPrnPrizeMark"),
                                                     ResultWindowSpreadOf(heads.columns, heads.units, heads.PrizeHeads(prizes))))
        out += line + "\n";
    context.out << Cp1252ToUtf8(out);
}

} // namespace

int RunDistance(CliContext& context, const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < 4; i += 2)
        if (!IsPositionText(args[i], args[i + 1]))
            return context.Fail("Cli.NotAPosition", {args[i], args[i + 1]});
    const double km = GeodesicDistanceKm(args[0], args[1], args[2], args[3]);
    context.out << FormatDecimal(km, 1, 4, '.') << '\n';
    return kSuccess;
}

namespace {

// "--amend REASON" or "--by NAME" after the race's name: the author of a log entry, the text
// converted as typed; nothing on a usage error.
std::optional<RaceLogAuthor> AuthorOf(const std::vector<std::string>& args, const std::string& option) {
    RaceLogAuthor author{{}, {}, SystemTimeSource().Now()};
    if (args.size() == 1) return author;
    if (args.size() != 3 || args[1] != option) return std::nullopt;
    (option == "--amend" ? author.reason : author.who) = ArgumentBytes(args[2]);
    return author;
}

int Usage(CliContext& context, const char* command, const char* arguments) {
    context.err << "usage: plumet-cli [--folder DIR] [--port ID] " << command << ' ' << arguments << '\n';
    return kUsage;
}

} // namespace

int RunCalculate(CliContext& context, const std::vector<std::string>& args) {
    const std::optional<RaceLogAuthor> author = AuthorOf(args, "--amend");
    if (!author) return Usage(context, "calculate", kCalculateArguments);
    RaceList races = LoadRaces(context.folder);
    // A race list not read whole may lack the race, or be saved over with a part of it.
    if (races.outcome == LoadOutcome::Unreadable)
        return context.Fail("", CatalogueText("frmRaceSelect.txtNotCalculated", {RaceListProblemText(races)}));
    const auto number = RaceNumber(races, args[0]);
    if (!number) return NoSuchRace(context, races, args[0]);
    DistanceTable distances;
    LoadDistanceTable(distances, context.folder, races.races[*number - 1].clubNumber);
    const RaceCalcOutcome outcome = CalculateRace(races, *number, distances, context.folder, context.settings,
                                                  LocaleSeparator(), args.size() > 1 ? &*author : nullptr);
    for (const std::string& warning : ReadingEndedWarnings(context.catalogue, context.folder, outcome.readingEnded))
        context.err << Cp1252ToUtf8(warning) << '\n';
    if (!outcome.racesSaved.ok) return context.Fail("", outcome.racesSaved.error);
    if (!outcome.resultSaved.ok) return context.Fail("", outcome.resultSaved.error);
    const Race& race = races.races[*number - 1];
    if (const std::string why = NoArrivalsText(outcome, race); !why.empty()) context.err << Cp1252ToUtf8(why) << '\n';
    PrintResultWindow(context, race, ReadResultFile(context.folder, race.name).lines);
    return kSuccess;
}

int RunFinalise(CliContext& context, const std::vector<std::string>& args) {
    const std::optional<RaceLogAuthor> author = AuthorOf(args, "--by");
    if (!author) return Usage(context, "finalise", kFinaliseArguments);
    const RaceList races = LoadRaces(context.folder);
    const auto number = RaceNumber(races, args[0]);
    if (!number) return NoSuchRace(context, races, args[0]);
    const Race& race = races.races[*number - 1];
    if (const SaveResult saved = FinaliseRace(context.folder, race, *author); !saved) return context.Fail("", saved.error);
    context.out << Cp1252ToUtf8(CatalogueText("Races.Finalised", {TrimmedRaceName(race)})) << '\n';
    return kSuccess;
}

int RunLog(CliContext& context, const std::vector<std::string>& args) {
    const RaceList races = LoadRaces(context.folder);
    const auto number = RaceNumber(races, args[0]);
    if (!number) return NoSuchRace(context, races, args[0]);
    const Race& race = races.races[*number - 1];
    const RaceLog log = ReadRaceLog(context.folder, race.name);
    if (!log.Sound()) return context.Fail("", CannotReadText(log.file, log.problem));
    context.out << Cp1252ToUtf8(RaceStateText(log)) << '\n';
    if (log.status == ReadStatus::Missing) return kSuccess;
    for (const std::string& line : SplitLines(log.bytes)) context.out << Cp1252ToUtf8(line) << '\n';
    return kSuccess;
}

std::optional<OutputFiles> ParseOutputFiles(const std::vector<std::string>& args) {
    OutputFiles files;
    for (std::size_t i = 1; i < args.size(); i += 2) {
        std::optional<std::string>* option = args[i] == "--pdf"    ? &files.pdf
                                             : args[i] == "--csv"  ? &files.csv
                                             : args[i] == "--html" ? &files.html
                                                                   : nullptr;
        if (!option || option->has_value() || i + 1 >= args.size()) return std::nullopt;
        *option = args[i + 1];
    }
    return files;
}

int RunResults(CliContext& context, const std::vector<std::string>& args) {
    const std::optional<OutputFiles> files = ParseOutputFiles(args);
    if (!files) {
        context.err << "usage: plumet-cli [--folder DIR] [--port ID] results " << kResultsArguments << '\n';
        return kUsage;
    }
    const auto& [pdf, csv, html] = *files;
    const RaceList races = LoadRaces(context.folder);
    if (races.outcome == LoadOutcome::Unreadable) return context.Fail("", RaceListProblemText(races));
    const auto number = RaceNumber(races, args[0]);
    if (!number) return NoSuchRace(context, races, args[0]);
    const Race& race = races.races[*number - 1];
    const ResultFile result = ReadResultFile(context.folder, race.name);
    if (result.status == ReadStatus::Missing)
        return context.Fail("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound1", "There is no result for this race.");
    const std::string unreadable = CannotReadText(ResultFilePath(context.folder, race.name), result.problem);
    if (result.status != ReadStatus::Ok) return context.Fail("", unreadable);
    if (!result.whole) context.err << Cp1252ToUtf8(unreadable) << '\n';
    // A list shown from a file that is not whole, or without the prizes of a season file that
    // cannot be read, is shown as far as it goes and ends in failure.
    const RaceSeason season = SeasonOfRace(context.folder, race);
    const std::vector<std::string> notes = ResultListNotes(context.catalogue, context.folder, race, result, season);
    const int shown = notes.empty() ? kSuccess : kFailed;
    if (!pdf && !csv && !html) {
        PrintResultWindow(context, race, result.lines);
        return shown;
    }
    std::vector<ExportTarget> exports;
    if (csv) exports.push_back({ExportFormat::Csv, Path(*csv)});
    if (html) exports.push_back({ExportFormat::Html, Path(*html)});
    if (!exports.empty()) {
        // Writing the export files, it is a writer like any other.
        if (!context.LockForWriting("results")) return kFailed;
        const ExportOutcome outcome =
            ExportResults(context.folder, race, LoadExportTexts(context.catalogue), RaceShortDate(race), exports);
        if (outcome.status == ExportStatus::NoResultFile)
            return context.Fail("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound1", "There is no result for this race.");
        if (outcome.status == ExportStatus::NotWritten) return context.Fail("", outcome.error);
        for (const std::string& note : outcome.notes)
            if (note != unreadable) context.err << Cp1252ToUtf8(note) << '\n';
    }
    if (!pdf) return shown;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return context.Fail("Cli.NoGraphics");
    if (!WriteResultPdf(QString::fromStdString(*pdf), race, result.lines, 1, PageCount(result.lines.size()),
                        season.Prizes(), notes))
        return context.Fail("Cli.PdfNotWritten", {*pdf});
    return shown;
}

int RunCheck(CliContext& context, const std::vector<std::string>& args) {
    std::vector<std::string> rest{args[0]};
    bool strict = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--strict") strict = true;
        else rest.push_back(args[i]);
    }
    const std::optional<OutputFiles> files = ParseOutputFiles(rest);
    if (!files || files->pdf || rest.size() + (strict ? 1 : 0) != args.size()) {
        context.err << "usage: plumet-cli [--folder DIR] [--port ID] check " << kCheckArguments << '\n';
        return kUsage;
    }
    const RaceList races = LoadRaces(context.folder);
    if (races.outcome == LoadOutcome::Unreadable) return context.Fail("", RaceListProblemText(races));
    const auto number = RaceNumber(races, args[0]);
    if (!number) return NoSuchRace(context, races, args[0]);
    const Race& race = races.races[*number - 1];
    std::vector<ExportTarget> exports;
    if (files->csv) exports.push_back({ExportFormat::Csv, Path(*files->csv)});
    if (files->html) exports.push_back({ExportFormat::Html, Path(*files->html)});
    // Writing the export files, it is a writer like any other, and reads what they hold then.
    if (!exports.empty() && !context.LockForWriting("check")) return kFailed;
    DistanceTable distances;
    LoadDistanceTable(distances, context.folder, race.clubNumber);
    const CheckSheet sheet = CheckSheetOf(context.folder, context.settings, race, distances, LocaleSeparator());
    if (!sheet.refusal.empty()) return context.Fail("", sheet.refusal);
    if (exports.empty()) {
        std::string out;
        for (const std::string& line : CheckSheetLines(sheet)) out += line + "\n";
        context.out << Cp1252ToUtf8(out);
    } else {
        const SaveResult saved = ExportCheckSheet(context.folder, race, sheet, LoadPrintTexts(context.catalogue),
                                                  RaceShortDate(race), exports);
        if (!saved) return context.Fail("", saved.error);
    }
    if (strict && !sheet.flags.empty())
        return context.Fail("Cli.CheckFlagged", {TrimmedRaceName(race), std::to_string(sheet.flags.size())});
    return kSuccess;
}

} // namespace plumet::cli
