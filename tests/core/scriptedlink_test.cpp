#include <gtest/gtest.h>

#include <thread>

#include "clock/scriptedlink.h"

namespace plumet {
namespace {

constexpr milliseconds kShort{1};

// Answers every byte with its successor and notes pauses and hang-ups.
class EchoPeer : public LinkPeer {
public:
    std::string OnByte(std::uint8_t b) override { return std::string(1, static_cast<char>(b + 1)); }
    std::string OnPause() override {
        ++pauses;
        return pauses == 1 ? "P" : "";
    }
    void OnHangUp() override { ++hangUps; }
    int pauses = 0;
    int hangUps = 0;
};

TEST(ScriptedClockLink, OnlyAnOpenPortCarriesBytesOrModemLines) {
    ScriptedClockLink link;
    link.SetModemLines({true, false});
    EXPECT_EQ(link.sendByte('>'), LinkStatus::PortError);
    EXPECT_EQ(link.receiveByte(kShort).status, LinkStatus::PortError);
    EXPECT_FALSE(link.modemLines().clearToSend);
    ASSERT_EQ(link.open(PortSettings{"7"}), LinkStatus::Ok);
    EXPECT_EQ(link.open(PortSettings{"7"}), LinkStatus::PortError);
    EXPECT_TRUE(link.modemLines().clearToSend);
}

TEST(ScriptedClockLink, ScriptAnswersAfterTheBytesItWaitsFor) {
    ScriptedClockLink link;
    link.open(PortSettings{});
    link.AnswerAfter(2, ">");
    link.sendByte('>');
    EXPECT_EQ(link.receiveByte(kShort).status, LinkStatus::Timeout);
    link.sendByte('3');
    EXPECT_EQ(link.receiveByte(kShort).byte, '>');
    link.AnswerAfter(1, "late"); // already passed: queued at once
    EXPECT_EQ(link.PendingIncoming(), 4U);
}

TEST(ScriptedClockLink, PeerSeesEveryByteAndEveryPauseAndTheHangUp) {
    EchoPeer peer;
    ScriptedClockLink link(peer);
    link.open(PortSettings{});
    link.sendByte(0xFE);
    link.sendByte('A');
    EXPECT_EQ(link.receiveByte(kShort).byte, 0xFF);
    EXPECT_EQ(link.receiveByte(kShort).byte, 'B');
    EXPECT_EQ(peer.pauses, 0);
    EXPECT_EQ(link.receiveByte(kShort).byte, 'P');
    EXPECT_EQ(link.receiveByte(kShort).status, LinkStatus::Timeout);
    EXPECT_EQ(peer.pauses, 2);
    link.close();
    link.close();
    EXPECT_EQ(peer.hangUps, 1);
    EXPECT_EQ(link.Sent(), "\xFE" "A");
}

TEST(ScriptedClockLink, AWaitingReceiveWakesForBytesAndForCancelFromOtherThreads) {
    ScriptedClockLink link;
    link.open(PortSettings{});
    std::thread feeder([&] { link.QueueIncoming(">"); });
    EXPECT_EQ(link.receiveByte(milliseconds(60000)).byte, '>');
    feeder.join();

    std::stop_source cancel;
    std::thread canceller([&] { cancel.request_stop(); });
    EXPECT_EQ(link.receiveByte(milliseconds(60000), cancel.get_token()).status, LinkStatus::Cancelled);
    canceller.join();
}

TEST(FailingClockLink, BreaksWhereItIsTold) {
    ScriptedClockLink inner;
    FailingClockLink refusing(inner);
    refusing.FailOpen();
    EXPECT_EQ(refusing.open(PortSettings{}), LinkStatus::PortError);
    EXPECT_FALSE(inner.IsOpen());

    FailingClockLink link(inner);
    link.PortErrorAtSend(2);
    link.WrongByteAtReceive(0, 'x');
    link.SilentFromReceive(2);
    ASSERT_EQ(link.open(PortSettings{}), LinkStatus::Ok);
    inner.QueueIncoming(">>>");
    EXPECT_EQ(link.sendByte('>'), LinkStatus::Ok);
    EXPECT_EQ(link.sendByte('3'), LinkStatus::Ok);
    EXPECT_EQ(link.sendByte('4'), LinkStatus::PortError);
    EXPECT_EQ(link.sendByte('5'), LinkStatus::PortError);
    EXPECT_EQ(inner.Sent(), ">3");
    EXPECT_EQ(link.receiveByte(kShort).byte, 'x');
    EXPECT_EQ(link.receiveByte(kShort).byte, '>');
    EXPECT_EQ(link.receiveByte(kShort).status, LinkStatus::Timeout);
    EXPECT_EQ(inner.PendingIncoming(), 1U);

    FailingClockLink broken(inner);
    broken.PortErrorAtReceive(0);
    EXPECT_EQ(broken.receiveByte(kShort).status, LinkStatus::PortError);

    std::stop_source cancel;
    cancel.request_stop();
    EXPECT_EQ(link.receiveByte(milliseconds(60000), cancel.get_token()).status, LinkStatus::Cancelled);
}

} // namespace
} // namespace plumet
