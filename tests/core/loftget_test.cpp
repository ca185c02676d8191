#include <gtest/gtest.h>

#include <vector>

#include "app/files.h"
#include "clock/clocksimulator.h"
#include "clock/loftget.h"
#include "clock/scriptedlink.h"
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
                       [&](std::size_t got, std::size_t total) {
                           steps.emplace_back(got, total);
                           if (got == 2 && stopAtTwo) stop.request_stop();
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

// Region, federation, club, fancier, no acknowledgement, a timeout mid-record, a wrong end mark,
// a vanishing port and more pigeons than a register holds.
TEST_F(LoftGet, EveryRefusalAndBrokenTransferLeavesThePigeonFileAsItWas) {
    using State = ClockState&;
    using Link = FailingClockLink&;
    const struct {
        void (*change)(State, Link);
        LoftGetResult result;
        int message;
    } cases[] = {
        {[](State s, Link) { s.region = 13; }, LoftGetResult::WrongRegion, 4},
        {[](State s, Link) { s.federation = 6; }, LoftGetResult::WrongFederation, 5},
        {[](State s, Link) { s.club = 8; }, LoftGetResult::UnknownClub, 6},
        {[](State s, Link) { s.fancier = 13; }, LoftGetResult::UnknownFancier, 7},
        {[](State, Link f) { f.WrongByteAtReceive(0, '?'); }, LoftGetResult::NoAcknowledgement, 3},
        {[](State, Link f) { f.SilentFromReceive(1 + 4 + 2 + 20 + 7); }, LoftGetResult::CommunicationError, 0},
        {[](State, Link f) { f.WrongByteAtReceive(1 + 4 + 2 + 60, 'X'); }, LoftGetResult::CommunicationError, 0},
        {[](State, Link f) { f.PortErrorAtReceive(3); }, LoftGetResult::CommunicationError, 0},
        {[](State s, Link) { s.pigeons.resize(1001); }, LoftGetResult::TooManyPigeons, 0},
    };
    const ClockState original = clock.State();
    for (const auto& c : cases) {
        clock.State() = original;
        ScriptedClockLink fresh(clock);
        fresh.open(PortSettings{});
        FailingClockLink failing(fresh);
        c.change(clock.State(), failing);
        const LoftGetOutcome out = Get(failing);
        EXPECT_EQ(out.result, c.result) << static_cast<int>(c.result);
        EXPECT_EQ(out.message, c.message) << static_cast<int>(c.result);
        EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldFile);
        fresh.close();
    }
    EXPECT_EQ(folder.EntryCount(), 3U);
}

TEST_F(LoftGet, CancelAndAFailedSaveLeaveTheOldFileAndNoTemporary) {
    stopAtTwo = true;
    EXPECT_EQ(Get(link, stop.get_token()).result, LoftGetResult::Cancelled);
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldFile);

    ScriptedClockLink fresh(clock);
    fresh.open(PortSettings{});
    SetSaveFaultForTests([](const Path&) { return true; });
    const LoftGetOutcome failed = Get(fresh);
    SetSaveFaultForTests(nullptr);
    EXPECT_EQ(failed.result, LoftGetResult::SaveFailed);
    EXPECT_FALSE(failed.saved.error.empty());
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldFile);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path() / "pigeon"), {}), 1);
}

} // namespace
} // namespace plumet
