#include "core/clock/printrelay.h"
#include "fuzz.h"

// A clock's print-out through the printer and screen relays.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    PrintRelay printer(PrintTarget::Printer);
    PrintRelay screen(PrintTarget::Screen);
    PrinterDocument document;
    for (const std::uint8_t c : fuzz::Bytes(data, size)) {
        PrintRelayEffect effect = printer.OnChar(c);
        if (effect.kind == PrintRelayEffect::Kind::Line) document.AddLine(std::move(effect.text));
        if (effect.kind == PrintRelayEffect::Kind::PageEnd) document.EndPage();
        screen.OnChar(c);
    }
    document.Pages();
    return 0;
}
