#pragma once
// The season as the window, the printer, plumet-cli and the exports show it: three tables (the
// races, the pigeons' and the lofts' standings) under one head, made once and laid out for
// each. All texts are Windows-1252 byte strings.
#include <functional>
#include <string>
#include <vector>

#include "core/app/catalogue.h"
#include "core/race/resultexport.h"
#include "core/race/resultlayout.h"
#include "core/race/season.h"

namespace plumet {

// The catalogue texts of the season's head and tables.
struct SeasonTexts {
    std::string title, page1, page2;
    std::string season, prizeRatio, prizeRatioValue, counted, countedValue, firstRace, lastRace, racesCounted,
        racesCountedValue;
    std::string racesSection, pigeonsSection, loftsSection;
    std::string place, ring, loft, prizes, points, coefficient, countedPrizes, race, date, entered, remark;
    std::string standing, pigeonKind, loftKind;
};
SeasonTexts LoadSeasonTexts(const TextCatalogue& catalogue);

struct SeasonColumn {
    std::string head;
    bool figure = false; // set flush right
    int x = 0;           // on the printed page: where it starts, or ends when it is a figure
};

struct SeasonTable {
    std::string title;
    std::vector<SeasonColumn> columns;
    std::vector<std::vector<std::string>> rows;
};

struct SeasonTables {
    std::vector<HeadLine> head;
    SeasonTable races, pigeons, lofts;
    std::vector<std::string> notes; // files not read whole (SeasonNotWhole), said under the head
};

using DateText = std::function<std::string(const SeasonDate&)>;

// Figures with `separator`; dates by `dateText`; why a race does not count in the catalogue's words.
SeasonTables SeasonTablesOf(const SeasonStandings& standings, const SeasonTexts& texts, const TextCatalogue& catalogue,
                            const DateText& dateText, char separator);

// A table as lines of a fixed-width font: its heads, then one line per row, each column as wide
// as its widest cell, figures flush right.
std::vector<std::string> FixedWidthLines(const SeasonTable& table);

// Every printed page: the head on each, the tables one after the other, a table's title and
// heads again where it goes on over a page.
std::vector<PrintPage> SeasonPages(const SeasonTables& tables, const SeasonTexts& texts);

// Both standings in one table for spreadsheets, a column telling pigeon from loft; UTF-8 with
// a byte-order mark, CR LF, "." as decimal point.
std::string SeasonCsv(const SeasonStandings& standings, const SeasonTexts& texts);
// The head, the notes and the three tables as one web page (well-formed XML as well).
std::string SeasonHtml(const SeasonTables& tables, const SeasonTexts& texts);

// Writes every target, or none of them (the journal lies in `programFolder`); figures with a
// "." decimal point. Standings from files not read whole (SeasonNotWhole) are named on the web
// page, and a CSV table of them is refused.
SaveResult ExportSeason(const Path& programFolder, const SeasonStandings& standings, const SeasonTexts& texts,
                        const TextCatalogue& catalogue, const DateText& dateText,
                        const std::vector<ExportTarget>& targets);

} // namespace plumet
