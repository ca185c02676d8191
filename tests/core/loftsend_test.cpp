#include <gtest/gtest.h>

#include <vector>

#include "core/clock/clocksimulator.h"
#include "core/clock/loftsend.h"
#include "core/clock/transferface.h"
#include "support/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

const SexTexts kSexes{"M", "F", "U"};
const std::vector<std::string> kPigeons = {"B       05     1234567M1300000000BLUE00",
                                           "D     20190815      12F0012345678GRIZ01",
                                           "DV      230815       9UABCDEF0100    01"};

std::string PigeonFile(const std::vector<std::string>& records) {
    std::vector<std::string> lines = {FormatCountLine(records.size())};
    lines.insert(lines.end(), records.begin(), records.end());
    return JoinLinesCrLf(lines);
}

LoftToSend Loft(std::string club = "007", std::string fancier = "012") {
    return {"012Nord", "005Mitte", std::move(club), std::move(fancier), "M\xFCller Hans         "};
}

class LoftSend : public ::testing::Test {
protected:
    void SetUp() override {
        link.open(PortSettings{});
        folder.Write("pigeon/p007012.dat", PigeonFile(kPigeons));
    }
    LoftSendOutcome Send(ClockLink& through, const LoftToSend& loft, std::stop_token cancel = {}) {
        return SendLoft(through, folder.path(), loft, kSexes, now, milliseconds{20},
                        [&](const TransferProgress& p) {
                            steps.emplace_back(p.done, p.total);
                            if (p.done == 1 && stopAtOne) stop.request_stop();
                        },
                        cancel);
    }

    TestFolder folder;
    FrozenTimeSource now{MakeDateTime(2024, 3, 9, 17, 45, 30)}; // a Saturday
    FrozenTimeSource master{MakeDateTime(2024, 3, 9, 17, 0, 0)};
    ClockSimulator clock{master};
    ScriptedClockLink link{clock};
    std::vector<std::pair<std::size_t, std::size_t>> steps;
    std::stop_source stop;
    bool stopAtOne = false;
};

TEST_F(LoftSend, SendsKeyNamePigeonsAndTimeAndTheClockConfirms) {
    const LoftSendOutcome out = Send(link, Loft());
    EXPECT_EQ(out.result, LoftSendResult::Confirmed);
    EXPECT_STREQ(FaceOf(out.result).status, "txtCommunicationOk");
    const std::string sent = link.Sent();
    ASSERT_EQ(sent.size(), 30 + 60 + 8U);
    EXPECT_EQ(sent.substr(0, 30), std::string(">1\x00\x56\x0C\x05\x07\x0C", 8) + "M\xFCller Hans         " +
                                      std::string("\x00\x03", 2));
    EXPECT_EQ(sent.substr(90), std::string(">\x09\x03\x18\x07\x11\x2D\x1E"));
    ASSERT_EQ(clock.State().pigeons.size(), 3U);
    EXPECT_EQ(clock.State().pigeons[2].ring, *PigeonsConvert(kSexes).EncodeRing(kPigeons[2]));
    EXPECT_EQ(clock.ClockTime(), now.Now());
    EXPECT_EQ(steps, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));

    link.close(); // a fancier without a pigeon file: key and time only
    link.open(PortSettings{});
    EXPECT_EQ(Send(link, Loft("007", "013")).result, LoftSendResult::Confirmed);
    ASSERT_EQ(link.Sent().size(), 98 + 38U);
    EXPECT_EQ(link.Sent().substr(98 + 2, 2) + link.Sent().substr(98 + 28, 2), std::string("\x00\x1A\x00\x00", 4));
}

TEST_F(LoftSend, RefusesBeforeTheFirstByteWhatTheClockCannotTake) {
    LoftToSend badRegion = Loft();
    badRegion.region = "300Sud";
    const std::pair<LoftToSend, std::string> cases[] = {
        {Loft("300", "012"), PigeonFile(kPigeons)},
        {Loft("007", "256"), PigeonFile(kPigeons)},
        {badRegion, PigeonFile(kPigeons)},
        {Loft(), PigeonFile({kPigeons[0], "B       05     1234568M13 0000000BLUE00"})}, // blank in the chip
        {Loft(), PigeonFile({"B       05     1234568Mabcdef0100BLUE00"})},                // lower-case chip
        {Loft(), PigeonFile({"B       45     1234568M1300000000BLUE00"})},                // year 45
        {Loft(), " 1001 \r\n"},                                                              // unreadable file
    };
    for (const auto& [loft, pigeonFile] : cases) {
        folder.Write("pigeon/p" + loft.club + loft.fancier + ".dat", pigeonFile);
        const LoftSendOutcome out = Send(link, loft);
        EXPECT_EQ(out.result, LoftSendResult::NotSendable) << loft.club << "/" << pigeonFile;
        EXPECT_STREQ(FaceOf(out.result).status, "txtCommunicationError");
        EXPECT_TRUE(out.refusal); // its words: Refusals.*
    }
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(link.Sent(), "");
}

TEST_F(LoftSend, NoConfirmationGivesMessageTwoCancelAndAPortFailureStopAtOnce) {
    ScriptedClockLink silent;
    silent.open(PortSettings{});
    const LoftSendOutcome unconfirmed = Send(silent, Loft());
    EXPECT_EQ(unconfirmed.result, LoftSendResult::NotConfirmed);
    EXPECT_EQ(FaceOf(unconfirmed.result).status + std::to_string(FaceOf(unconfirmed.result).message),
              "txtCommunicationError2");

    stopAtOne = true;
    EXPECT_EQ(Send(link, Loft(), stop.get_token()).result, LoftSendResult::Cancelled);
    EXPECT_EQ(link.Sent().size(), 50U); // the head and one pigeon, nothing more
    link.close();
    EXPECT_TRUE(clock.State().pigeons.empty());

    ScriptedClockLink inner;
    inner.open(PortSettings{});
    FailingClockLink failing(inner);
    failing.PortErrorAtSend(40);
    const LoftSendOutcome broken = Send(failing, Loft());
    EXPECT_EQ(broken.result, LoftSendResult::Broken);
    EXPECT_EQ(FaceOf(broken.result).status + std::to_string(FaceOf(broken.result).message), "txtCommunicationError0");
}

} // namespace
} // namespace plumet
