#include <gtest/gtest.h>

#include <vector>

#include "core/app/files.h"
#include "core/clock/clocksimulator.h"
#include "core/clock/loftget.h"
#include "support/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

const SexTexts kSexes{"M", "F", "U"};
const std::string kOldFile = " 1 \r\nNL      05     1234567M1300000000BLAU00\r\n";
// Out of order on purpose: the file comes out in register order.
const std::vector<std::string> kClockPigeons = {"DV      230815       9UABCDEF0100    01",
                                                "B       05     1234567M1300000000BLUE00",
                                                "D     20190815      12F0012345600GRIZ01"};

class LoftGet : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("club/club.dat", " 1 \r\n007Zur Post" + std::string(52, ' ') + "\r\n");
        folder.Write("fancier/f007.DAT", " 1 \r\n012M\xFCller Hans" + std::string(59, ' ') + "\r\n");
        folder.Write("pigeon/p007012.dat", kOldFile);
        settings.region = "012Nord";
        settings.federation = "005Mitte";
        ClockState& state = clock.State();
        state.region = 12;
        state.federation = 5;
        state.club = 7;
        state.fancier = 12;
        for (const std::string& record : kClockPigeons)
            state.pigeons.push_back({*PigeonsConvert(kSexes).EncodeRing(record), *PigeonsConvert::EncodeChip(record)});
        link.open(PortSettings{});
    }
    LoftGetOutcome Get(ClockLink& through, std::stop_token cancel = {}) {
        return GetLoft(through, folder.path(), settings, kSexes, milliseconds{20},
                       [&](const TransferProgress& p) {
                           steps.emplace_back(p.done, p.total);
                           if (p.done == 2 && stopAtTwo) stop.request_stop();
                       },
                       cancel);
    }

    TestFolder folder;
    Settings settings;
    FrozenTimeSource master;
    ClockSimulator clock{master};
    ScriptedClockLink link{clock};
    std::vector<std::pair<std::size_t, std::size_t>> steps;
    std::stop_source stop;
    bool stopAtTwo = false;
};

TEST_F(LoftGet, ReplacesThePigeonFileInRegisterOrderAndAnEmptyLoftEmptiesIt) {
    const LoftGetOutcome out = Get(link);
    EXPECT_EQ(out.result, LoftGetResult::Stored);
    EXPECT_EQ(out.status, "txtCommunicationOk");
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"),
              JoinLinesCrLf({" 3 ", kClockPigeons[1], kClockPigeons[2], kClockPigeons[0]}));
    EXPECT_EQ(steps, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    clock.State().pigeons.clear();
    EXPECT_EQ(Get(link).result, LoftGetResult::Stored);
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), " 0 \r\n");
}

// A wrong region, federation, club, fancier, acknowledgement or end mark, and a silence at any
// byte are the clock fault test's; here what a clock cannot send: a port that vanishes and one
// pigeon more than a register holds.
TEST_F(LoftGet, AVanishingPortOrMoreThan1000PigeonsLeaveThePigeonFileAsItWas) {
    FailingClockLink failing(link);
    failing.PortErrorAtReceive(3);
    EXPECT_EQ(Get(failing).result, LoftGetResult::CommunicationError);
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldFile);
    link.close();
    clock.State().pigeons.resize(1001);
    ScriptedClockLink fresh(clock);
    fresh.open(PortSettings{});
    EXPECT_EQ(Get(fresh).result, LoftGetResult::TooManyPigeons);
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldFile);
    EXPECT_EQ(folder.EntryCount(), 3U);
}

TEST_F(LoftGet, CancelAndAFailedSaveLeaveTheOldFileAndNoTemporary) {
    stopAtTwo = true;
    EXPECT_EQ(Get(link, stop.get_token()).result, LoftGetResult::Cancelled);
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldFile);

    ScriptedClockLink fresh(clock);
    fresh.open(PortSettings{});
    const LoftGetOutcome failed = WithFailingSaves([&] { return Get(fresh); });
    EXPECT_EQ(failed.result, LoftGetResult::SaveFailed);
    EXPECT_FALSE(failed.saved.error.empty());
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldFile);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path() / "pigeon"), {}), 1);
}

} // namespace
} // namespace plumet
