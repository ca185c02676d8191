#include "core/clock/loftget.h"
#include "fuzz.h"
#include "support/scriptedlink.h"

// What the clock answers to ">3", read into the pigeon file of club 007, fancier 012.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    static const Settings settings{"012North", "005Mitte", "", "1"};
    ScriptedClockLink link;
    link.open(PortSettings{});
    link.AnswerAfter(2, fuzz::Bytes(data, size));
    GetLoft(link, fuzz::Folder(), settings, SexTexts{"M", "F", "U"}, milliseconds{0}, nullptr, {});
    return 0;
}
