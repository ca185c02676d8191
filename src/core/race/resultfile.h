#pragma once
// The result file of a race, "racecalc\" + trimmed race name + ".flt": a count line, then one
// 68-character line per classified pigeon in ranking order: fancier name 20, ring as displayed
// 21, colour 4, flight hours "000", minutes "00", seconds "00", kilometres "0000.000" and
// metres per minute "0000.000".
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/files.h"
#include "core/race/races.h"
#include "core/race/resultcolumns.h"

namespace plumet {

inline constexpr std::size_t kResultLineLength = ResultColumn::Speed.last;

struct ResultLine {
    std::string fancierName;    // 20
    std::string ringText;       // 21, as displayed
    std::string colour;         // 4
    long long flightSeconds = 0;
    std::string flightTimeText; // "  5.03.07" when read back, "005.03.07" when calculated
    double distanceKm = 0.0;
    double speed = 0.0;         // metres per minute
    bool dataError = false;
};

// The 68 characters of one pigeon. A figure too large for its columns is written as the largest
// that fits, so the columns of the line hold.
std::string ResultFileLine(const ResultLine& line, char separator);

std::vector<std::string> ResultFileLines(const std::vector<ResultLine>& lines, char separator);
SaveResult WriteResultFile(const Path& programFolder, const Race& race, const std::vector<ResultLine>& lines,
                           char separator);

struct ResultFile {
    ReadStatus status = ReadStatus::Missing;
    std::vector<ResultLine> lines;
    bool whole = true; // false when reading stopped before the count of the first line
    FileProblem problem; // why it is unreadable, or the line where a file not whole stops
};

// Reads the pigeons back; "," and "." are both taken as the separator. Reading stops at the
// first line that is not a result line, keeping what was read.
ResultFile ReadResultFile(const Path& programFolder, std::string_view raceName);
ResultFile ParseResultFile(const std::vector<std::string>& fileLines);

} // namespace plumet
