#include "core/clock/racedataget.h"
#include "fuzz.h"
#include "support/scriptedlink.h"

// What the clock answers to ">4", checked and laid out as read-out lines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    static const RacedataTarget target{fuzz::Folder(), Settings{"012North", "005Mitte", "", "1"},
                                       ReadoutFields{"00", "23", "02", "06", "24"}, SexTexts{"M", "F", "U"}};
    ScriptedClockLink link;
    link.open(PortSettings{});
    link.AnswerAfter(2, fuzz::Bytes(data, size));
    GetRacedata(link, target, milliseconds{0}, nullptr);
    return 0;
}
