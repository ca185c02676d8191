#include "core/app/catalogue.h"
#include "core/race/seasonlayout.h"
#include "fuzz.h"

// A season file is either read whole, and then written back as a file that reads back the same,
// or refused with words that name its line; a season read counts the golden races without fault
// and lays out all its tables.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    static const TextCatalogue catalogue = [] {
        TextCatalogue shipped;
        shipped.LoadFromBytes(fuzz::Golden("../../data/club.txt"));
        for (const char* file : {"races.dat", "Bastogne.flt", "Ettelbruck.flt", "Arlon.flt"})
            fuzz::WriteFile(fuzz::Folder() / "racecalc" / file, fuzz::Golden(std::string("season/") + file));
        return shipped;
    }();
    fuzz::Put("racecalc/Fuzz.season", data, size);
    const std::vector<SeasonFile> files = LoadSeasons(fuzz::Folder());
    if (files.size() != 1) __builtin_trap();
    if (!files[0].season) {
        if (SeasonProblemText(catalogue, fuzz::Folder(), files[0].problem).empty()) __builtin_trap();
        return 0;
    }
    const Season& season = *files[0].season;
    SeasonFileProblem problem;
    if (ParseSeasonFile(SeasonFileLines(season), problem) != season) __builtin_trap();
    const SeasonStandings standings = CalculateSeason(fuzz::Folder(), season, files);
    if (standings.races.size() != season.races.size()) __builtin_trap();
    const SeasonTexts texts = LoadSeasonTexts(catalogue);
    const SeasonTables tables = SeasonTablesOf(standings, texts, catalogue, SeasonDateText, ',');
    if (SeasonPages(tables, texts).empty() || FixedWidthLines(tables.pigeons).size() != standings.standings.pigeons.size() + 1)
        __builtin_trap();
    return 0;
}
