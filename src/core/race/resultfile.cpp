#include "core/race/resultfile.h"

#include <algorithm>

#include "core/app/fixedwidth.h"
#include "core/race/decimals.h"
#include "core/race/racecalcfolder.h"
#include "core/race/resultcolumns.h"

namespace plumet {
namespace {

constexpr double kLargestFigure = 9999.999; // "0000.000"
constexpr long long kLargestHours = 999;     // "000"

std::string Figure(double value, char separator) {
    return FormatDecimal(std::clamp(value, 0.0, kLargestFigure), 4, 3, separator);
}

} // namespace

std::string ResultFileLine(const ResultLine& line, char separator) {
    const long long seconds = std::max(line.flightSeconds, 0LL);
    const long long hours = std::min(seconds / 3600, kLargestHours);
    namespace column = ResultColumn;
    std::string text;
    text.reserve(kResultLineLength);
    SetField(text, column::FancierName, line.fancierName);
    SetField(text, column::Ring, line.ringText);
    SetField(text, column::Colour, line.colour);
    SetField(text, column::FlightHours, ZeroPadded(hours, column::FlightHours.width()));
    SetField(text, column::FlightMinutes, ZeroPadded(seconds % 3600 / 60, column::FlightMinutes.width()));
    SetField(text, column::FlightSeconds, ZeroPadded(seconds % 60, column::FlightSeconds.width()));
    SetField(text, column::Distance, Figure(line.distanceKm, separator));
    SetField(text, column::Speed, Figure(line.speed, separator));
    return text;
}

std::vector<std::string> ResultFileLines(const std::vector<ResultLine>& lines, char separator) {
    std::vector<std::string> fileLines;
    fileLines.reserve(lines.size() + 1);
    fileLines.push_back(FormatCountLine(static_cast<long long>(lines.size())));
    for (const ResultLine& line : lines) fileLines.push_back(ResultFileLine(line, separator));
    return fileLines;
}

SaveResult WriteResultFile(const Path& programFolder, const Race& race, const std::vector<ResultLine>& lines,
                           char separator) {
    return SaveRaceCalcLines(ResultFilePath(programFolder, race.name), ResultFileLines(lines, separator));
}

ResultFile ParseResultFile(const std::vector<std::string>& fileLines) {
    ResultFile file{ReadStatus::Ok, {}, true, {}};
    if (fileLines.empty()) return file;
    const auto counted = ParseInteger(fileLines[0]);
    const long long count = counted.value_or(0);
    for (std::size_t i = 1; i < fileLines.size() && static_cast<long long>(i) <= count; ++i) {
        const std::string& text = fileLines[i];
        if (text.size() < kResultLineLength) break;
        namespace column = ResultColumn;
        const std::string minuteText = Field(text, column::FlightMinutes);
        const std::string secondText = Field(text, column::FlightSeconds);
        const auto hours = ParseInteger(Field(text, column::FlightHours));
        const auto minutes = ParseInteger(minuteText);
        const auto seconds = ParseInteger(secondText);
        const auto distance = ParseDecimal(Field(text, column::Distance));
        const auto speed = ParseDecimal(Field(text, column::Speed));
        if (!hours || !minutes || !seconds || !distance || !speed) break;
        ResultLine line;
        line.fancierName = Field(text, column::FancierName);
        line.ringText = Field(text, column::Ring);
        line.colour = Field(text, column::Colour);
        line.flightSeconds = *hours * 3600 + *minutes * 60 + *seconds;
        line.flightTimeText = PadLeft(std::to_string(*hours), column::FlightHours.width(), ' ') + "." + minuteText +
                              "." + secondText;
        line.distanceKm = *distance;
        line.speed = *speed;
        file.lines.push_back(std::move(line));
    }
    file.whole = counted && *counted >= 0 && static_cast<long long>(file.lines.size()) == *counted;
    if (!file.whole) {
        // The line where reading stopped; a file that ends early has none to blame.
        const std::size_t stop = counted && *counted >= 0 ? file.lines.size() + 1 : 0;
        file.problem = {FileReason::Damaged, stop < fileLines.size() ? stop + 1 : 0, {}};
    }
    return file;
}

ResultFile ReadResultFile(const Path& programFolder, std::string_view raceName) {
    const FileContent content = ReadWholeFile(ResultFilePath(programFolder, raceName));
    if (content.status != ReadStatus::Ok) return {content.status, {}, false, content.problem};
    return ParseResultFile(SplitLines(content.bytes));
}

} // namespace plumet
