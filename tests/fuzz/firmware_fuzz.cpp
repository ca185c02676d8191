#include "core/clock/terminalprogramload.h"
#include "fuzz.h"
#include "support/scriptedlink.h"

// The same image as hexadecimal and as raw upload, to a clock that answers the handshake.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    for (const char* code : {"C", "21"}) {
        fuzz::Put("tools/trint" + std::string(code) + ".exe", data, size);
        ScriptedClockLink link;
        link.open(PortSettings{});
        link.AnswerAfter(1, "\x08");
        LoadTerminalProgram(link, fuzz::Folder(), code, milliseconds{0}, nullptr, {});
    }
    return 0;
}
