#include <gtest/gtest.h>

#include <thread>

#include "support/scriptedlink.h"

namespace plumet {
namespace {

constexpr milliseconds kShort{1};

TEST(ScriptedClockLink, AClosedPortCarriesNothingAndAWaitingReceiveWakesFromOtherThreads) {
    ScriptedClockLink link;
    EXPECT_EQ(link.sendByte('>'), LinkStatus::PortError);
    EXPECT_EQ(link.receiveByte(kShort).status, LinkStatus::PortError);
    ASSERT_EQ(link.open(PortSettings{"7"}), LinkStatus::Ok);
    EXPECT_EQ(link.open(PortSettings{"7"}), LinkStatus::PortError);
    link.AnswerAfter(2, ">");
    link.sendByte('>');
    EXPECT_EQ(link.receiveByte(kShort).status, LinkStatus::Timeout); // the answer waits for the second byte
    link.sendByte('3');
    EXPECT_EQ(link.receiveByte(kShort).byte, '>');

    std::thread feeder([&] { link.QueueIncoming("\xFF"); });
    EXPECT_EQ(link.receiveByte(milliseconds(60000)).byte, 0xFF);
    feeder.join();
    std::stop_source cancel;
    std::thread canceller([&] { cancel.request_stop(); });
    EXPECT_EQ(link.receiveByte(milliseconds(60000), cancel.get_token()).status, LinkStatus::Cancelled);
    canceller.join();
}

} // namespace
} // namespace plumet
