#include <gtest/gtest.h>

#include <vector>

#include "core/clock/clocksimulator.h"
#include "core/clock/racepointssend.h"
#include "core/clock/transferface.h"
#include "support/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

class RacePointsSend : public ::testing::Test {
protected:
    void SetUp() override { link.open(PortSettings{}); }
    RacePointsSendOutcome Send(ClockLink& through, std::stop_token cancel = {}) {
        return SendRacePoints(through, folder.path(), milliseconds{20},
                              [this](const TransferProgress& p) {
                                  lines.push_back(std::to_string(p.done) + "/" + std::to_string(p.total) + " " + p.what);
                              },
                              cancel);
    }

    TestFolder folder;
    FrozenTimeSource master;
    ClockSimulator clock{master};
    ScriptedClockLink link{clock};
    std::vector<std::string> lines;
};

TEST_F(RacePointsSend, AMissingRegisterIsCreatedAndSentAs1290Bytes) {
    std::filesystem::create_directory(folder.path() / "racepo");
    const RacePointsSendOutcome out = Send(link);
    EXPECT_EQ(out.result, RacePointsSendResult::Confirmed);
    EXPECT_STREQ(FaceOf(out.result).status, "txtCommunicationOk");
    EXPECT_EQ(link.Sent(), ">8" + std::string(13 + 98 * 13, ' ') + ">");
    EXPECT_TRUE(folder.Exists("racepo/racepo.dat"));
    EXPECT_EQ(clock.State().releasePoints.size(), 99U);
    EXPECT_EQ(lines.back(), "98/98 98" + std::string(15, ' '));
}

TEST_F(RacePointsSend, NamesGoUnescapedInRegisterOrderAndTheClockAnswersAfterAPause) {
    folder.Write("racepo/racepo.dat", " 3 \r\n01BRUXELLES" + std::string(53, ' ') + "\r\n02A>B" + std::string(59, ' ') +
                                          "\r\n03" + std::string(62, ' ') + "\r\n");
    EXPECT_EQ(Send(link).result, RacePointsSendResult::Confirmed);
    EXPECT_EQ(link.Sent(), ">8" + std::string(13, ' ') + "BRUXELLES    A>B          " + std::string(13, ' ') + ">");
    EXPECT_EQ(lines, (std::vector<std::string>{"0/3 ", "1/3 01  BRUXELLES    ", "2/3 02  A>B          ",
                                               "3/3 03" + std::string(15, ' ')}));
}

TEST_F(RacePointsSend, NoAnswerABrokenPortCancelAndAnUnreadableRegisterSaySo) {
    std::filesystem::create_directory(folder.path() / "racepo");
    ScriptedClockLink silent;
    silent.open(PortSettings{});
    RacePointsSendOutcome out = Send(silent);
    EXPECT_EQ(out.result, RacePointsSendResult::NotConfirmed);
    EXPECT_EQ(FaceOf(out.result).status + std::to_string(FaceOf(out.result).message), "txtCommunicationError2");
    FailingClockLink failing(link);
    failing.PortErrorAtSend(20);
    out = Send(failing);
    EXPECT_EQ(out.result, RacePointsSendResult::Broken);
    EXPECT_EQ(FaceOf(out.result).status + std::to_string(FaceOf(out.result).message), "txtCommunicationError0");
    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(Send(link, stop.get_token()).result, RacePointsSendResult::Cancelled);

    folder.Write("racepo/racepo.dat", " 2 \r\nshort\r\n");
    ScriptedClockLink untouched;
    untouched.open(PortSettings{});
    out = Send(untouched);
    EXPECT_EQ(out.result, RacePointsSendResult::NotSendable);
    EXPECT_EQ(out.refusal.reason, RefusalReason::RegisterRefused);
    EXPECT_EQ(untouched.Sent(), "");
}

} // namespace
} // namespace plumet
