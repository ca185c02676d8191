#include "core/race/resultlayout.h"

#include <algorithm>
#include <tuple>

#include "core/app/fixedwidth.h"
#include "core/race/decimals.h"
#include "core/race/distances.h"

namespace plumet {
namespace {

// List1 columns (0-based): where each figure of a line starts or ends.
constexpr std::size_t kNameColumn = 5;
constexpr std::size_t kRingColumn = 26;
constexpr std::size_t kFlightColumn = 48;
constexpr std::size_t kDistanceEnd = 71; // one past the last character
constexpr std::size_t kSpeedEnd = 81;
constexpr std::size_t kDistanceWidth = 11; // 7 places, separator, 3 decimals
constexpr std::size_t kSpeedWidth = 10;    // 6 places, separator, 3 decimals
constexpr std::size_t kMarkColumn = 83;    // a race of a season: the prize mark …
constexpr std::size_t kMarkWidth = 6;
constexpr std::size_t kPointsEnd = 100;    // … and the ace points

// Where a spread puts its blanks: before the name, ring, flight time, distance, speed and ace points.
constexpr std::size_t kSpreadAt[] = {kNameColumn, kRingColumn, kFlightColumn, kDistanceEnd - kDistanceWidth,
                                     kDistanceEnd, kMarkColumn + kMarkWidth};

// A column of the standard layout moved by the blanks spread before it; an end column takes
// none of those spread at itself, which belong to the next column.
std::size_t Spread(std::size_t column, const ResultWindowSpread& spread, bool end = false) {
    std::size_t moved = column;
    for (std::size_t i = 0; i < spread.blanks.size(); ++i)
        if (kSpreadAt[i] < column || (!end && kSpreadAt[i] == column)) moved += spread.blanks[i];
    return moved;
}

std::size_t Beyond(std::size_t needed, std::size_t room) { return needed > room ? needed - room : 0; }

std::string Two(int value) { return ZeroPadded(value, 2); }

double InUnit(double metresPerMinute, int distanceUnit) {
    return distanceUnit == kRaceInMiles ? MetresPerMinuteToYardsPerMinute(metresPerMinute) : metresPerMinute;
}

// The counters' "   0" form: three blanks, then the number.
std::string Counter(long long value) { return "   " + std::to_string(value); }

void Put(std::string& line, std::size_t column, const std::string& text) {
    if (text.empty()) return;
    if (line.size() < column) line.resize(column, ' ');
    line.replace(column, std::min(text.size(), line.size() - column), text);
}
void PutEnding(std::string& line, std::size_t end, const std::string& text) {
    Put(line, end >= text.size() ? end - text.size() : 0, text);
}

// Page positions of the printout.
constexpr int kLeftLabel = 500, kLeftValue = 1600, kRightLabel = 3000, kRightValue = 4150;
constexpr int kCounterX = 4150, kCounterY = 100;
constexpr int kTitleX = 1700, kTitleY = 250, kTitleSize = 18;
constexpr int kStateY = 560; // under the title, above the head
constexpr int kHeadTop = 760, kHeadStep = 130;
constexpr int kUpperHeadY = 1760, kLowerHeadY = 1890;
constexpr int kFirstRowY = kPrintFirstRowY, kRowStep = kPrintRowStep;
constexpr int kFooterY = kPrintFooterY;
constexpr int kNoteY = 6650, kNoteStep = 75, kNoteSize = 7; // between the last row and the foot
constexpr int kHeadSize = 9; // the column heads stand close together

struct PrintColumn {
    int x;
    PrintAlign align;
};
constexpr PrintColumn kRowColumns[] = {{500, PrintAlign::Start},  {750, PrintAlign::Start}, {1680, PrintAlign::Start},
                                  {2800, PrintAlign::Start}, {3600, PrintAlign::End},  {4150, PrintAlign::End},
                                  {4650, PrintAlign::End}};
constexpr int kUpperHeadX[] = {500, 750, 1900, 2800, 3600, 4150, 4650};
constexpr int kLowerHeadX[] = {500, 750, 1680, 2800, 3600, 4150, 4650, 4700};
// A race of a season: a point smaller, the figures move left for the prize mark and the ace
// points, which end where the remark's head stood.
constexpr PrintColumn kSeasonRowColumns[] = {{500, PrintAlign::Start},  {750, PrintAlign::Start}, {1680, PrintAlign::Start},
                                        {2600, PrintAlign::Start}, {3340, PrintAlign::End},  {3740, PrintAlign::End},
                                        {4160, PrintAlign::End},   {4210, PrintAlign::Start}, {4700, PrintAlign::End}};
constexpr int kSeasonUpperHeadX[] = {500, 750, 1900, 2600, 3340, 3740, 4160, 4210, 4700};
constexpr int kSeasonLowerHeadX[] = {500, 750, 1680, 2600, 3340, 3740, 4160, 4210, 4700};
constexpr int kSeasonRowSize = 9, kSeasonHeadSize = 8;

// Where each column's head may stand, left to right, so that no head runs into the next column.
struct ColumnRoom {
    int left, right;
};
constexpr ColumnRoom kColumnRooms[] = {{500, 740},   {750, 1670},  {1680, 2790}, {2800, 3090},
                                       {3100, 3600}, {3620, 4150}, {4170, 4650}, {4700, 4950}};
constexpr ColumnRoom kSeasonColumnRooms[] = {{500, 740},   {750, 1670},  {1680, 2590}, {2600, 2890}, {2900, 3340},
                                             {3360, 3740}, {3760, 4160}, {4210, 4400}, {4410, 4700}};

int RoomOf(const ColumnRoom& column, int x, PrintAlign align) {
    return align == PrintAlign::End ? x - column.left : column.right - x;
}

PrintAlign HeadAlign(std::size_t column) {
    return (column >= 4 && column <= 6) || column == 8 ? PrintAlign::End : PrintAlign::Start;
}

void Pair(std::vector<PrintText>& texts, int labelX, int valueX, int y, const std::string& label,
          const std::string& value) {
    texts.push_back({labelX, y, label, true, PrintAlign::Start, 10});
    texts.push_back({valueX, y, value, false, PrintAlign::Start, 10});
}

} // namespace

std::string DistanceFigure(double km, int distanceUnit, char separator) {
    if (distanceUnit != kRaceInMiles) return FormatDecimal(km, 1, 3, separator);
    const DistanceBoxes miles = DistanceForBoxes(KmToMiles(km), kEnteredInMiles);
    return PadLeft(miles.whole, 4, '0') + " " + miles.part;
}

std::string SpeedFigure(double metresPerMinute, int distanceUnit, char separator) {
    return FormatDecimal(InUnit(metresPerMinute, distanceUnit), 1, 3, separator);
}

std::pair<std::string, std::string> MilesAndYards(double km) {
    const DistanceBoxes miles = DistanceForBoxes(KmToMiles(km), kEnteredInMiles);
    return {miles.whole, std::to_string(ParseInteger(miles.part).value_or(0))};
}

ResultRow ResultRowOf(std::size_t position, const ResultLine& line, int distanceUnit, char separator,
                      const RacePrizes* prizes) {
    ResultRow row{position, TrimRightBlanks(line.fancierName), TrimRightBlanks(line.ringText),
                  TrimRightBlanks(line.colour), {}, {}, {}, {}, {}, false, {}};
    if (prizes && position >= 1 && position <= prizes->Count()) {
        row.prize = true;
        row.acePoints = HundredthsText(prizes->points[position - 1], separator);
    }
    if (line.dataError) {
        row.remark = kDataErrorText;
        return row;
    }
    row.flightTime = TrimBlanks(line.flightTimeText);
    if (distanceUnit == kRaceInMiles) std::tie(row.distance, row.yards) = MilesAndYards(line.distanceKm);
    else row.distance = DistanceFigure(line.distanceKm, distanceUnit, separator);
    row.speed = SpeedFigure(line.speed, distanceUnit, separator);
    return row;
}

std::vector<ResultRow> ResultRows(const std::vector<ResultLine>& lines, int distanceUnit, char separator,
                                  const RacePrizes* prizes) {
    std::vector<ResultRow> rows;
    rows.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        rows.push_back(ResultRowOf(i + 1, lines[i], distanceUnit, separator, prizes));
    return rows;
}

std::string ResultWindowLine(std::size_t position, const ResultLine& line, int distanceUnit, char separator) {
    std::string text = ZeroPadded(static_cast<long long>(position), 4) + " " + PadRight(line.fancierName, 20) + " " +
                       PadRight(line.ringText, 21) + " ";
    if (line.dataError) return text + kDataErrorText;
    const std::string distance = distanceUnit == kRaceInMiles
                                     ? "  " + DistanceFigure(line.distanceKm, distanceUnit, separator)
                                     : PadLeft(DistanceFigure(line.distanceKm, distanceUnit, separator),
                                               kDistanceWidth, ' ');
    return text + line.flightTimeText + "   " + distance +
           PadLeft(SpeedFigure(line.speed, distanceUnit, separator), kSpeedWidth, ' ');
}

ResultWindowSpread ResultWindowSpreadOf(const std::array<std::string, 8>& heads, const std::array<std::string, 2>& units,
                                        const std::array<std::string, 2>* prizeHeads) {
    ResultWindowSpread spread;
    // Each head needs a blank before the next one; two heads that share the room between two
    // columns (flight time and distance, prize and ace points) need it between them.
    spread.blanks[0] = Beyond(heads[0].size() + 1, kNameColumn);
    spread.blanks[1] = Beyond(heads[1].size() + 1, kRingColumn - kNameColumn);
    spread.blanks[2] = Beyond(heads[2].size() + 1, kFlightColumn - kRingColumn);
    spread.blanks[3] = Beyond(heads[4].size() + 1 + heads[5].size(), kDistanceEnd - kFlightColumn);
    spread.blanks[4] = Beyond(std::max(heads[6].size(), units[1].size()) + 1, kSpeedEnd - kDistanceEnd);
    if (prizeHeads)
        spread.blanks[5] = Beyond((*prizeHeads)[0].size() + 1 + (*prizeHeads)[1].size(), kPointsEnd - kMarkColumn);
    return spread;
}

std::vector<std::string> ResultWindowLines(const std::vector<ResultLine>& lines, int distanceUnit, char separator,
                                           const RacePrizes* prizes, const std::string& mark,
                                           const ResultWindowSpread& spread) {
    std::vector<std::string> texts;
    texts.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string text = ResultWindowLine(i + 1, lines[i], distanceUnit, separator);
        if (prizes && i < prizes->Count()) {
            Put(text, kMarkColumn, PadRight(mark, kMarkWidth));
            PutEnding(text, kPointsEnd, HundredthsText(prizes->points[i], separator));
        }
        // A data error's remark stands whole where the flight time would.
        for (std::size_t at = lines[i].dataError ? 3 : spread.blanks.size(); at-- > 0;)
            if (text.size() > kSpreadAt[at]) text.insert(kSpreadAt[at], spread.blanks[at], ' ');
        texts.push_back(std::move(text));
    }
    return texts;
}

