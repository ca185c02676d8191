#include <gtest/gtest.h>

#include "clock/clocklink.h"
#include "clock/scriptedlink.h"

namespace plumet {
namespace {

constexpr milliseconds kShort{1};

class OpenLink : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(link.open(kLoftSendConstants.SettingsFor("3")), LinkStatus::Ok); }
    ScriptedClockLink link;
};

TEST_F(OpenLink, SendsBytesAndCountsUnchanged) {
    EXPECT_EQ(SendBytes(link, std::string("\x3E\x31\x00\x80\xFF", 5)), LinkStatus::Ok);
    EXPECT_EQ(SendCount(link, 20026), LinkStatus::Ok);
    EXPECT_EQ(link.Sent(), std::string("\x3E\x31\x00\x80\xFF\x4E\x3A", 7));
}

TEST_F(OpenLink, ReceivesCountsHighByteFirstAndRecordsWhole) {
    link.QueueIncoming(std::string("\x03\xE8\xAB\xCD\xEF", 5));
    const CountResult count = ReceiveCount(link, kShort);
    EXPECT_EQ(count.status, LinkStatus::Ok);
    EXPECT_EQ(count.count, 1000);
    std::uint8_t record[4] = {};
    // Three bytes are there; the fourth never comes.
    EXPECT_EQ(ReceiveBytes(link, record, kShort), LinkStatus::Timeout);
    EXPECT_EQ(record[0], 0xAB);
    EXPECT_EQ(record[2], 0xEF);
}

TEST_F(OpenLink, ExpectByteTellsAWrongByteFromAMissingOne) {
    link.QueueIncoming(">x");
    EXPECT_EQ(ExpectByte(link, '>', kShort), LinkStatus::Ok);
    EXPECT_EQ(ExpectByte(link, '>', kShort), LinkStatus::Unexpected);
    EXPECT_EQ(ExpectByte(link, '>', kShort), LinkStatus::Timeout);
}

TEST_F(OpenLink, DrainInputDropsWhatWaitsAndCancelStopsEverything) {
    link.QueueIncoming("stale bytes");
    EXPECT_EQ(DrainInput(link, kShort), LinkStatus::Ok);
    EXPECT_EQ(link.PendingIncoming(), 0U);

    std::stop_source cancel;
    cancel.request_stop();
    link.QueueIncoming(">");
    EXPECT_EQ(DrainInput(link, kShort, cancel.get_token()), LinkStatus::Cancelled);
    EXPECT_EQ(SendBytes(link, ">1", cancel.get_token()), LinkStatus::Cancelled);
    EXPECT_EQ(ReceiveCount(link, kShort, cancel.get_token()).status, LinkStatus::Cancelled);
    EXPECT_EQ(link.Sent(), "");
}

} // namespace
} // namespace plumet
