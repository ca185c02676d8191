#include "core/race/seasonlayout.h"

#include <algorithm>

#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"

namespace plumet {
namespace {

constexpr char kSeasonPoint = '.';

// Page positions, after the printed result list's.
constexpr int kSeasonCounterX = 4150, kSeasonCounterY = 100;
constexpr int kSeasonTitleX = 1700, kSeasonTitleY = 250, kSeasonTitleSize = 18;
// The head's values are longer than a race's, so its right column starts further left.
constexpr int kSeasonLeftLabel = 500, kSeasonLeftValue = 1500, kSeasonRightLabel = 2500, kSeasonRightValue = 3500;
constexpr int kSeasonHeadTop = 760, kSeasonHeadStep = 130;
constexpr int kSeasonSectionGap = 120, kSeasonSectionSize = 11;
constexpr int kSeasonRowStep = 150;
constexpr int kSeasonBottom = 6800;

std::string Counter(std::size_t value) { return "   " + std::to_string(value); }

std::vector<std::string> Cells(std::initializer_list<std::string> cells) { return cells; }

} // namespace

SeasonTexts LoadSeasonTexts(const TextCatalogue& catalogue) {
    const auto text = [&](const std::string& key) { return catalogue.LookupText("frmSeason." + key); };
    SeasonTexts t;
    t.title = text("PrintTitle");
    t.page1 = catalogue.LookupText("TxtPrnPage1");
    t.page2 = catalogue.LookupText("TxtPrnPage2");
    t.season = text("HeadSeason");
    t.prizeRatio = text("HeadPrizeRatio");
    t.prizeRatioValue = text("HeadPrizeRatioValue");
    t.counted = text("HeadCounted");
    t.countedValue = text("HeadCountedValue");
    t.firstRace = text("HeadFirstRace");
    t.lastRace = text("HeadLastRace");
    t.racesCounted = text("HeadRacesCounted");
    t.racesCountedValue = text("HeadRacesCountedValue");
    t.racesSection = text("SectionRaces");
    t.pigeonsSection = text("SectionPigeons");
    t.loftsSection = text("SectionLofts");
    t.place = text("TabPlace");
    t.ring = text("TabRing");
    t.loft = text("TabLoft");
    t.prizes = text("TabPrizes");
    t.points = text("TabAcePoints");
    t.coefficient = text("TabCoefficient");
    t.countedPrizes = text("TabCounted");
    t.race = text("TabRace");
    t.date = text("TabDate");
    t.entered = text("TabEntered");
    t.remark = text("TabRemark");
    t.standing = text("ExportStanding");
    t.pigeonKind = text("ExportPigeon");
    t.loftKind = text("ExportLoft");
    return t;
}

SeasonTables SeasonTablesOf(const SeasonStandings& standings, const SeasonTexts& texts, const TextCatalogue& catalogue,
                            const DateText& dateText, char separator) {
    const Season& season = standings.season;
    std::size_t counted = 0;
    for (const SeasonRace& race : standings.races) counted += race.state == SeasonRaceState::Counted ? 1 : 0;
    SeasonTables tables;
    tables.head = {
        {{texts.season, season.name},
         {texts.prizeRatio, FillPlaceholders(texts.prizeRatioValue, {std::to_string(season.prizeRatio)})}},
        {{texts.firstRace, dateText(season.firstRace)},
         {texts.counted, FillPlaceholders(texts.countedValue, {std::to_string(season.countedPrizes)})}},
        {{texts.lastRace, dateText(season.lastRace)},
         {texts.racesCounted, FillPlaceholders(texts.racesCountedValue,
                                               {std::to_string(counted), std::to_string(standings.races.size())})}},
    };

    tables.races = {texts.racesSection,
                    {{texts.race, false, 500},
                     {texts.date, false, 1900},
                     {texts.entered, true, 2900},
                     {texts.prizes, true, 3350},
                     {texts.remark, false, 3500}},
                    {}};
    for (const SeasonRace& race : standings.races) {
        const bool counts = race.state == SeasonRaceState::Counted;
        tables.races.rows.push_back(
            Cells({race.name, race.race ? dateText(DateOfRace(*race.race)) : std::string(),
                   counts ? std::to_string(race.prizes.entered) : std::string(),
                   counts ? std::to_string(race.prizes.Count()) : std::string(), SeasonRaceStateText(catalogue, race)}));
    }

    tables.pigeons = {texts.pigeonsSection,
                      {{texts.place, true, 700},
                       {texts.ring, false, 850},
                       {texts.loft, false, 2000},
                       {texts.prizes, true, 3350},
                       {texts.points, true, 3950},
                       {texts.coefficient, true, 4600}},
                      {}};
    for (const PigeonStanding& p : standings.standings.pigeons)
        tables.pigeons.rows.push_back(Cells({std::to_string(p.place), p.ring, p.loft, std::to_string(p.prizes),
                                             HundredthsText(p.points, separator),
                                             ThousandthsText(p.coefficients, separator)}));

    tables.lofts = {texts.loftsSection,
                    {{texts.place, true, 700},
                     {texts.loft, false, 850},
                     {texts.countedPrizes, true, 3350},
                     {texts.points, true, 3950}},
                    {}};
    for (const LoftStanding& l : standings.standings.lofts)
        tables.lofts.rows.push_back(Cells({std::to_string(l.place), l.loft, std::to_string(l.countedPrizes),
                                           HundredthsText(l.points, separator)}));
    return tables;
}

std::vector<std::string> FixedWidthLines(const SeasonTable& table) {
    std::vector<std::size_t> widths;
    for (const SeasonColumn& column : table.columns) widths.push_back(column.head.size());
    for (const auto& row : table.rows)
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    const auto line = [&](const std::vector<std::string>& cells) {
        std::string text;
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            const std::string cell = c < cells.size() ? cells[c] : std::string();
            if (c > 0) text += "  ";
            text += table.columns[c].figure ? PadLeft(cell, widths[c], ' ') : PadRight(cell, widths[c]);
        }
        return TrimRightBlanks(text);
    };
    std::vector<std::string> heads;
    for (const SeasonColumn& column : table.columns) heads.push_back(column.head);
    std::vector<std::string> lines{line(heads)};
    for (const auto& row : table.rows) lines.push_back(line(row));
    return lines;
}

