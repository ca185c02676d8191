#include <gtest/gtest.h>

#include <vector>

#include "clock/clocksimulator.h"
#include "clock/loftsend.h"
#include "clock/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

constexpr milliseconds kTimeout{20};
const SexTexts kSexes{"M", "F", "U"};

const std::vector<std::string> kPigeons = {
    "B       05     1234567M1300000000BLUE00",
    "D     20190815      12F0012345678GRIZ01",
    "DV      230815       9UABCDEF0100    01",
};

std::string PigeonFile(const std::vector<std::string>& records) {
    std::string text = " " + std::to_string(records.size()) + " \r\n";
    for (const std::string& record : records) text += record + "\r\n";
    return text;
}

LoftToSend Loft(std::string club = "007", std::string fancier = "012") {
    return {"012Nord" + std::string(26, ' '), "005Mitte" + std::string(25, ' '), std::move(club), std::move(fancier),
            "M\xFCller Hans         "};
}

class LoftSend : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(link.open(kLoftSendConstants.SettingsFor("1")), LinkStatus::Ok); }

    LoftSendOutcome Send(const LoftToSend& loft, std::stop_token cancel = {}) {
        return SendLoft(link, folder.path(), loft, kSexes, now, kTimeout,
                        [this](std::size_t sent, std::size_t total) { steps.emplace_back(sent, total); }, cancel);
    }

    TestFolder folder;
    FrozenTimeSource now{MakeDateTime(2024, 3, 9, 17, 45, 30)}; // a Saturday
    FrozenTimeSource master{MakeDateTime(2024, 3, 9, 17, 0, 0)};
    ClockSimulator clock{master};
    ScriptedClockLink link{clock};
    std::vector<std::pair<std::size_t, std::size_t>> steps;
};

