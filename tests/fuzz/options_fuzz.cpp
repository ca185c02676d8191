#include "core/app/options.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    fuzz::Put("OPTIONS.PAR", data, size);
    fuzz::Put("plumet.ini", data, size);
    const Settings settings = ReadOptions(fuzz::Folder());
    settings.RegionName(), settings.FederationName(), settings.FederationNumber();
    return 0;
}