std::vector<PrintPage> SeasonPages(const SeasonTables& tables, const SeasonTexts& texts) {
    std::vector<PrintPage> pages;
    int y = 0;
    const auto newPage = [&] {
        PrintPage page{pages.size() + 1, {}};
        auto& t = page.texts;
        t.push_back({kSeasonCounterX, kSeasonCounterY, {}, false, PrintAlign::Start, 10}); // filled once the count is known
        t.push_back({kSeasonTitleX, kSeasonTitleY, texts.title, true, PrintAlign::Start, kSeasonTitleSize});
        y = kSeasonHeadTop;
        for (const HeadLine& line : tables.head) {
            t.push_back({kSeasonLeftLabel, y, line.left.label, true, PrintAlign::Start, 10});
            t.push_back({kSeasonLeftValue, y, line.left.value, false, PrintAlign::Start, 10});
            t.push_back({kSeasonRightLabel, y, line.right.label, true, PrintAlign::Start, 10});
            t.push_back({kSeasonRightValue, y, line.right.value, false, PrintAlign::Start, 10});
            y += kSeasonHeadStep;
        }
        pages.push_back(std::move(page));
    };
    const auto heads = [&](const SeasonTable& table) {
        y += kSeasonSectionGap;
        pages.back().texts.push_back({kSeasonLeftLabel, y, table.title, true, PrintAlign::Start, kSeasonSectionSize});
        y += kSeasonRowStep;
        for (const SeasonColumn& column : table.columns)
            pages.back().texts.push_back({column.x, y, column.head, true,
                                          column.figure ? PrintAlign::End : PrintAlign::Start, 9});
        y += kSeasonRowStep;
    };
    newPage();
    for (const std::string& note : tables.notes) {
        pages.back().texts.push_back({kSeasonLeftLabel, y, note, true, PrintAlign::Start, 9});
        y += kSeasonRowStep;
    }
    for (const SeasonTable* table : {&tables.races, &tables.pigeons, &tables.lofts}) {
        // A title and its heads never stand alone at the foot of a page.
        if (y + kSeasonSectionGap + 3 * kSeasonRowStep > kSeasonBottom) newPage();
        heads(*table);
        for (const auto& row : table->rows) {
            if (y + kSeasonRowStep > kSeasonBottom) {
                newPage();
                heads(*table);
            }
            for (std::size_t c = 0; c < row.size() && c < table->columns.size(); ++c) {
                const SeasonColumn& column = table->columns[c];
                pages.back().texts.push_back({column.x, y, row[c], false,
                                              column.figure ? PrintAlign::End : PrintAlign::Start, 10});
            }
            y += kSeasonRowStep;
        }
    }
    for (PrintPage& page : pages)
        page.texts.front().text = texts.page1 + Counter(page.number) + " " + texts.page2 + Counter(pages.size());
    return pages;
}

