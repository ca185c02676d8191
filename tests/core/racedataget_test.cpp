#include <gtest/gtest.h>

#include <vector>

#include "app/fixedwidth.h"
#include "clock/clocksimulator.h"
#include "clock/racedataget.h"
#include "clock/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

constexpr milliseconds kWait{2};
const SexTexts kSexes{"M", "F", "U"};
const PigeonsConvert kConvert(kSexes);
const std::string kPigeons[] = {"DV    20050815 1234567M1300000000BLAU01", "NL      05     1234567F1300000000RT  00"};

ArrivalRecord Arrival(int pigeon, int point, int dayByte, int hour, int minute, int second) {
    ArrivalRecord a{};
    const RingRecord ring = *kConvert.EncodeRing(kPigeons[pigeon]);
    std::copy(ring.begin(), ring.end(), a.begin());
    a[16] = static_cast<std::uint8_t>(point);
    a[17] = static_cast<std::uint8_t>(dayByte);
    a[18] = static_cast<std::uint8_t>(hour);
    a[19] = static_cast<std::uint8_t>(minute);
    a[20] = static_cast<std::uint8_t>(second);
    a[21] = 0x81;
    a[22] = 0x4F;
    return a;
}

std::string FileOf(const std::vector<std::string>& lines) { return JoinLinesCrLf(lines); }

class RacedataGet : public ::testing::Test {
protected:
    void SetUp() override {
        settings.region = "012" + PadRight("North", 30);
        settings.federation = "005" + PadRight("Federation", 30);
        folder.Write("club/club.dat", " 2 \r\n" + PadRight("005Heimatliebe", 63) + "\r\n" + PadRight("123Zur Post", 63) + "\r\n");
        folder.Write("fancier/f123.DAT", " 2 \r\n007" + PadRight("Meier Hans", 20) + "N51301525E0070500001" +
                                             PadRight("", 30) + "\r\n008" + PadRight("M\xFCller & S\xF6hne", 20) +
                                             "S05301550W1230000000" + PadRight("", 30) + "\r\n");
        std::filesystem::create_directories(folder.path() / "race");
    }

    // Club 123, fancier 7; arrivals for points 7 and 3 and one without a day.
    static ClockState Clock(int fancier = 7) {
        ClockState state;
        state.region = 12;
        state.federation = 5;
        state.club = 123;
        state.fancier = static_cast<std::uint8_t>(fancier);
        state.name = PadRight("MEIER", 20);
        state.basketing = {31 | 64, 5, 7, 30, 0};
        state.timerFlags = 64;
        state.clockOffsetSeconds = -42;
        if (fancier == 7)
            state.arrivals = {Arrival(0, 7, 1, 14, 3, 27), Arrival(1, 3, 31, 16, 0, 5), Arrival(1, 7, 0, 0, 0, 0)};
        return state;
    }

    RacedataTarget Target(const std::string& point = "00") const {
        return {folder.path(), settings, {point, "23", "02", "06", "24"}, kSexes};
    }

    RacedataOutcome Read(const ClockState& state, const std::string& point = "00") {
        ClockSimulator clock(master, state);
        ScriptedClockLink link(clock);
        link.open(kRacedataGetConstants.SettingsFor("1"));
        steps.clear();
        const RacedataOutcome outcome =
            GetRacedata(link, Target(point), kWait, [this](RacedataStatus s) { steps.push_back(s); });
        sent = link.Sent();
        return outcome;
    }

    // A read through a link broken by `breakIt`.
    RacedataOutcome ReadBroken(const ClockState& state, const std::function<void(FailingClockLink&)>& breakIt) {
        ClockSimulator clock(master, state);
        ScriptedClockLink inner(clock);
        FailingClockLink link(inner);
        breakIt(link);
        link.open(kRacedataGetConstants.SettingsFor("1"));
        return GetRacedata(link, Target(), kWait, nullptr);
    }

    std::string File(const std::string& point = "00") const { return folder.Read("race/W0120523.d" + point); }

    TestFolder folder;
    Settings settings;
    FrozenTimeSource master{MakeDateTime(2024, 6, 2, 18, 30, 0)};
    std::vector<RacedataStatus> steps;
    std::string sent;
};

const std::string kLoft7 = "1123007003" + PadRight("Meier Hans", 20) + "N51301525E007050000";
const std::string kTimer7 = "2123007131050730000206183000182918" "1";
const std::string kArrivals7[] = {
    "3123007DV    20050815 1234567M0710106140327100000014F000000000000000000BLAU01",
    "3123007NL      05     1234567F0313105160005100000014F000000000000000000RT  00",
    "3123007NL      05     1234567F0700000000000100000014F000000000000000000RT  00",
};

