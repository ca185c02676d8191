#include "core/exchange/exchangefile.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    static const Settings settings{"007North", "003East", "", "1"};
    fuzz::Put("exchange/T007003.d00", data, size);
    ReadExchange(ExchangeKind::Loft, fuzz::Folder(), settings, SexCharacters{'M', 'F', 'U'});
    return 0;
}
