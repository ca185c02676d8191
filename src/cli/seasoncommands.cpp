#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <algorithm>
#include <ostream>

#include "cli/racecommands.h"
#include "common/localeforms.h"
#include "core/app/cp1252.h"
#include "core/race/seasonlayout.h"
#include "print/resultpages.h"

namespace plumet::cli {

int RunSeason(CliContext& context, const std::vector<std::string>& args) {
    const std::optional<OutputFiles> files = ParseOutputFiles(args);
    if (!files) {
        context.err << "usage: plumet-cli [--folder DIR] [--port ID] season " << kSeasonArguments << '\n';
        return kUsage;
    }
    const TextCatalogue& catalogue = context.catalogue;
    // An export is worked out from what the files hold once no other writer is at work.
    const bool exporting = files->csv || files->html;
    if (exporting && !context.LockForWriting("season")) return kFailed;
    const std::vector<SeasonFile> seasons = LoadSeasons(context.folder);
    const auto found = std::find_if(seasons.begin(), seasons.end(), [&](const SeasonFile& file) {
        return file.season && SameRaceName(file.season->name, args[0]);
    });
    if (found == seasons.end()) {
        // A damaged file of that name says what is wrong with it.
        for (const SeasonFile& file : seasons)
            if (!file.season && SameRaceName(NameOf(file.file.stem()), args[0]))
                return context.Fail("", SeasonProblemText(catalogue, context.folder, file.problem));
        return context.Fail("frmSeason.NoSuchSeason", {args[0]});
    }
    const SeasonStandings standings = CalculateSeason(context.folder, *found->season, seasons);
    // What could not be read is said, and the standings shown as far as they go end in failure.
    const std::vector<std::string> notWhole = SeasonNotWhole(catalogue, context.folder, standings);
    for (const std::string& note : notWhole) context.err << Cp1252ToUtf8(note) << '\n';
    const int shown = notWhole.empty() ? kSuccess : kFailed;

    const SeasonTexts texts = LoadSeasonTexts(catalogue);
    if (!files->Any()) {
        const SeasonTables tables = SeasonTablesOf(standings, texts, catalogue, ShortDate, LocaleSeparator());
        std::string out;
        for (const HeadLine& line : tables.head)
            out += line.left.label + " " + line.left.value + "\n" + line.right.label + " " + line.right.value + "\n";
        for (const SeasonTable* table : {&tables.races, &tables.pigeons, &tables.lofts}) {
            out += "\n" + table->title + "\n";
            for (const std::string& line : FixedWidthLines(*table)) out += line + "\n";
        }
        context.out << Cp1252ToUtf8(out);
        return shown;
    }
    std::vector<ExportTarget> exports;
    if (files->csv) exports.push_back({ExportFormat::Csv, Path(*files->csv)});
    if (files->html) exports.push_back({ExportFormat::Html, Path(*files->html)});
    if (!exports.empty()) {
        const SaveResult saved = ExportSeason(context.folder, standings, texts, catalogue, ShortDate, exports);
        if (!saved) return context.Fail("", saved.error);
    }
    if (!files->pdf) return shown;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return context.Fail("Cli.NoGraphics");
    SeasonTables tables = SeasonTablesOf(standings, texts, catalogue, ShortDate, LocaleSeparator());
    tables.notes = notWhole;
    if (!WritePagesPdf(QString::fromStdString(*files->pdf), QString::fromStdString(Cp1252ToUtf8(standings.season.name)),
                           SeasonPages(tables, texts)))
        return context.Fail("Cli.PdfNotWritten", {*files->pdf});
    return shown;
}

} // namespace plumet::cli
