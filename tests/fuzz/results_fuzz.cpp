#include "app/catalogue.h"
#include "fuzz.h"
#include "race/resultfile.h"
#include "race/resultlayout.h"

// A result file read back is shown in the result window and printed; every line it yields must
// be written again as a full line that reads back, and the window and the pages must lay it out.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    static const PrintTexts texts = [] {
        TextCatalogue catalogue;
        catalogue.LoadFromBytes(fuzz::Golden("../../data/club.txt"));
        return LoadPrintTexts(catalogue);
    }();
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
    }
    return 0;
}
