#include "core/race/races.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    fuzz::Put("racecalc/RaceCalcDef.dat", data, size);
    if (const auto race = LoadDefaultRace(fuzz::Folder())) TrimmedRaceName(*race);
    return 0;
}
