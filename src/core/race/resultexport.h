#pragma once
// The result list for spreadsheets and the club's website: a CSV table and a self-contained
// HTML page, both UTF-8, made from the rows and the head that the printout uses.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/app/catalogue.h"
#include "core/app/files.h"
#include "core/race/races.h"
#include "core/race/resultfile.h"
#include "core/race/resultlayout.h"
#include "core/race/season.h"

namespace plumet {

enum class ExportFormat { Csv, Html };

// The catalogue texts of both: the printed head's labels, and the result window's column heads
// with the units that the exports put into the heads.
struct ExportTexts {
    PrintTexts print;
    std::array<std::string, 8> columns; // position … remark
    std::string inKm, inMetresPerMinute, inMiles, yards, inYardsPerMinute;
    std::string prizeHead, pointsHead, prizeMark; // a race of a season
    std::string stateHead;                         // the CSV's last column
    TextCatalogue catalogue;                       // the words for files that cannot be read
};
ExportTexts LoadExportTexts(const TextCatalogue& catalogue);

// The column heads, units included: a miles race has a column for the miles and one for the
// yards beyond them; a race of a season has the prize mark and the ace points after the speed.
std::vector<std::string> ExportHeads(const ExportTexts& texts, int distanceUnit, bool withPrizes = false);
// The cells of one row in the order of the heads; figures with a "." decimal point.
std::vector<std::string> ExportCells(const ResultRow& row, int distanceUnit, bool withPrizes = false,
                                     const std::string& prizeMark = {});
// Which of those cells are figures, set flush right and never taken for a formula.
std::vector<bool> ExportFigureColumns(int distanceUnit, bool withPrizes = false);

// RFC 4180: a byte-order mark, a head row, one row per pigeon in the list's order, CR LF line
// ends; every cell as CsvCell writes it. The last column holds the list's `state` in every row.
std::string ResultCsv(const Race& race, const std::vector<ResultLine>& lines, const ExportTexts& texts,
                      const RacePrizes* prizes = nullptr, const std::string& state = {});

// An HTML5 page that is also well-formed XML: the head of the list, the table, both comments and
// a print style sheet; every text from the data or the catalogue is escaped.
std::string ResultHtml(const Race& race, const std::vector<ResultLine>& lines, const ExportTexts& texts,
                       const std::string& dateText, const RacePrizes* prizes = nullptr,
                       const std::vector<std::string>& notes = {}, const std::string& state = {});

// ---- What the exports of result lists and seasons share (Windows-1252 in, as the catalogue) ----

inline constexpr const char* kCsvByteOrderMark = "\xEF\xBB\xBF";
// One cell of every CSV table the program writes. A text beginning with "=", "+", "-", "@", a
// tab or a carriage return gets a leading apostrophe, so that a spreadsheet shows it rather
// than runs it; a `figure` (a number the program wrote) stays as it is. A cell holding ",",
// ";", a quote or a line end is quoted, its quotes doubled.
std::string CsvCell(const std::string& text, bool figure = false);
// The cells of one row and its CR LF; `figures` marks the program's number columns.
std::string CsvRecord(const std::vector<std::string>& fields, const std::vector<bool>& figures = {});
std::string HtmlEscaped(const std::string& text);
// The page up to its open body: the title and the style sheet for screen and print.
std::string HtmlPageStart(const std::string& title);
// One row of `tag` cells ("th" or "td"); the cells that `figures` marks are set flush right.
std::string HtmlRow(const char* tag, const std::vector<std::string>& cells, const std::vector<bool>& figures);
// A table of the results' style: the head row, then the rows.
std::string HtmlTable(const std::vector<std::string>& heads, const std::vector<std::vector<std::string>>& rows,
                      const std::vector<bool>& figures);
// Label and value pairs, two a line, as the printed head has them.
std::string HtmlHeadTable(const std::vector<HeadLine>& lines);

// By the file's extension (.csv, .htm, .html in any letter case); nothing for any other.
std::optional<ExportFormat> ExportFormatOf(const Path& file);

struct ExportTarget {
    ExportFormat format;
    Path file;
};

enum class ExportStatus { Written, NoResultFile, NotWritten };
struct ExportOutcome {
    ExportStatus status = ExportStatus::Written;
    std::string error; // when NotWritten: which file and why
    std::vector<std::string> notes; // files the list was not read whole from, said on the page
};

// The files a race's list is not read whole from, each named with the reason: its result file
// when it ends early, and season files that cannot be read (the prizes might be missing).
std::vector<std::string> ResultListNotes(const TextCatalogue& catalogue, const Path& programFolder, const Race& race,
                                         const ResultFile& result, const RaceSeason& season);

// Reads the race's result file and writes every target, all or nothing: without a result file,
// or when a target cannot be written, no target is created or changed. `dateText` is the race
// date as the printed list shows it. A result file or a season file that cannot be read whole
// is named on the web page; a CSV table has no place to say so and is refused.
ExportOutcome ExportResults(const Path& programFolder, const Race& race, const ExportTexts& texts,
                            const std::string& dateText, const std::vector<ExportTarget>& targets);

} // namespace plumet