TEST_F(RacedataGet, ReadsAClockIntoANewFile) {
    const RacedataOutcome outcome = Read(Clock());
    EXPECT_EQ(outcome.result, RacedataResult::Saved);
    EXPECT_EQ(outcome.message, 0);
    EXPECT_EQ(outcome.status, RacedataStatus::DataReady);
    EXPECT_EQ(sent, ">4");
    EXPECT_EQ(steps, (std::vector<RacedataStatus>{RacedataStatus::TerminalSearch, RacedataStatus::DataGet,
                                                  RacedataStatus::CommunicationOk, RacedataStatus::DataSave,
                                                  RacedataStatus::DataReady}));
    const std::vector<std::string> lines = {"0020624", kLoft7, kTimer7, kArrivals7[0], kArrivals7[1], kArrivals7[2]};
    EXPECT_EQ(outcome.appended, lines);
    EXPECT_EQ(File(), FileOf(lines));
    EXPECT_EQ(outcome.file, folder.path() / "race" / "W0120523.d00");
}

TEST_F(RacedataGet, ReleasePointFileTakesOnlyItsArrivals) {
    ASSERT_EQ(Read(Clock(), "07").result, RacedataResult::Saved);
    std::string loft = kLoft7;
    loft.replace(7, 3, "002");
    EXPECT_EQ(File("07"), FileOf({"0020624", loft, kTimer7, kArrivals7[0], kArrivals7[2]}));
    EXPECT_FALSE(folder.Exists("race/W0120523.d00"));

    // A clock with nothing for this point still gets its loft and timer lines.
    ClockState other = Clock();
    other.fancier = 8;
    other.arrivals = {Arrival(0, 3, 1, 14, 3, 27)};
    ASSERT_EQ(Read(other, "07").result, RacedataResult::Saved);
    const ReadoutFile file = LoadReadoutFile(folder.path() / "race" / "W0120523.d07");
    ASSERT_EQ(file.lines.size(), 7u);
    EXPECT_EQ(file.lines[5].substr(0, 10), "1123008000");
    EXPECT_EQ(file.lines[6].substr(0, 7), "2123008");
}

TEST_F(RacedataGet, SeveralClocksShareOneFileAndNoClockIsTakenTwice) {
    ASSERT_EQ(Read(Clock(7)).result, RacedataResult::Saved);
    const RacedataOutcome second = Read(Clock(8));
    ASSERT_EQ(second.result, RacedataResult::Saved);
    EXPECT_EQ(second.appended.size(), 2u); // no second date line; loft and timer only
    EXPECT_EQ(File(), ReadWholeFile(Path(PLUMET_TEST_DATA) / "readout" / "W0120523.d00").bytes);

    const std::string before = File();
    const RacedataOutcome again = Read(Clock(7));
    EXPECT_EQ(again.result, RacedataResult::AlreadyRead);
    EXPECT_EQ(again.message, kRacedataAlreadyRead);
    EXPECT_TRUE(again.appended.empty());
    EXPECT_EQ(File(), before);
}

TEST_F(RacedataGet, RefusedLoftsLeaveTheFileAsItWas) {
    ASSERT_EQ(Read(Clock(8)).result, RacedataResult::Saved);
    const std::string before = File();
    struct Case {
        void (*change)(ClockState&);
        RacedataResult result;
        int message;
    };
    const Case cases[] = {
        {[](ClockState& s) { s.region = 13; }, RacedataResult::WrongRegion, 4},
        {[](ClockState& s) { s.federation = 6; }, RacedataResult::WrongFederation, 5},
        {[](ClockState& s) { s.club = 124; }, RacedataResult::UnknownClub, 6},
        {[](ClockState& s) { s.fancier = 9; }, RacedataResult::UnknownFancier, 7},
    };
    for (const Case& c : cases) {
        ClockState state = Clock();
        c.change(state);
        const RacedataOutcome outcome = Read(state);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(steps.back(), RacedataStatus::CommunicationOk);
        EXPECT_EQ(File(), before);
    }
}

TEST_F(RacedataGet, AClockThatDoesNotAnswerShowsMessage3) {
    ScriptedClockLink silent;
    silent.open(kRacedataGetConstants.SettingsFor("1"));
    const RacedataOutcome outcome = GetRacedata(silent, Target(), kWait, nullptr);
    EXPECT_EQ(outcome.result, RacedataResult::NoAnswer);
    EXPECT_EQ(outcome.message, kRacedataNoAnswer);
    EXPECT_EQ(outcome.status, RacedataStatus::CommunicationError);
    EXPECT_EQ(silent.Sent(), ">4");

    const RacedataOutcome wrong =
        ReadBroken(Clock(), [](FailingClockLink& link) { link.WrongByteAtReceive(0, '?'); });
    EXPECT_EQ(wrong.message, kRacedataNoAnswer);
    EXPECT_FALSE(folder.Exists("race/W0120523.d00"));
}

