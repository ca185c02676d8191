#include "core/race/resultexport.h"

#include <cctype>
#include <string_view>

#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"
#include "core/race/racelog.h"
#include "core/race/season.h"

namespace plumet {
namespace {

// Files for other software get a "." whatever the user's locale says.
constexpr char kPoint = '.';

// The position, everything from the flight time to the speed and the ace points are figures,
// set flush right.
std::vector<bool> FigureColumns(int distanceUnit, bool withPrizes) {
    std::vector<bool> figures{true, false, false, false, true, true, true};
    if (distanceUnit == kRaceInMiles) figures.push_back(true);
    if (withPrizes) figures.insert(figures.end(), {false, true});
    figures.push_back(false);
    return figures;
}

// A sign, then digits with "." or ":" between them: the figures the program writes.
bool IsPlainNumber(const std::string& text) {
    const std::size_t start = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (start >= text.size() || !std::isdigit(static_cast<unsigned char>(text[start]))) return false;
    return text.find_first_not_of("0123456789.:", start) == std::string::npos;
}


// Screen and print: the list fits an A4 sheet, its head row repeats on every printed page.
constexpr const char* kStyle = R"(body { font-family: Arial, Helvetica, sans-serif; margin: 1.5em; color: #000; }
h1 { font-size: 1.4em; margin: 0 0 0.6em 0; }
table.head th { text-align: left; padding: 0.1em 0.8em 0.1em 0; }
table.head td { padding: 0.1em 2.5em 0.1em 0; }
table.results { border-collapse: collapse; margin: 1em 0; }
table.results th, table.results td { padding: 0.25em 0.6em; border-bottom: 1px solid #bbb; text-align: left; }
table.results td { white-space: pre; }
table.results th { border-bottom: 2px solid #000; vertical-align: bottom; }
table.results .figure { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
table.results tbody tr:nth-child(even) { background: #f2f2f2; }
@media print {
  @page { size: A4 portrait; margin: 15mm; }
  body { margin: 0; font-size: 9pt; }
  table.results { width: 100%; }
  table.results thead { display: table-header-group; }
  table.results tr { page-break-inside: avoid; }
  table.results tbody tr:nth-child(even) { background: none; }
}
)";

std::string HtmlCell(const char* tag, const std::string& text, bool figure) {
    return std::string("<") + tag + (figure ? " class=\"figure\"" : "") + ">" + HtmlEscaped(text) + "</" + tag + ">";
}

} // namespace

std::string CsvCell(const std::string& text, bool figure) {
    // Spreadsheets run a cell that starts so as a formula; names come from other
    // installations' exchange files too.
    const bool formula = !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos &&
                         !(figure && IsPlainNumber(text));
    const std::string cell = formula ? "'" + text : text;
    // ";" too: it separates the cells where "," is the decimal mark.
    if (cell.find_first_of(",;\"\r\n") == std::string::npos) return cell;
    std::string quoted = "\"";
    for (const char c : cell) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string CsvRecord(const std::vector<std::string>& fields, const std::vector<bool>& figures) {
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i)
        record += (i ? "," : "") + CsvCell(fields[i], i < figures.size() && figures[i]);
    return record + "\r\n";
}

std::string HtmlEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string HtmlRow(const char* tag, const std::vector<std::string>& cells, const std::vector<bool>& figures) {
    std::string row = "<tr>";
    for (std::size_t i = 0; i < cells.size(); ++i) row += HtmlCell(tag, cells[i], i < figures.size() && figures[i]);
    return row + "</tr>\n";
}

std::string HtmlTable(const std::vector<std::string>& heads, const std::vector<std::vector<std::string>>& rows,
                      const std::vector<bool>& figures) {
    std::string html = "<table class=\"results\">\n<thead>\n" + HtmlRow("th", heads, figures) + "</thead>\n<tbody>\n";
    for (const auto& row : rows) html += HtmlRow("td", row, figures);
    return html + "</tbody>\n</table>\n";
}

std::string HtmlPageStart(const std::string& title) {
    return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\"/>\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n<title>" +
           HtmlEscaped(title) + "</title>\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n";
}

std::string HtmlHeadTable(const std::vector<HeadLine>& lines) {
    std::string html = "<table class=\"head\">\n";
    for (const HeadLine& line : lines) {
        html += "<tr><th>" + HtmlEscaped(line.left.label) + "</th><td>" + HtmlEscaped(TrimBlanks(line.left.value)) + "</td>";
        html += "<th>" + HtmlEscaped(line.right.label) + "</th><td>" + HtmlEscaped(TrimBlanks(line.right.value)) + "</td></tr>\n";
    }
    return html + "</table>\n";
}

ExportTexts LoadExportTexts(const TextCatalogue& catalogue) {
    const auto window = [&](const std::string& key) { return catalogue.LookupText("frmRaceResultsShow." + key); };
    ExportTexts texts;
    texts.print = LoadPrintTexts(catalogue);
    for (std::size_t i = 0; i < texts.columns.size(); ++i)
        texts.columns[i] = window("frmRaceResultsShowTabCol" + std::to_string(i + 1));
    texts.inKm = window("frmRaceResultsShowTabCol9a");
    texts.inMetresPerMinute = window("frmRaceResultsShowTabCol10a");
    texts.inMiles = window("ExportMiles");
    texts.yards = window("ExportYards");
    texts.inYardsPerMinute = window("frmRaceResultsShowTabCol10b");
    texts.catalogue = catalogue;
    texts.prizeHead = window("frmRaceResultsShowTabPrize");
    texts.pointsHead = window("frmRaceResultsShowTabAcePoints");
    texts.prizeMark = texts.print.prizeMark;
    texts.stateHead = catalogue.LookupText("RaceState.Head");
    return texts;
}

std::vector<std::string> ExportHeads(const ExportTexts& texts, int distanceUnit, bool withPrizes) {
    const auto& c = texts.columns;
    const auto withUnit = [](const std::string& head, const std::string& unit) {
        return TrimBlanks(head) + (unit.empty() ? "" : " " + TrimBlanks(unit));
    };
    std::vector<std::string> heads(c.begin(), c.begin() + 5);
    if (distanceUnit == kRaceInMiles) {
        heads.push_back(withUnit(c[5], texts.inMiles));
        heads.push_back(TrimBlanks(texts.yards));
        heads.push_back(withUnit(c[6], texts.inYardsPerMinute));
    } else {
        heads.push_back(withUnit(c[5], texts.inKm));
        heads.push_back(withUnit(c[6], texts.inMetresPerMinute));
    }
    if (withPrizes) heads.insert(heads.end(), {texts.prizeHead, texts.pointsHead});
    heads.push_back(c[7]);
    for (std::string& head : heads) head = TrimBlanks(head);
    return heads;
}

std::vector<std::string> ExportCells(const ResultRow& row, int distanceUnit, bool withPrizes,
                                     const std::string& prizeMark) {
    std::vector<std::string> cells{std::to_string(row.position), row.fancierName, row.ringText, row.colour,
                                   row.flightTime, row.distance};
    if (distanceUnit == kRaceInMiles) cells.push_back(row.yards);
    cells.push_back(row.speed);
    if (withPrizes) cells.insert(cells.end(), {row.prize ? TrimBlanks(prizeMark) : std::string(), row.acePoints});
    cells.push_back(row.remark);
    return cells;
}

std::vector<bool> ExportFigureColumns(int distanceUnit, bool withPrizes) { return FigureColumns(distanceUnit, withPrizes); }

std::string ResultCsv(const Race& race, const std::vector<ResultLine>& lines, const ExportTexts& texts,
                      const RacePrizes* prizes, const std::string& state) {
    // A row read alone still tells whether its list may change.
    std::vector<std::string> heads = ExportHeads(texts, race.distanceUnit, prizes != nullptr);
    heads.push_back(TrimBlanks(texts.stateHead));
    std::string csv = CsvRecord(heads);
    for (const ResultRow& row : ResultRows(lines, race.distanceUnit, kPoint, prizes)) {
        std::vector<std::string> cells = ExportCells(row, race.distanceUnit, prizes != nullptr, texts.prizeMark);
        cells.push_back(state);
        csv += CsvRecord(cells, FigureColumns(race.distanceUnit, prizes != nullptr));
    }
    return kCsvByteOrderMark + Cp1252ToUtf8(csv);
}

std::string ResultHtml(const Race& race, const std::vector<ResultLine>& lines, const ExportTexts& texts,
                       const std::string& dateText, const RacePrizes* prizes, const std::vector<std::string>& notes,
                       const std::string& state) {
    const PrintTexts& p = texts.print;
    const std::string name = TrimRightBlanks(race.name);
    std::string html = HtmlPageStart(p.listHead.empty() ? name : TrimBlanks(p.listHead) + ": " + name);
    html += "<h1>" + HtmlEscaped(p.listHead) + "</h1>\n";
    if (!state.empty()) html += "<p class=\"state\">" + HtmlEscaped(state) + "</p>\n";
    html += HtmlHeadTable(ResultHeadLines(race, p, dateText, prizes));
    for (const std::string& note : notes) html += "<p class=\"warning\">" + HtmlEscaped(note) + "</p>\n";
    if (const std::string comment = TrimBlanks(race.headerComment); !comment.empty())
        html += "<p class=\"comment\">" + HtmlEscaped(comment) + "</p>\n";
    const std::vector<bool> figures = FigureColumns(race.distanceUnit, prizes != nullptr);
    std::vector<std::vector<std::string>> rows;
    for (const ResultRow& row : ResultRows(lines, race.distanceUnit, kPoint, prizes))
        rows.push_back(ExportCells(row, race.distanceUnit, prizes != nullptr, texts.prizeMark));
    html += HtmlTable(ExportHeads(texts, race.distanceUnit, prizes != nullptr), rows, figures);
    if (const std::string comment = TrimBlanks(race.footerComment); !comment.empty())
        html += "<p class=\"comment\">" + HtmlEscaped(comment) + "</p>\n";
    html += "</body>\n</html>\n";
    return Cp1252ToUtf8(html);
}

std::optional<ExportFormat> ExportFormatOf(const Path& file) {
    // u8string: a name the system's narrow code page cannot hold must not throw.
    std::string extension;
    for (const char8_t c : file.extension().u8string())
        extension += static_cast<char>(c >= u8'A' && c <= u8'Z' ? c - u8'A' + u8'a' : c);
    if (extension == ".csv") return ExportFormat::Csv;
    if (extension == ".html" || extension == ".htm") return ExportFormat::Html;
    return std::nullopt;
}

std::vector<std::string> ResultListNotes(const TextCatalogue& catalogue, const Path& programFolder, const Race& race,
                                         const ResultFile& result, const RaceSeason& season) {
    std::vector<std::string> notes;
    if (!result.whole && result.status == ReadStatus::Ok)
        notes.push_back(CannotReadText(ResultFilePath(programFolder, race.name), result.problem));
    for (const SeasonFileProblem& problem : season.damaged)
        notes.push_back(SeasonProblemText(catalogue, programFolder, problem));
    return notes;
}

ExportOutcome ExportResults(const Path& programFolder, const Race& race, const ExportTexts& texts,
                            const std::string& dateText, const std::vector<ExportTarget>& targets) {
    const Path source = ResultFilePath(programFolder, race.name);
    const ResultFile result = ReadResultFile(programFolder, race.name);
    if (result.status == ReadStatus::Missing) return {ExportStatus::NoResultFile, {}, {}};
    if (result.status != ReadStatus::Ok) return {ExportStatus::NotWritten, CannotReadText(source, result.problem), {}};
    const RaceSeason season = SeasonOfRace(programFolder, race);
    const RacePrizes* prizes = season.Prizes();
    const std::vector<std::string> notes = ResultListNotes(texts.catalogue, programFolder, race, result, season);
    const std::string state = RaceStateText(programFolder, race);
    std::vector<FileToSave> files;
    for (const ExportTarget& target : targets) {
        if (target.format == ExportFormat::Csv && !notes.empty())
            return {ExportStatus::NotWritten, notes.front() + " " + CatalogueText("Export.NoCsvOfAPartList"), notes};
        files.push_back({target.file, target.format == ExportFormat::Csv
                                          ? ResultCsv(race, result.lines, texts, prizes, state)
                                          : ResultHtml(race, result.lines, texts, dateText, prizes, notes, state)});
    }
    const SaveResult saved = SaveFilesTogether(programFolder, files);
    if (!saved) return {ExportStatus::NotWritten, saved.error, notes};
    return {ExportStatus::Written, {}, notes};
}

} // namespace plumet
