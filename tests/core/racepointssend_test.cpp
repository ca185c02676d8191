#include <gtest/gtest.h>

#include <vector>

#include "clock/clocksimulator.h"
#include "clock/racepointssend.h"
#include "clock/scriptedlink.h"
#include "releasepoints/releasepoints.h"
#include "testfolder.h"

namespace plumet {
namespace {

constexpr milliseconds kTimeout{20};

std::string Register(const std::vector<std::string>& names) {
    std::string text = " " + std::to_string(names.size()) + " \r\n";
    for (std::size_t n = 1; n <= names.size(); ++n) {
        std::string record = (n < 10 ? "0" : "") + std::to_string(n) + names[n - 1];
        record.resize(64, ' ');
        text += record + "\r\n";
    }
    return text;
}

class RacePointsSend : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(link.open(kRacePointsSendConstants.SettingsFor("1")), LinkStatus::Ok); }

    RacePointsSendOutcome Send(ClockLink& through, std::stop_token cancel = {}) {
        return SendRacePoints(through, folder.path(), kTimeout,
                              [this](std::size_t sent, std::size_t total, const std::string& line) {
                                  lines.push_back(std::to_string(sent) + "/" + std::to_string(total) + " " + line);
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
    EXPECT_EQ(out.status, "txtCommunicationOk");
    EXPECT_EQ(out.bytes, 1290U);
    EXPECT_EQ(link.Sent(), ">8" + std::string(13 + 98 * 13, ' ') + ">");
    EXPECT_TRUE(folder.Exists("racepo/racepo.dat"));
    EXPECT_EQ(clock.State().releasePoints.size(), 99U);
    EXPECT_EQ(lines.front(), "0/98 ");
    EXPECT_EQ(lines.back(), "98/98 98" + std::string(15, ' '));
}

TEST_F(RacePointsSend, NamesGoUnescapedInRegisterOrder) {
    folder.Write("racepo/racepo.dat", Register({"BRUXELLES", "A>B", ""}));
    const RacePointsSendOutcome out = Send(link);
    EXPECT_EQ(out.result, RacePointsSendResult::Confirmed); // the clock answers after a pause
    EXPECT_EQ(link.Sent(), ">8" + std::string(13, ' ') + "BRUXELLES    A>B          " + std::string(13, ' ') + ">");
    EXPECT_EQ(clock.State().releasePoints,
              (std::vector<std::string>{std::string(13, ' '), "BRUXELLES    ", "A>B          ", std::string(13, ' ')}));
    EXPECT_EQ(lines, (std::vector<std::string>{"0/3 ", "1/3 01  BRUXELLES    ", "2/3 02  A>B          ",
                                               "3/3 03" + std::string(15, ' ')}));
}

TEST_F(RacePointsSend, AnUnconfirmedOrBrokenSendSaysSo) {
    folder.Write("racepo/racepo.dat", Register({"BRUXELLES"}));
    ScriptedClockLink silent;
    silent.open(PortSettings{});
    RacePointsSendOutcome out = Send(silent);
    EXPECT_EQ(out.result, RacePointsSendResult::NotConfirmed);
    EXPECT_EQ(out.status, "txtCommunicationError");
    EXPECT_EQ(out.message, 2);

    FailingClockLink failing(link);
    failing.PortErrorAtSend(20);
    out = Send(failing);
    EXPECT_EQ(out.result, RacePointsSendResult::Broken);
    EXPECT_EQ(out.status, "txtCommunicationError");
    EXPECT_EQ(out.message, 0);

    std::stop_source stop;
    stop.request_stop();
    out = Send(link, stop.get_token());
    EXPECT_EQ(out.result, RacePointsSendResult::Cancelled);
    EXPECT_EQ(out.bytes, 0U);

    folder.Write("racepo/racepo.dat", " 2 \r\nshort\r\n");
    ScriptedClockLink untouched;
    untouched.open(PortSettings{});
    out = Send(untouched);
    EXPECT_EQ(out.result, RacePointsSendResult::NotSendable);
    EXPECT_EQ(out.status, "txtCommunicationError");
    EXPECT_FALSE(out.problem.empty());
    EXPECT_EQ(untouched.Sent(), "");
}

} // namespace
} // namespace plumet