TEST_F(RacedataGet, BrokenTransfersAddNoLine) {
    ASSERT_EQ(Read(Clock(8)).result, RacedataResult::Saved);
    const std::string before = File();
    const std::size_t endMark = 1 + 24 + 2 + 15 + 28 * 3;
    const std::vector<std::function<void(FailingClockLink&)>> faults = {
        [](FailingClockLink& l) { l.SilentFromReceive(30); },        // within the timer block
        [](FailingClockLink& l) { l.SilentFromReceive(100); },       // within the records
        [=](FailingClockLink& l) { l.SilentFromReceive(endMark); },  // no end mark
        [=](FailingClockLink& l) { l.WrongByteAtReceive(endMark, 0); },
        [](FailingClockLink& l) { l.PortErrorAtReceive(60); },
        [](FailingClockLink& l) { l.PortErrorAtSend(1); },
    };
    for (const auto& fault : faults) {
        const RacedataOutcome outcome = ReadBroken(Clock(), fault);
        EXPECT_EQ(outcome.result, RacedataResult::CommunicationError);
        EXPECT_EQ(outcome.message, 0);
        EXPECT_EQ(outcome.status, RacedataStatus::CommunicationError);
        EXPECT_EQ(File(), before);
    }
}

TEST_F(RacedataGet, AThousandArrivalsAreTheLimit) {
    ClockState full = Clock();
    full.arrivals.assign(kArrivalRecordLimit, Arrival(0, 7, 1, 14, 3, 27));
    const RacedataOutcome outcome = Read(full);
    ASSERT_EQ(outcome.result, RacedataResult::Saved);
    EXPECT_EQ(outcome.appended.size(), 3 + kArrivalRecordLimit);
    EXPECT_EQ(outcome.appended[1].substr(7, 3), "000"); // the count is written modulo 1000

    ClockState over = Clock(8);
    over.arrivals.assign(kArrivalRecordLimit + 1, Arrival(0, 7, 1, 14, 3, 27));
    const std::string before = File();
    const RacedataOutcome refused = Read(over);
    EXPECT_EQ(refused.result, RacedataResult::CommunicationError);
    EXPECT_EQ(refused.status, RacedataStatus::CommunicationError);
    EXPECT_EQ(File(), before);
}

TEST_F(RacedataGet, WhatWaitedOnTheLineIsDroppedBeforeTheRequest) {
    ClockSimulator clock(master, Clock());
    ScriptedClockLink link(clock);
    link.open(kRacedataGetConstants.SettingsFor("1"));
    link.QueueIncoming(">>\x01\x02 printout\r\n>");
    EXPECT_EQ(GetRacedata(link, Target(), kWait, nullptr).result, RacedataResult::Saved);
    EXPECT_EQ(link.Sent(), ">4");
}

TEST_F(RacedataGet, CancelWritesNothing) {
    std::stop_source stop;
    stop.request_stop();
    ClockSimulator clock(master, Clock());
    ScriptedClockLink link(clock);
    link.open(kRacedataGetConstants.SettingsFor("1"));
    EXPECT_EQ(GetRacedata(link, Target(), kWait, nullptr, stop.get_token()).result, RacedataResult::Cancelled);
    EXPECT_TRUE(link.Sent().empty());

    // Cancelled after the data came in: nothing is saved either.
    link.close();
    ScriptedClockLink fresh(clock);
    fresh.open(kRacedataGetConstants.SettingsFor("1"));
    const RacedataReceipt receipt = ReceiveRacedata(fresh, kWait, nullptr);
    ASSERT_EQ(receipt.outcome, ReceiveOutcome::Received);
    EXPECT_EQ(StoreRacedata(receipt.data, Target(), nullptr, stop.get_token()).result, RacedataResult::Cancelled);
    EXPECT_FALSE(folder.Exists("race/W0120523.d00"));
}

TEST_F(RacedataGet, AFileThatCannotBeWrittenOrReadStaysAsItWas) {
    ASSERT_EQ(Read(Clock(8)).result, RacedataResult::Saved);
    const std::string before = File();
    SetSaveFaultForTests([](const Path&) { return true; });
    const RacedataOutcome failed = Read(Clock(7));
    SetSaveFaultForTests(nullptr);
    EXPECT_EQ(failed.result, RacedataResult::SaveFailed);
    EXPECT_EQ(failed.message, kRacedataSaveFailed);
    EXPECT_FALSE(failed.error.empty());
    EXPECT_EQ(File(), before);

    // Something that is not a readable file is never replaced by a new one.
    std::filesystem::create_directories(folder.path() / "race" / "W0120523.d07");
    const RacedataOutcome unreadable = Read(Clock(7), "07");
    EXPECT_EQ(unreadable.message, kRacedataSaveFailed);
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "race" / "W0120523.d07"));
}

} // namespace
} // namespace plumet
