#include "core/race/distances.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    static DistanceTable table;
    fuzz::Put("racecalc/dist007.dat", data, size);
    LoadDistanceTable(table, fuzz::Folder(), 7);
    for (const int fancier : {0, 1, 12, 1000})
        for (const int point : {0, 5, 100}) DistanceForBoxes(table.Distance(fancier, point), table.UnitFlag(fancier, point));
    return 0;
}
