#include "core/app/catalogue.h"
#include "core/race/resultexport.h"
#include "core/race/resultfile.h"
#include "core/race/resultlayout.h"
#include "fuzz.h"

// A result file read back is shown in the result window, printed and exported; every line it
// yields must be written again as a full line that reads back, the window and the pages must lay
// it out, and the exports must hold one row per line, whatever the names hold.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    static const ExportTexts exportTexts = [] {
        TextCatalogue catalogue;
        catalogue.LoadFromBytes(fuzz::Golden("../../data/club.txt"));
        return LoadExportTexts(catalogue);
    }();
    const PrintTexts& texts = exportTexts.print;
    const auto count = [](const std::string& text, std::string_view what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    };
    fuzz::Put("racecalc/Spring 1.flt", data, size);
    const ResultFile file = ReadResultFile(fuzz::Folder(), "Spring 1");
    for (const ResultLine& line : file.lines) {
        const std::string written = ResultFileLine(line, ',');
        if (written.size() != kResultLineLength || ParseResultFile({" 1 ", written}).lines.size() != 1) __builtin_trap();
    }
    Race race;
    race.name = PadRight("Spring 1", 30);
    for (const int unit : {kRaceInKm, kRaceInMiles}) {
        race.distanceUnit = unit;
        ResultWindowLines(file.lines, unit, ',');
        const std::size_t pages = PageCount(file.lines.size());
        if (ResultPages(race, file.lines, texts, 1, pages, "01.05.2024", ',').size() != pages) __builtin_trap();
        if (count(ResultCsv(race, file.lines, exportTexts), "\r\n") != file.lines.size() + 1) __builtin_trap();
        // Six head lines, the column heads, then the pigeons.
        if (count(ResultHtml(race, file.lines, exportTexts, "01.05.2024"), "<tr>") != file.lines.size() + 7)
            __builtin_trap();
    }
    return 0;
}
