#include "core/registers/fanciers.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    FancierTable fanciers;
    LoadFanciers(fanciers, fuzz::Put("fancier/f005.DAT", data, size));
    for (const ListEntry& entry : FancierListEntries(fanciers)) CurrentFancierFields(fanciers, entry.key);
    return 0;
}
