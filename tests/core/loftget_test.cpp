#include <gtest/gtest.h>

#include <vector>

#include "app/files.h"
#include "clock/clocksimulator.h"
#include "clock/loftget.h"
#include "clock/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

constexpr milliseconds kTimeout{20};
const SexTexts kSexes{"M", "F", "U"};
const std::string kOldFile = " 1 \r\nNL      05     1234567M1300000000BLAU00\r\n";

// Out of order on purpose: the file comes out in register order.
const std::vector<std::string> kClockPigeons = {
    "DV      230815       9UABCDEF0100    01",
    "B       05     1234567M1300000000BLUE00",
    "D     20190815      12F0012345600GRIZ01",
};

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
        const PigeonsConvert convert(kSexes);
        for (const std::string& record : kClockPigeons)
            state.pigeons.push_back({*convert.EncodeRing(record), *PigeonsConvert::EncodeChip(record)});
        ASSERT_EQ(link.open(kLoftGetConstants.SettingsFor("1")), LinkStatus::Ok);
    }

    LoftGetOutcome Get(ClockLink& through, std::stop_token cancel = {}) {
        return GetLoft(through, folder.path(), settings, kSexes, kTimeout,
                       [this](std::size_t got, std::size_t total) { steps.emplace_back(got, total); }, cancel);
    }
    LoftGetOutcome Get() { return Get(link); }

    TestFolder folder;
    Settings settings;
    FrozenTimeSource master;
    ClockSimulator clock{master};
    ScriptedClockLink link{clock};
    std::vector<std::pair<std::size_t, std::size_t>> steps;
};

TEST_F(LoftGet, ReplacesThePigeonFileInRegisterOrder) {
    const LoftGetOutcome out = Get();
    EXPECT_EQ(out.result, LoftGetResult::Stored);
    EXPECT_EQ(out.status, "txtCommunicationOk");
    EXPECT_EQ(out.message, 0);
    EXPECT_EQ(link.Sent(), ">3");
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), " 3 \r\n" + kClockPigeons[1] + "\r\n" + kClockPigeons[2] + "\r\n" +
                                                     kClockPigeons[0] + "\r\n");
    EXPECT_EQ(steps, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
}

TEST_F(LoftGet, AnEmptyClockLoftEmptiesTheFileAndChipsEndInZeros) {
    clock.State().pigeons.clear();
    EXPECT_EQ(Get().result, LoftGetResult::Stored);
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), " 0 \r\n");

    ScriptedClockLink scripted;
    scripted.open(PortSettings{});
    const PigeonsConvert convert(kSexes);
    const RingRecord ring = *convert.EncodeRing(kClockPigeons[1]);
    scripted.AnswerAfter(2, std::string(">\x0C\x05\x07\x0C\x00\x01", 7) + std::string(ring.begin(), ring.end()) +
                                "\xAB\xCD\xEF\x01\x99>");
    EXPECT_EQ(Get(scripted).result, LoftGetResult::Stored);
    EXPECT_EQ(folder.Read("pigeon/p007012.dat").substr(5 + 23, 10), "ABCDEF0100");
}

TEST_F(LoftGet, ChecksRegionFederationClubAndFancierAfterTheWholeTransfer) {
    struct Case {
        void (*change)(ClockState&, Settings&);
        LoftGetResult result;
        int message;
    };
    const Case cases[] = {
        {[](ClockState& s, Settings&) { s.region = 13; }, LoftGetResult::WrongRegion, 4},
        {[](ClockState&, Settings& o) { o.region = "013Sued"; }, LoftGetResult::WrongRegion, 4},
        {[](ClockState& s, Settings&) { s.federation = 6; }, LoftGetResult::WrongFederation, 5},
        {[](ClockState& s, Settings&) { s.club = 8; }, LoftGetResult::UnknownClub, 6},
        {[](ClockState& s, Settings&) { s.fancier = 13; }, LoftGetResult::UnknownFancier, 7},
    };
    const ClockState original = clock.State();
    const Settings originalSettings = settings;
    for (const Case& c : cases) {
        clock.State() = original;
        settings = originalSettings;
        c.change(clock.State(), settings);
        const LoftGetOutcome out = Get();
        EXPECT_EQ(out.result, c.result);
        EXPECT_EQ(out.message, c.message);
        EXPECT_EQ(out.status, "txtCommunicationOk"); // the transfer itself went well
        EXPECT_EQ(out.pigeons, 3U);
        EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldFile);
    }
    EXPECT_EQ(folder.EntryCount(), 3U);
    EXPECT_FALSE(folder.Exists("pigeon/p007013.dat"));
}