std::array<std::string, 2> ResultWindowHeads(const std::array<std::string, 8>& heads,
                                             const std::array<std::string, 2>& units,
                                             const std::array<std::string, 2>* prizeHeads) {
    const ResultWindowSpread spread = ResultWindowSpreadOf(heads, units, prizeHeads);
    const auto at = [&spread](std::size_t column) { return Spread(column, spread); };
    const auto endingAt = [&spread](std::size_t column) { return Spread(column, spread, true); };
    std::array<std::string, 2> lines;
    Put(lines[0], 0, heads[0]);
    Put(lines[0], at(kNameColumn), heads[1]);
    Put(lines[0], at(kRingColumn), heads[2]);
    Put(lines[0], at(kFlightColumn), heads[4]);
    PutEnding(lines[0], endingAt(kDistanceEnd), heads[5]);
    PutEnding(lines[0], endingAt(kSpeedEnd), heads[6]);
    PutEnding(lines[1], endingAt(kDistanceEnd), units[0]);
    PutEnding(lines[1], endingAt(kSpeedEnd), units[1]);
    if (prizeHeads) {
        Put(lines[0], at(kMarkColumn), (*prizeHeads)[0]);
        PutEnding(lines[0], endingAt(kPointsEnd), (*prizeHeads)[1]);
    }
    for (std::string& line : lines) line = TrimRightBlanks(line);
    return lines;
}

