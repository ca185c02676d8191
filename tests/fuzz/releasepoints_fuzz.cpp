#include "core/releasepoints/releasepoints.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    RacePointTable points;
    LoadRacePoints(points, fuzz::Put("racepo/racepo.dat", data, size));
    for (const ListEntry& entry : RacePointListEntries(points)) CurrentRacePointFields(points, entry.key);
    for (const std::string& record : points.Records()) RacePointFieldsForDisplay(record);
    return 0;
}
