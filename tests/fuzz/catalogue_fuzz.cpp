#include "core/app/catalogue.h"
#include "core/clock/pigeonsconvert.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    TextCatalogue catalogue;
    catalogue.LoadFromBytes(fuzz::Bytes(data, size));
    CatalogueSexTexts(catalogue);
    catalogue.LookupText("frmMain.Caption");
    return 0;
}