std::string ClosedPeriodText(const Race& race, const std::string& none) {
    if (!race.overNight) return none;
    return Two(race.closedFromHour) + ":" + Two(race.closedFromMinute) + " / " + Two(race.closedToHour) + ":" +
           Two(race.closedToMinute);
}

std::string MeanDistanceText(const Race& race) {
    const auto value = ParseInteger(race.meanDistance);
    return value ? std::to_string(*value) : TrimBlanks(race.meanDistance);
}

std::array<std::string, 9> ResultHeadValues(const Race& race, const std::string& dateText, const std::string& none) {
    return {TrimRightBlanks(race.name),
            TrimRightBlanks(race.clubName),
            TrimRightBlanks(race.releasePointName),
            dateText,
            Two(race.releaseHour) + ":" + Two(race.releaseMinute),
            ClosedPeriodText(race, none),
            MeanDistanceText(race),
            std::to_string(race.pigeonsEntered),
            std::to_string(race.pigeonsClassified)};
}

ResultWindowTexts LoadResultWindowTexts(const TextCatalogue& catalogue, int distanceUnit) {
    const auto window = [&](const std::string& key) { return catalogue.LookupText("frmRaceResultsShow." + key); };
    const bool miles = distanceUnit == kRaceInMiles;
    ResultWindowTexts texts;
    for (std::size_t i = 0; i < texts.columns.size(); ++i)
        texts.columns[i] = window("frmRaceResultsShowTabCol" + std::to_string(i + 1));
    texts.units = {window(miles ? "frmRaceResultsShowTabCol9b" : "frmRaceResultsShowTabCol9a"),
                   window(miles ? "frmRaceResultsShowTabCol10b" : "frmRaceResultsShowTabCol10a")};
    texts.prizeHeads = {window("frmRaceResultsShowTabPrize"), window("frmRaceResultsShowTabAcePoints")};
    return texts;
}

