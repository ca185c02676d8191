#include <stop_token>

#include "core/clock/terminalprogramload.h"
#include "fuzz.h"
#include "support/scriptedlink.h"

// What the clock answers while the loader asks for it with 0x08; the asking ends once every
// byte has been seen.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    static const bool image = (fuzz::WriteFile(FirmwareImagePath(fuzz::Folder(), "21"), "\x12\xAA\x00\xFF"), true);
    ScriptedClockLink link;
    link.open(PortSettings{});
    link.QueueIncoming(fuzz::Bytes(data, size));
    std::stop_source stop;
    const auto progress = [&](const TransferProgress& p) {
        if (p.what == kLoaderWaitStep && p.done > size + 1) stop.request_stop();
    };
    LoadTerminalProgram(link, fuzz::Folder(), "21", milliseconds{0}, progress, stop.get_token());
    return image ? 0 : 1;
}
