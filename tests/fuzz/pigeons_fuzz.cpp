#include "core/clock/pigeonsconvert.h"
#include "core/registers/pigeons.h"
#include "fuzz.h"

// The pigeon file as the main list shows it and as the loft send codes it for the clock.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    static const PigeonsConvert convert(SexTexts{"M", "F", "U"});
    PigeonTable pigeons;
    LoadPigeons(pigeons, fuzz::Put("pigeon/p005001.dat", data, size));
    PigeonListEntries(pigeons);
    for (const std::string& record : pigeons.Records()) {
        if (const auto ring = convert.EncodeRing(record)) convert.Decode(*ring);
        if (const auto chip = PigeonsConvert::EncodeChip(record)) PigeonsConvert::DecodeChip(*chip);
        FindPigeon(pigeons, record);
    }
    return 0;
}