PrintTexts LoadPrintTexts(const TextCatalogue& catalogue) {
    const auto text = [&](const std::string& key) { return catalogue.LookupText(key); };
    PrintTexts t;
    t.listHead = text("TxtPrnListHd");
    t.page1 = text("TxtPrnPage1");
    t.page2 = text("TxtPrnPage2");
    t.clubName = text("TxtPrnPagHdClubName");
    t.raceName = text("TxtPrnPagHdRaceName");
    t.releasePoint = text("TxtPrnPagHdLibPointName");
    t.date = text("TxtPrnPagHdDate");
    t.time = text("TxtPrnPagHdTime");
    t.offTime = text("TxtPrnPagHdOffTime");
    t.none = text("TxtPrnPagHdNone");
    t.avDistance = text("TxtPrnPagHdAvDistance");
    t.pigeonsEntered = text("TxtPrnPagHdNoPigEnt");
    t.pigeonsClassified = text("TxtPrnPagHdNoPigReg");
    t.fanciers = text("TxtPrnPagHdNoFan");
    t.headKm = text("TxtPrnPagHdKm");
    t.headMiles = text("TxtPrnPagHdMiles");
    for (std::size_t i = 0; i < t.upper.size(); ++i) t.upper[i] = text("TxtPrnTabHdCol0" + std::to_string(i + 1) + "Oben");
    for (std::size_t i = 0; i < t.lower.size(); ++i) t.lower[i] = text("TxtPrnTabHdCol0" + std::to_string(i + 1) + "Unten");
    t.tableKm = text("TxtPrnTabHdKm");
    t.tableMiles = text("TxtPrnTabHdMiles");
    t.metresPerMinute = text("TxtPrnTabHdMeterPerMinute");
    t.yardsPerMinute = text("TxtPrnTabHdYardsPerMinute");
    t.prizeMark = text("TxtPrnPrizeMark");
    t.prizeUpper = text("TxtPrnTabHdPrizeOben");
    t.prizeLower = text("TxtPrnTabHdPrizeUnten");
    t.pointsUpper = text("TxtPrnTabHdAcePointsOben");
    t.pointsLower = text("TxtPrnTabHdAcePointsUnten");
    t.season = text("TxtPrnPagHdSeason");
    t.prizes = text("TxtPrnPagHdPrizes");
    return t;
}