TEST_F(LoftSend, SendsKeyNamePigeonsAndTimeAndTheClockConfirms) {
    folder.Write("pigeon/p007012.dat", PigeonFile(kPigeons));
    const LoftSendOutcome out = Send(Loft());

    EXPECT_EQ(out.result, LoftSendResult::Confirmed);
    EXPECT_EQ(out.status, "txtCommunicationOk");
    EXPECT_EQ(out.message, 0);
    EXPECT_EQ(out.sent, 3U);
    const std::string sent = link.Sent();
    ASSERT_EQ(sent.size(), 30 + 60 + 8U);
    EXPECT_EQ(sent.substr(0, 30), std::string(">1\x00\x56\x0C\x05\x07\x0C", 8) + "M\xFCller Hans         " +
                                      std::string("\x00\x03", 2));
    EXPECT_EQ(sent.substr(90), std::string(">\x09\x03\x18\x07\x11\x2D\x1E"));
    const PigeonsConvert convert(kSexes);
    ASSERT_EQ(clock.State().pigeons.size(), 3U);
    for (std::size_t i = 0; i < kPigeons.size(); ++i) {
        EXPECT_EQ(clock.State().pigeons[i].ring, *convert.EncodeRing(kPigeons[i]));
        EXPECT_EQ(clock.State().pigeons[i].chip, *PigeonsConvert::EncodeChip(kPigeons[i]));
    }
    EXPECT_EQ(clock.ClockTime(), now.Now());
    EXPECT_EQ(steps, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
}

TEST_F(LoftSend, EmptyLoftAndLoftWithoutPigeonFileSendOnlyKeyAndTime) {
    folder.Write("pigeon/p007012.dat", PigeonFile({}));
    EXPECT_EQ(Send(Loft()).result, LoftSendResult::Confirmed);
    EXPECT_EQ(link.Sent().substr(0, 4), std::string(">1\x00\x1A", 4));
    EXPECT_EQ(link.Sent().substr(28, 2), std::string("\x00\x00", 2));

    link.close();
    link.open(PortSettings{});
    EXPECT_EQ(Send(Loft("007", "013")).result, LoftSendResult::Confirmed); // no file: no pigeons
    EXPECT_EQ(link.Sent().size(), 2 * 38U);
}

TEST(LoftCoding, CountsNamesAndNumbersFitTheirBytes) {
    const PigeonsConvert convert(kSexes);
    const std::vector<std::string> many(1000, kPigeons[0]);
    const LoftCoding coded = CodeLoft(Loft("012", "255"), many, convert);
    ASSERT_TRUE(coded.message);
    EXPECT_EQ(coded.message->head.substr(2, 2), "\x4E\x3A"); // 20026
    EXPECT_EQ(coded.message->head.substr(6, 2), "\x0C\xFF");
    EXPECT_EQ(coded.message->head.substr(28, 2), "\x03\xE8");
    EXPECT_EQ(coded.message->pigeons.size(), 1000U);

    LoftToSend shortName = Loft();
    shortName.name = "Li";
    EXPECT_EQ(CodeLoft(shortName, {}, convert).message->head.substr(8, 20), "Li" + std::string(18, ' '));
    shortName.name = std::string(25, 'X');
    EXPECT_EQ(CodeLoft(shortName, {}, convert).message->head.size(), 30U);
    EXPECT_EQ(LoftSendHeadline(Loft()), "012.005.007.012 M\xFCller Hans         ");
}

TEST_F(LoftSend, RefusesBeforeTheFirstByteWhatTheClockCannotTake) {
    struct Case {
        LoftToSend loft;
        std::string pigeonFile;
    };
    LoftToSend badRegion = Loft();
    badRegion.region = "300Sud";
    const std::vector<Case> cases = {
        {Loft("300", "012"), PigeonFile(kPigeons)},
        {Loft("007", "256"), PigeonFile(kPigeons)},
        {badRegion, PigeonFile(kPigeons)},
        {Loft(), PigeonFile({kPigeons[0], "B       05     1234568M13 0000000BLUE00"})}, // blank in the chip
        {Loft(), PigeonFile({"B       05     1234568Mabcdef0100BLUE00"})},                // lower-case chip
        {Loft(), PigeonFile({"B       45     1234568M1300000000BLUE00"})},                // year 45
        {Loft(), " 1001 \r\n"},                                                              // unreadable file
    };
    for (const Case& c : cases) {
        folder.Write("pigeon/p" + c.loft.club + c.loft.fancier + ".dat", c.pigeonFile);
        steps.clear();
        const LoftSendOutcome out = Send(c.loft);
        EXPECT_EQ(out.result, LoftSendResult::NotSendable) << c.loft.club << "/" << c.pigeonFile;
        EXPECT_EQ(out.status, "txtCommunicationError");
        EXPECT_EQ(out.message, 0);
        EXPECT_FALSE(out.problem.empty());
        EXPECT_TRUE(steps.empty());
    }
    EXPECT_EQ(link.Sent(), "");
}

TEST_F(LoftSend, AClockThatDoesNotConfirmGivesMessageTwo) {
    folder.Write("pigeon/p007012.dat", PigeonFile(kPigeons));
    ScriptedClockLink wrong;
    wrong.open(PortSettings{});
    wrong.AnswerAfter(98, "?");
    EXPECT_EQ(SendLoft(wrong, folder.path(), Loft(), kSexes, now, kTimeout, {}, {}).message, 2);

    ScriptedClockLink silent;
    silent.open(PortSettings{});
    const LoftSendOutcome out = SendLoft(silent, folder.path(), Loft(), kSexes, now, kTimeout, {}, {});
    EXPECT_EQ(out.result, LoftSendResult::NotConfirmed);
    EXPECT_EQ(out.link, LinkStatus::Timeout);
    EXPECT_EQ(out.status, "txtCommunicationError");
    EXPECT_EQ(out.message, 2);
}

TEST_F(LoftSend, CancelOrAPortFailureStopsAtOnce) {
    folder.Write("pigeon/p007012.dat", PigeonFile(kPigeons));
    std::stop_source stop;
    const LoftSendOutcome cancelled =
        SendLoft(link, folder.path(), Loft(), kSexes, now, kTimeout,
                 [&stop](std::size_t sent, std::size_t) {
                     if (sent == 1) stop.request_stop();
                 },
                 stop.get_token());
    EXPECT_EQ(cancelled.result, LoftSendResult::Cancelled);
    EXPECT_EQ(cancelled.status, "");
    EXPECT_EQ(link.Sent().size(), 50U); // the head and one pigeon, nothing more
    link.close();
    EXPECT_TRUE(clock.State().pigeons.empty());

    ScriptedClockLink inner;
    inner.open(PortSettings{});
    FailingClockLink failing(inner);
    failing.PortErrorAtSend(40);
    const LoftSendOutcome broken = SendLoft(failing, folder.path(), Loft(), kSexes, now, kTimeout, {}, {});
    EXPECT_EQ(broken.result, LoftSendResult::Broken);
    EXPECT_EQ(broken.status, "txtCommunicationError");
    EXPECT_EQ(broken.message, 0);
    EXPECT_EQ(inner.Sent().size(), 40U);
}

} // namespace
} // namespace plumet
