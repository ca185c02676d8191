#pragma once
// The result list as the window, the printer and plumet-cli show it: the list lines, the head
// values, and the printed pages as positioned texts on a page of 5000 x 7070 units (an A4
// sheet), 29 pigeons a page. All texts are Windows-1252 byte strings.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/app/catalogue.h"
#include "core/race/races.h"
#include "core/race/resultfile.h"
#include "core/race/season.h"

namespace plumet {

inline constexpr std::size_t kRowsPerPage = 29;
inline constexpr int kPageWidth = 5000;
inline constexpr int kPageHeight = 7070;
// Speeds from here on do not fit the printed column and print as a mask.
inline constexpr double kLargestPrintedSpeed = 5000.0;

// ---- Figures in the race's unit ----

// Kilometres "0.000", or whole miles "0000", a blank and yards "0000".
std::string DistanceFigure(double km, int distanceUnit, char separator);
// Metres or yards per minute, "0.000".
std::string SpeedFigure(double metresPerMinute, int distanceUnit, char separator);
// The whole miles and the yards beyond them, as numbers without leading zeros.
std::pair<std::string, std::string> MilesAndYards(double km);

// ---- One pigeon of the list, cell by cell ----

inline constexpr const char* kDataErrorText = "Data Error for this pigeon";

// The cells of one row as the printed list shows them, with the figures unmasked in the race's
// unit: the printout and the exports take their rows from here.
struct ResultRow {
    std::size_t position = 0;
    std::string fancierName; // without the padding of their columns
    std::string ringText;
    std::string colour;
    std::string flightTime;  // "5.03.07"
    std::string distance;    // km "0.000", or whole miles
    std::string yards;       // miles races: the yards beyond the whole miles
    std::string speed;       // m/min or yd/min, "0.000"
    std::string remark;      // the data error text, or empty
    bool prize = false;      // a race of a season: the pigeon won a prize
    std::string acePoints;   // … and these ace points, "0.00"
};
// `prizes`: the race's prizes in its season, or nothing for a race in no season.
ResultRow ResultRowOf(std::size_t position, const ResultLine& line, int distanceUnit, char separator,
                      const RacePrizes* prizes = nullptr);
std::vector<ResultRow> ResultRows(const std::vector<ResultLine>& lines, int distanceUnit, char separator,
                                  const RacePrizes* prizes = nullptr);

// ---- The window (frmRaceResultsShow) ----

// One List1 line: position "0000", name, ring, flight time, three blanks, then the distance with
// its separator at column 8 and the speed with its separator at column 7 (miles and yards get two
// leading blanks instead).
std::string ResultWindowLine(std::size_t position, const ResultLine& line, int distanceUnit, char separator);
// Blanks that go into the window's lines before the name, the ring, the flight time, the distance,
// the speed and the ace points, so that heads longer than their column (a catalogue's words may
// be) stand each over its own column and apart from the next; none for heads that fit.
struct ResultWindowSpread {
    std::array<std::size_t, 6> blanks{};
};
ResultWindowSpread ResultWindowSpreadOf(const std::array<std::string, 8>& heads, const std::array<std::string, 2>& units,
                                        const std::array<std::string, 2>* prizeHeads = nullptr);

// With `prizes`, each prize winner's line goes on with `mark` and its ace points.
std::vector<std::string> ResultWindowLines(const std::vector<ResultLine>& lines, int distanceUnit, char separator,
                                           const RacePrizes* prizes = nullptr, const std::string& mark = {},
                                           const ResultWindowSpread& spread = {});

// The two head lines above the list, each head over its column as spread for these heads: `heads` are the texts of
// frmRaceResultsShowTabCol1 to 8, `units` those of 9a and 10a (or 9b and 10b), and
// `prizeHeads` those of the prize mark and the ace points in a race of a season. The list
// holds no colour and no remark, so those two heads have no place.
std::array<std::string, 2> ResultWindowHeads(const std::array<std::string, 8>& heads,
                                             const std::array<std::string, 2>& units,
                                             const std::array<std::string, 2>* prizeHeads = nullptr);

// The heads above, in the catalogue's words: frmRaceResultsShowTabCol1 to 8, the units of the
// race's distance unit, and the prize mark's and the ace points' heads.
struct ResultWindowTexts {
    std::array<std::string, 8> columns;
    std::array<std::string, 2> units;
    std::array<std::string, 2> prizeHeads;
    const std::array<std::string, 2>* PrizeHeads(bool inSeason) const { return inSeason ? &prizeHeads : nullptr; }
};
ResultWindowTexts LoadResultWindowTexts(const TextCatalogue& catalogue, int distanceUnit);

// "20:00 / 06:00", or `none` when the race does not go over night.
std::string ClosedPeriodText(const Race& race, const std::string& none);
// The mean distance without leading zeros ("###0").
std::string MeanDistanceText(const Race& race);

// The values beside Label1, 3 … 17: race, club, release point, date, release time, closed
// period, mean distance, pigeons entered, pigeons classified.
std::array<std::string, 9> ResultHeadValues(const Race& race, const std::string& dateText, const std::string& none);

// ---- The printout ----

// The TxtPrn… texts of the catalogue.
struct PrintTexts {
    std::string listHead, page1, page2;
    std::string clubName, raceName, releasePoint, date, time, offTime, none, avDistance, pigeonsEntered,
        pigeonsClassified, fanciers;
    std::string headKm, headMiles;
    std::array<std::string, 7> upper;
    std::array<std::string, 8> lower;
    std::string tableKm, tableMiles, metresPerMinute, yardsPerMinute;
    // A race of a season: the prize mark and the ace points, with their heads, and the season
    // and its prizes in the head of the list.
    std::string prizeMark, prizeUpper, prizeLower, pointsUpper, pointsLower, season, prizes;
};
PrintTexts LoadPrintTexts(const TextCatalogue& catalogue);

// The head of the list as label and value pairs, line by line in two columns (a line without a
// right pair has it empty): club, race and fanciers, date and closed period, release point,
// release time and mean distance, pigeons entered and classified, and for a race of a season
// the season and its prizes.
struct HeadPair {
    std::string label;
    std::string value;
};
struct HeadLine {
    HeadPair left;
    HeadPair right;
};
std::vector<HeadLine> ResultHeadLines(const Race& race, const PrintTexts& texts, const std::string& dateText,
                                      const RacePrizes* prizes = nullptr);
// "3 (1:4)": the prizes and the ratio they follow.
std::string PrizesText(const RacePrizes& prizes);

enum class PrintAlign { Start = 0, End = 2 };

struct PrintText {
    int x = 0;
    int y = 0; // top of the line
    std::string text;
    bool bold = false;
    PrintAlign align = PrintAlign::Start;
    int pointSize = 10;
    // A column head's room between its neighbours (0: no limit), and whether the lines it
    // wraps into stack above it (the upper heads) rather than below.
    int room = 0;
    bool wrapsUp = false;
    bool operator==(const PrintText&) const = default;
};

// How wide a text is printed in the font of `as`, in page units; the printer measures it.
using PrintMeasure = std::function<int(const PrintText& as, std::string_view text)>;
// The distance from one printed line to the next at `pointSize`.
int PrintLineStep(int pointSize);
// Every text wider than its room broken into lines of their own, at blanks where it can be and
// within a word longer than the room.
std::vector<PrintText> WrapPrintTexts(const std::vector<PrintText>& texts, const PrintMeasure& measure);

struct PrintPage {
    std::size_t number = 1;
    std::vector<PrintText> texts;
};

// Where the head logo goes; it keeps its proportions inside this box.
struct PrintBox {
    int x, y, width, height;
};
inline constexpr PrintBox kLogoBox{500, 80, 1000, 520};

// The head of a printed page: the page counter, `title`, the head pairs and the race's head
// comment, and the list's state under the title when given. Gives where the table below it may start.
int AddPageHead(std::vector<PrintText>& texts, const Race& race, const PrintTexts& printTexts, const std::string& title,
                const std::vector<HeadLine>& headLines, std::size_t number, std::size_t pageCount,
                const std::string& state = {});
// Where the rows of a page's table start and how far apart they stand, and the foot below them.
inline constexpr int kPrintFirstRowY = 2100, kPrintRowStep = 150, kPrintFooterY = 6800, kPrintLeft = 500;

// Pages of a list: 29 pigeons each, rounded up; an empty list still has its page with the head.
std::size_t PageCount(std::size_t pigeons);

// Printed speed: "   0.000" in the race's unit, or the mask "*.***,***" (km) / "*,***.***" (miles).
std::string PrintedSpeed(double metresPerMinute, int distanceUnit, char separator);
// Printed distance: "    0.000" km, or "0000 0000" miles and yards.
std::string PrintedDistance(double km, int distanceUnit, char separator);

// Pages `firstPage` to `lastPage` (1-based, within PageCount) of the printed list. `dateText` is
// the race date in the user's short date form. A race of a season (`prizes`) prints its
// columns closer together, to make room for the prize mark and the ace points. `notes` name the
// files the list was not read whole from, above the foot of every page. `state` (provisional,
// final, amended) stands under the title.
std::vector<PrintPage> ResultPages(const Race& race, const std::vector<ResultLine>& lines, const PrintTexts& texts,
                                   std::size_t firstPage, std::size_t lastPage, const std::string& dateText,
                                   char separator, const RacePrizes* prizes = nullptr,
                                   const std::vector<std::string>& notes = {}, const std::string& state = {});

// Lines of text on pages of their own after a list: `heading` as each page's title, pages
// numbered on from `firstNumber`. None for no lines.
std::vector<PrintPage> LinePages(const std::vector<std::string>& lines, const std::string& heading,
                                 std::size_t firstNumber);

// ---- The page-range dialog (frmRaceCalcPagesToPrint) ----

struct PageRangeCheck {
    int message = 0;          // 0: accepted; 1 to 4: the message to show
    int focus = 1;            // the box that gets the focus: 1 (Text1) or 2 (Text2)
    std::size_t first = 0;
    std::size_t last = 0;
};
// The boxes checked in order: both filled, first not after last, first and last in the range.
PageRangeCheck CheckPageRange(const std::string& first, const std::string& last, std::size_t lowest,
                              std::size_t highest);
// The line added to messages 3 and 4: "(" lowest "  /  " highest ")".
std::string PageRangeHint(std::size_t lowest, std::size_t highest);

} // namespace plumet