std::string PrizesText(const RacePrizes& prizes) {
    return std::to_string(prizes.Count()) + " (1:" + std::to_string(prizes.prizeRatio) + ")";
}

std::vector<HeadLine> ResultHeadLines(const Race& race, const PrintTexts& texts, const std::string& dateText,
                                      const RacePrizes* prizes) {
    const bool miles = race.distanceUnit == kRaceInMiles;
    std::vector<HeadLine> lines{
        {{texts.clubName, TrimRightBlanks(race.clubName)}, {}},
        // The fanciers stand beside the race: the release point's name and place fill their line.
        {{texts.raceName, TrimRightBlanks(race.name)}, {texts.fanciers, Counter(race.fanciersEntered)}},
        {{texts.date, dateText}, {texts.offTime, ClosedPeriodText(race, texts.none)}},
        {{texts.releasePoint, TrimRightBlanks(race.releasePointName)}, {}},
        {{texts.time, Two(race.releaseHour) + ":" + Two(race.releaseMinute)},
         {texts.avDistance, MeanDistanceText(race) + " " + (miles ? texts.headMiles : texts.headKm)}},
        {{texts.pigeonsEntered, Counter(race.pigeonsEntered)}, {texts.pigeonsClassified, Counter(race.pigeonsClassified)}},
    };
    // A line of its own: a season's name needs the width of the left column.
    if (prizes) lines.push_back({{texts.season, prizes->season}, {texts.prizes, PrizesText(*prizes)}});
    return lines;
}

std::size_t PageCount(std::size_t pigeons) { return std::max<std::size_t>(1, (pigeons + kRowsPerPage - 1) / kRowsPerPage); }

std::string PrintedSpeed(double metresPerMinute, int distanceUnit, char separator) {
    const double speed = InUnit(metresPerMinute, distanceUnit);
    if (speed >= kLargestPrintedSpeed) return distanceUnit == kRaceInMiles ? "*,***.***" : "*.***,***";
    return "   " + FormatDecimal(speed, 1, 3, separator);
}

std::string PrintedDistance(double km, int distanceUnit, char separator) {
    return distanceUnit == kRaceInMiles ? DistanceFigure(km, distanceUnit, separator)
                                        : "    " + DistanceFigure(km, distanceUnit, separator);
}

int AddPageHead(std::vector<PrintText>& t, const Race& race, const PrintTexts& texts, const std::string& title,
                const std::vector<HeadLine>& headLines, std::size_t number, std::size_t pageCount,
                const std::string& state) {
    t.push_back({kCounterX, kCounterY, texts.page1 + Counter(static_cast<long long>(number)) + " " + texts.page2 +
                                           Counter(static_cast<long long>(pageCount)),
                 false, PrintAlign::Start, 10});
    t.push_back({kTitleX, kTitleY, title, true, PrintAlign::Start, kTitleSize});
    if (!state.empty()) t.push_back({kTitleX, kStateY, state, true, PrintAlign::Start, 10});
    int y = kHeadTop;
    for (const HeadLine& line : headLines) {
        Pair(t, kLeftLabel, kLeftValue, y, line.left.label, line.left.value);
        if (!line.right.label.empty() || !line.right.value.empty()) Pair(t, kRightLabel, kRightValue, y, line.right.label, line.right.value);
        y += kHeadStep;
    }
    t.push_back({kLeftLabel, y, TrimRightBlanks(race.headerComment), false, PrintAlign::Start, 10});
    return y + kHeadStep;
}