TEST_F(LoftGet, BrokenTransfersChangeNoFile) {
    ScriptedClockLink inner(clock);
    inner.open(PortSettings{});
    FailingClockLink noAck(inner);
    noAck.WrongByteAtReceive(0, '?');
    LoftGetOutcome out = Get(noAck);
    EXPECT_EQ(out.result, LoftGetResult::NoAcknowledgement);
    EXPECT_EQ(out.message, 3);
    EXPECT_EQ(out.status, "");

    struct Fault {
        void (*apply)(FailingClockLink&);
        LinkStatus link;
    };
    const Fault faults[] = {
        {[](FailingClockLink& f) { f.SilentFromReceive(1 + 4 + 2 + 20 + 7); }, LinkStatus::Timeout}, // mid-record
        {[](FailingClockLink& f) { f.WrongByteAtReceive(1 + 4 + 2 + 60, 'X'); }, LinkStatus::Unexpected},
        {[](FailingClockLink& f) { f.SilentFromReceive(1 + 4 + 2 + 60); }, LinkStatus::Timeout},
        {[](FailingClockLink& f) { f.PortErrorAtReceive(3); }, LinkStatus::PortError},
    };
    for (const Fault& fault : faults) {
        ScriptedClockLink fresh(clock);
        fresh.open(PortSettings{});
        FailingClockLink failing(fresh);
        fault.apply(failing);
        out = Get(failing);
        EXPECT_EQ(out.result, LoftGetResult::CommunicationError);
        EXPECT_EQ(out.link, fault.link);
        EXPECT_EQ(out.status, "txtCommunicationError");
        EXPECT_EQ(out.message, 0);
        fresh.close();
    }

    ScriptedClockLink tooMany;
    tooMany.open(PortSettings{});
    tooMany.AnswerAfter(2, std::string(">\x0C\x05\x07\x0C\x03\xE9", 7));
    out = Get(tooMany);
    EXPECT_EQ(out.result, LoftGetResult::TooManyPigeons);
    EXPECT_EQ(out.status, "txtCommunicationError");
    EXPECT_EQ(out.pigeons, 1001U);
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldFile);
}

TEST_F(LoftGet, CancelAndAFailedSaveLeaveTheOldFile) {
    std::stop_source stop;
    const LoftGetOutcome cancelled =
        GetLoft(link, folder.path(), settings, kSexes, kTimeout,
                [&stop](std::size_t got, std::size_t) {
                    if (got == 2) stop.request_stop();
                },
                stop.get_token());
    EXPECT_EQ(cancelled.result, LoftGetResult::Cancelled);
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldFile);

    ScriptedClockLink fresh(clock);
    fresh.open(PortSettings{});
    SetSaveFaultForTests([](const Path&) { return true; });
    const LoftGetOutcome failed = Get(fresh);
    SetSaveFaultForTests(nullptr);
    EXPECT_EQ(failed.result, LoftGetResult::SaveFailed);
    EXPECT_FALSE(failed.saved.ok);
    EXPECT_FALSE(failed.saved.error.empty());
    EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldFile);
    // No temporary file left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path() / "pigeon"), {}), 1);
}

} // namespace
} // namespace plumet
