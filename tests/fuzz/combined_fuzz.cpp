#include "core/app/catalogue.h"
#include "core/race/combinedlist.h"
#include "fuzz.h"

// A combined list file is either read whole, and then written back as a file that reads back the
// same, or refused with words that name its line; a list read merges the golden club races
// without fault and lays out every pigeon once.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    static const TextCatalogue catalogue = [] {
        TextCatalogue shipped;
        shipped.LoadFromBytes(fuzz::Golden("../../data/club.txt"));
        UseCatalogues({}, shipped);
        for (const char* file : {"races.dat", "Metz A.flt", "Metz B.flt", "Metz C.flt"})
            fuzz::WriteFile(fuzz::Folder() / "racecalc" / file, fuzz::Golden(std::string("race/combined/") + file));
        return shipped;
    }();
    fuzz::Put("racecalc/Fuzz.cmb", data, size);
    const std::vector<CombinedFile> files = LoadCombinedLists(fuzz::Folder());
    if (files.size() != 1) __builtin_trap();
    if (!files[0].list) {
        if (files[0].problem.empty()) __builtin_trap();
        return 0;
    }
    const CombinedList& list = *files[0].list;
    std::size_t line = 0;
    std::string reason;
    if (ParseCombinedListFile(CombinedListFileLines(list), line, reason) != list) __builtin_trap();
    const CombinedResult result = CalculateCombined(fuzz::Folder(), list, files, LoadRaces(fuzz::Folder()));
    if (result.races.size() != list.races.size() || result.clubs.size() != result.lines.size()) __builtin_trap();
    if (CombinedWindowLines(result, ',').size() != result.lines.size()) __builtin_trap();
    if (result.Complete() != CombinedNotes(catalogue, result).empty()) __builtin_trap();
    return 0;
}