std::vector<PrintPage> LinePages(const std::vector<std::string>& lines, const std::string& heading,
                                 std::size_t firstNumber) {
    constexpr int kTop = 760, kStep = 110, kBottom = 6650, kX = 500, kSize = 9;
    std::vector<PrintPage> pages;
    int y = kBottom;
    for (const std::string& line : lines) {
        if (y + kStep > kBottom) {
            pages.push_back({firstNumber + pages.size(), {{kTitleX, kTitleY, heading, true, PrintAlign::Start, kTitleSize}}});
            y = kTop;
        }
        pages.back().texts.push_back({kX, y, line, false, PrintAlign::Start, kSize});
        y += kStep;
    }
    return pages;
}

std::vector<PrintPage> ResultPages(const Race& race, const std::vector<ResultLine>& lines, const PrintTexts& texts,
                                   std::size_t firstPage, std::size_t lastPage, const std::string& dateText,
                                   char separator, const RacePrizes* prizes, const std::vector<std::string>& notes,
                                   const std::string& state) {
    const std::size_t pageCount = PageCount(lines.size());
    const bool miles = race.distanceUnit == kRaceInMiles;
    const std::vector<HeadLine> headLines = ResultHeadLines(race, texts, dateText, prizes);
    const PrintColumn* columns = prizes ? kSeasonRowColumns : kRowColumns;
    const int* upperX = prizes ? kSeasonUpperHeadX : kUpperHeadX;
    const int* lowerX = prizes ? kSeasonLowerHeadX : kLowerHeadX;
    // The head's season line pushes the table down by a line; 29 rows still end above the foot.
    const int down = prizes ? kHeadStep : 0;
    const int rowSize = prizes ? kSeasonRowSize : 10;
    const int headSize = prizes ? kSeasonHeadSize : kHeadSize;
    const ColumnRoom* rooms = prizes ? kSeasonColumnRooms : kColumnRooms;
    const auto head = [&](std::size_t column, bool upper, std::string text) {
        const int x = upper ? upperX[column] : lowerX[column];
        const PrintAlign align = HeadAlign(column);
        return PrintText{x, (upper ? kUpperHeadY : kLowerHeadY) + down, std::move(text), true, align, headSize,
                         RoomOf(rooms[column], x, align), upper};
    };
    std::vector<PrintPage> pages;
    for (std::size_t number = std::max<std::size_t>(firstPage, 1); number <= std::min(lastPage, pageCount); ++number) {
        PrintPage page{number, {}};
        auto& t = page.texts;
        AddPageHead(t, race, texts, texts.listHead, headLines, number, pageCount, state);

        for (std::size_t i = 0; i < texts.upper.size(); ++i) t.push_back(head(i, true, texts.upper[i]));
        // The remark's head gives way to the prize mark and the ace points.
        for (std::size_t i = 0; i < texts.lower.size() - (prizes ? 1 : 0); ++i) {
            std::string lower = texts.lower[i];
            if (i == 5) lower += miles ? texts.tableMiles : texts.tableKm;
            if (i == 6) lower += miles ? texts.yardsPerMinute : texts.metresPerMinute;
            t.push_back(head(i, false, lower));
        }
        if (prizes) {
            t.push_back(head(7, true, texts.prizeUpper));
            t.push_back(head(8, true, texts.pointsUpper));
            t.push_back(head(7, false, texts.prizeLower));
            t.push_back(head(8, false, texts.pointsLower));
        }

        const std::size_t from = (number - 1) * kRowsPerPage;
        const std::size_t to = std::min(from + kRowsPerPage, lines.size());
        for (std::size_t row = from; row < to; ++row) {
            const ResultLine& line = lines[row];
            const ResultRow cellsOf = ResultRowOf(row + 1, line, race.distanceUnit, separator, prizes);
            const int rowY = kFirstRowY + down + static_cast<int>(row - from) * kRowStep;
            const std::string cells[] = {ZeroPadded(static_cast<long long>(cellsOf.position), 4),
                                         cellsOf.fancierName,
                                         cellsOf.ringText,
                                         cellsOf.colour,
                                         line.flightTimeText,
                                         PrintedDistance(line.distanceKm, race.distanceUnit, separator),
                                         PrintedSpeed(line.speed, race.distanceUnit, separator)};
            for (std::size_t c = 0; c < std::size(cells); ++c)
                t.push_back({columns[c].x, rowY, cells[c], false, columns[c].align, rowSize});
            if (cellsOf.prize) {
                t.push_back({columns[7].x, rowY, texts.prizeMark, false, columns[7].align, rowSize});
                t.push_back({columns[8].x, rowY, cellsOf.acePoints, false, columns[8].align, rowSize});
            }
        }
        for (std::size_t i = 0; i < notes.size(); ++i)
            t.push_back({kLeftLabel, kNoteY + static_cast<int>(i) * kNoteStep, notes[i], true, PrintAlign::Start, kNoteSize});
        t.push_back({kLeftLabel, kFooterY, TrimRightBlanks(race.footerComment), false, PrintAlign::Start, 10});
        pages.push_back(std::move(page));
    }
    return pages;
}

