#include <gtest/gtest.h>

#include "core/clock/clocklink.h"
#include "support/scriptedlink.h"

namespace plumet {
namespace {

constexpr milliseconds kShort{1};

TEST(ClockLinkHelpers, HighBytesPassUnchangedCountsGoHighByteFirstAndCancelStopsEveryHelper) {
    ScriptedClockLink link;
    ASSERT_EQ(link.open(kLoftSendConstants.SettingsFor("3")), LinkStatus::Ok);
    EXPECT_EQ(SendBytes(link, std::string("\x3E\x00\x80\xFF", 4)), LinkStatus::Ok);
    EXPECT_EQ(SendCount(link, 20026), LinkStatus::Ok);
    EXPECT_EQ(link.Sent(), std::string("\x3E\x00\x80\xFF\x4E\x3A", 6));

    link.QueueIncoming(std::string("\x03\xE8>x\xAB", 5));
    EXPECT_EQ(ReceiveCount(link, kShort).count, 1000);
    EXPECT_EQ(ExpectByte(link, '>', kShort), LinkStatus::Ok);
    EXPECT_EQ(ExpectByte(link, '>', kShort), LinkStatus::Unexpected);
    std::uint8_t record[2] = {};
    EXPECT_EQ(ReceiveBytes(link, record, kShort), LinkStatus::Timeout); // one byte there, the second never comes
    EXPECT_EQ(record[0], 0xAB);

    std::stop_source cancel;
    cancel.request_stop();
    link.QueueIncoming(">");
    EXPECT_EQ(DrainInput(link, kShort, cancel.get_token()), LinkStatus::Cancelled);
    EXPECT_EQ(SendBytes(link, ">1", cancel.get_token()), LinkStatus::Cancelled);
    EXPECT_EQ(ReceiveCount(link, kShort, cancel.get_token()).status, LinkStatus::Cancelled);
    EXPECT_EQ(link.Sent().size(), 6U);
}

} // namespace
} // namespace plumet
