#include "core/race/manualtimes.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    static const Race race = [] {
        Race spring;
        spring.name = PadRight("Spring 1", 30);
        spring.clubNumber = 7;
        return spring;
    }();
    static const ManualLoft meier = [] {
        PigeonTable pigeons;
        LoadPigeons(pigeons, Path(PLUMET_TEST_DATA) / "race" / "p007012.dat");
        return ManualLoftOf("012" + PadRight("Meier", 20) + "N51301525E0070500001", pigeons);
    }();
    fuzz::Put("racecalc/Spring 1_wf012.man", data, size);
    ManualLoft loft = meier;
    ReadManualFile(fuzz::Folder(), race, loft);
    for (const ManualPigeon& pigeon : loft.pigeons) ManualPigeonItem(pigeon);
    return 0;
}