int PrintLineStep(int pointSize) { return pointSize * 97 / 10; } // 1.15 lines of a point in page units

std::vector<PrintText> WrapPrintTexts(const std::vector<PrintText>& texts, const PrintMeasure& measure) {
    std::vector<PrintText> out;
    for (const PrintText& text : texts) {
        const auto fits = [&](std::string_view s) { return measure(text, s) <= text.room; };
        if (text.room <= 0 || fits(text.text)) {
            out.push_back(text);
            continue;
        }
        std::vector<std::string> lines;
        std::string line;
        const auto wordAt = [&](std::size_t at) { return text.text.find(' ', at); };
        for (std::size_t at = 0; at < text.text.size();) {
            const std::size_t end = std::min(wordAt(at), text.text.size());
            const std::string word = text.text.substr(at, end - at);
            at = end + 1;
            if (word.empty()) continue;
            if (line.empty() || !fits(line + " " + word)) {
                if (!line.empty()) lines.push_back(line);
                line = word;
            } else {
                line += " " + word;
            }
            // A word wider than the room breaks where it must, a character at least a line.
            while (line.size() > 1 && !fits(line)) {
                std::size_t cut = line.size() - 1;
                while (cut > 1 && !fits(std::string_view(line).substr(0, cut))) --cut;
                lines.push_back(line.substr(0, cut));
                line.erase(0, cut);
            }
        }
        if (!line.empty()) lines.push_back(line);
        const int step = PrintLineStep(text.pointSize);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            PrintText part = text;
            part.text = lines[i];
            part.y += step * (text.wrapsUp ? static_cast<int>(i) - static_cast<int>(lines.size() - 1) : static_cast<int>(i));
            out.push_back(part);
        }
    }
    return out;
}

PageRangeCheck CheckPageRange(const std::string& first, const std::string& last, std::size_t lowest,
                              std::size_t highest) {
    const auto from = ParseInteger(first);
    const auto to = ParseInteger(last);
    if (!from || !to) return {1, 1};
    PageRangeCheck check{0, 1, static_cast<std::size_t>(*from), static_cast<std::size_t>(*to)};
    if (*from > *to) check.message = 2;
    else if (*from < static_cast<long long>(lowest) || *from > static_cast<long long>(highest)) check.message = 3;
    else if (*to < static_cast<long long>(lowest) || *to > static_cast<long long>(highest)) {
        check.message = 4;
        check.focus = 2;
    }
    return check;
}

std::string PageRangeHint(std::size_t lowest, std::size_t highest) {
    return "(" + std::to_string(lowest) + "  /  " + std::to_string(highest) + ")";
}

} // namespace plumet