std::string SeasonCsv(const SeasonStandings& standings, const SeasonTexts& texts) {
    std::string csv = CsvRecord({texts.standing, texts.place, texts.ring, texts.loft, texts.prizes, texts.points,
                                 texts.coefficient});
    const std::vector<bool> figures{false, true, false, false, true, true, true};
    for (const PigeonStanding& p : standings.standings.pigeons)
        csv += CsvRecord({texts.pigeonKind, std::to_string(p.place), p.ring, p.loft, std::to_string(p.prizes),
                          HundredthsText(p.points, kSeasonPoint), ThousandthsText(p.coefficients, kSeasonPoint)},
                         figures);
    for (const LoftStanding& l : standings.standings.lofts)
        csv += CsvRecord({texts.loftKind, std::to_string(l.place), {}, l.loft, std::to_string(l.countedPrizes),
                          HundredthsText(l.points, kSeasonPoint), {}},
                         figures);
    return kCsvByteOrderMark + Cp1252ToUtf8(csv);
}

std::string SeasonHtml(const SeasonTables& tables, const SeasonTexts& texts) {
    const std::string name = tables.head.empty() ? std::string() : tables.head.front().left.value;
    std::string html = HtmlPageStart(TrimBlanks(texts.title) + ": " + name);
    html += "<h1>" + HtmlEscaped(texts.title) + "</h1>\n" + HtmlHeadTable(tables.head);
    for (const std::string& note : tables.notes) html += "<p class=\"warning\">" + HtmlEscaped(note) + "</p>\n";
    for (const SeasonTable* table : {&tables.races, &tables.pigeons, &tables.lofts}) {
        std::vector<std::string> heads;
        std::vector<bool> figures;
        for (const SeasonColumn& column : table->columns) {
            heads.push_back(column.head);
            figures.push_back(column.figure);
        }
        html += "<h2>" + HtmlEscaped(table->title) + "</h2>\n<table class=\"results\">\n<thead>\n" +
                HtmlRow("th", heads, figures) + "</thead>\n<tbody>\n";
        for (const auto& row : table->rows) html += HtmlRow("td", row, figures);
        html += "</tbody>\n</table>\n";
    }
    html += "</body>\n</html>\n";
    return Cp1252ToUtf8(html);
}

SaveResult ExportSeason(const Path& programFolder, const SeasonStandings& standings, const SeasonTexts& texts,
                        const TextCatalogue& catalogue, const DateText& dateText,
                        const std::vector<ExportTarget>& targets) {
    SeasonTables tables = SeasonTablesOf(standings, texts, catalogue, dateText, kSeasonPoint);
    tables.notes = SeasonNotWhole(catalogue, programFolder, standings);
    const std::vector<std::string>& notes = tables.notes;
    std::vector<FileToSave> files;
    for (const ExportTarget& target : targets) {
        // A table for spreadsheets has no place to say that a race is left out.
        if (target.format == ExportFormat::Csv && !notes.empty())
            return SaveFailed(notes.front() + " " + CatalogueText("Export.NoCsvOfAPartList"), FileReason::Damaged);
        files.push_back({target.file, target.format == ExportFormat::Csv ? SeasonCsv(standings, texts)
                                                                         : SeasonHtml(tables, texts)});
    }
    return SaveFilesTogether(programFolder, files);
}

} // namespace plumet
