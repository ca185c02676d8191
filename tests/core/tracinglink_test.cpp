#include <gtest/gtest.h>

#include <vector>

#include "core/clock/tracinglink.h"
#include "support/scriptedlink.h"

namespace plumet {
namespace {

TEST(TracingClockLink, LogsEveryByteBothWaysAndWhatWentWrong) {
    ScriptedClockLink inner;
    std::vector<std::string> lines;
    TracingClockLink link(inner, [&](std::string_view line) { lines.emplace_back(line); });
    link.open(kLoftGetConstants.SettingsFor("ttyS0"));
    inner.AnswerAfter(1, std::string(">\x9A", 2));
    link.sendByte('>');
    for (int i = 0; i < 3; ++i) link.receiveByte(milliseconds(1));
    std::stop_source cancel;
    cancel.request_stop();
    link.sendByte(0x0D, cancel.get_token());
    link.close();
    EXPECT_EQ(lines, (std::vector<std::string>{"open ttyS0 9600,n,8,1 out 512 in 16000: ok", "PC    3E '>'",
                                               "CLOCK 3E '>'", "CLOCK 9A", "CLOCK -- timeout after 1 ms",
                                               "PC    0D not sent: cancelled", "close"}));
}

} // namespace
} // namespace plumet
