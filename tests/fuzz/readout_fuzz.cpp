#include "core/clock/readoutfile.h"
#include "core/race/xmlexport.h"
#include "fuzz.h"

// The read-out file as its dialog lists it and as the XML export reads it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    const ReadoutFile file = LoadReadoutFile(fuzz::Put("race/W0120523.d07", data, size));
    ReadoutListLines(file.lines);
    ReadOutDocument(BuildReadOutDataSet(file.lines, "07", FixedUtcOffset(120)));
    return 0;
}
