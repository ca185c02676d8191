#include "core/race/races.h"
#include "fuzz.h"

// A race read from the list must be written back as the line it came from.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    fuzz::Put("racecalc/races.dat", data, size);
    for (const Race& race : LoadRaces(fuzz::Folder()).races)
        if (LineToRace(RaceToLine(race)) != race) __builtin_trap();
    return 0;
}
