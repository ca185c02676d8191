#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "core/app/fixedwidth.h"
#include "core/clock/clocksimulator.h"
#include "core/clock/clockstate.h"
#include "core/clock/loftget.h"
#include "core/clock/loftsend.h"
#include "core/clock/racedataget.h"
#include "core/clock/racepointssend.h"
#include "core/clock/terminalprogramload.h"
#include "core/clock/tracinglink.h"
#include "core/clock/transferface.h"
#include "support/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

using namespace std::string_literals;
using Texts = std::vector<std::string>;
const SexTexts kSexes{"M", "F", "U"};
const std::string kOldPigeons = " 1 \r\nNL      05     1234567M1300000000BLUE00\r\n";

// A program folder with clubs 007 (fancier 012) and 123 (fanciers 007, 008), and a clock of loft
// 12/5/7/12 on an open link.
class ClockTransfer : public ::testing::Test {
protected:
    ClockTransfer() {
        folder.CopyData("clock/folder");
        folder.Write("pigeon/p007012.dat", kOldPigeons);
        std::filesystem::create_directories(folder.path() / "race");
        settings.region = "012Nord";
        settings.federation = "005Mitte";
        clock.State().region = 12, clock.State().federation = 5, clock.State().club = 7, clock.State().fancier = 12;
        link.open(PortSettings{});
        silent.open(PortSettings{});
    }
    TransferProgressSink Progress() {
        return [this](const TransferProgress& p) {
            steps.push_back(std::to_string(p.done) + "/" + std::to_string(p.total));
            whats.push_back(p.what);
            if (p.done == stopAt) stop.request_stop();
        };
    }
    LoftGetOutcome Get(ClockLink& through) {
        return GetLoft(through, folder.path(), settings, kSexes, wait, Progress(), stop.get_token());
    }
    RacePointsSendOutcome SendPoints(ClockLink& through) {
        return SendRacePoints(through, folder.path(), wait, Progress(), stop.get_token());
    }
    RacedataTarget Target(const std::string& point = "00") const {
        return {folder.path(), settings, {point, "23", "02", "06", "24"}, kSexes};
    }
    std::string Pigeons() const { return folder.Read("pigeon/p007012.dat"); }
    // Each transfer opens the port afresh and hangs up at its end, as the dialogs do.
    template <typename Transfer>
    auto Over(ClockSimulator& simulator, Transfer transfer) {
        ScriptedClockLink fresh(simulator);
        fresh.open(PortSettings{});
        auto outcome = transfer(fresh);
        fresh.close();
        return outcome;
    }

    TestFolder folder;
    Settings settings;
    milliseconds wait{20};
    FrozenTimeSource master{MakeDateTime(2024, 6, 2, 18, 30, 0)};
    ClockSimulator clock{master};
    ScriptedClockLink link{clock};
    ScriptedClockLink silent; // no clock on the line
    Texts steps, whats;
    std::stop_source stop;
    std::optional<std::size_t> stopAt; // the step at which to cancel
};

LoftToSend Loft(std::string club = "007", std::string fancier = "012", std::string region = "012Nord") {
    return {std::move(region), "005Mitte", std::move(club), std::move(fancier), "M\xFCller Hans         "};
}

// A send's result with its status line and message box.
template <typename Result>
std::pair<Result, std::string> Face(Result result) {
    return {result, FaceOf(result).status + std::to_string(FaceOf(result).message)};
}

class LoftSend : public ClockTransfer {
protected:
    LoftSend() { folder.Write("pigeon/p007012.dat", TestData("clock/send/p007012.dat")); }
    LoftSendOutcome Send(ClockLink& through, const LoftToSend& loft) {
        return SendLoft(through, folder.path(), loft, kSexes, now, wait, Progress(), stop.get_token());
    }
    FrozenTimeSource now{MakeDateTime(2024, 3, 9, 17, 45, 30)}; // a Saturday
};

// The golden stream: a loft with three pigeons, then one without a pigeon file.
TEST_F(LoftSend, SendsKeyNamePigeonsAndTimeAndTheClockConfirms) {
    EXPECT_EQ(Face(Send(link, Loft()).result), std::pair(LoftSendResult::Confirmed, "txtCommunicationOk0"s));
    EXPECT_EQ(FormatClockState(clock.State()), TestData("clock/loftsent.txt")); // the key, name and three pigeons
    EXPECT_EQ(clock.ClockTime(), now.Now());
    EXPECT_EQ(steps, (Texts{"0/3", "1/3", "2/3", "3/3"}));
    link.close();
    link.open(PortSettings{});
    EXPECT_EQ(Send(link, Loft("007", "013")).result, LoftSendResult::Confirmed);
    EXPECT_EQ(link.Sent(), TestData("clock/loftsend.bytes"));
}

// Each row: club | fancier | region of the loft | its pigeon file in tests/data/clock/send.
TEST_F(LoftSend, RefusesBeforeTheFirstByteWhatTheClockCannotTake) {
    for (const auto& c : TableCells("clock/refusedlofts.txt")) {
        folder.Write("pigeon/p" + c[0] + c[1] + ".dat", TestData("clock/send/" + c[3]));
        const LoftSendOutcome out = Send(link, Loft(c[0], c[1], c[2]));
        EXPECT_EQ(Face(out.result), std::pair(LoftSendResult::NotSendable, "txtCommunicationError2"s)) << c[3];
        EXPECT_TRUE(out.refusal); // its words: Refusals.*
    }
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(link.Sent(), "");
}

TEST_F(LoftSend, NoConfirmationGivesMessageTwoCancelAndAPortFailureStopAtOnce) {
    EXPECT_EQ(Face(Send(silent, Loft()).result), std::pair(LoftSendResult::NotConfirmed, "txtCommunicationError2"s));
    FailingClockLink failing(silent);
    failing.PortErrorAtSend(40);
    EXPECT_EQ(Face(Send(failing, Loft()).result), std::pair(LoftSendResult::Broken, "txtCommunicationError0"s));

    stopAt = 1;
    EXPECT_EQ(Send(link, Loft()).result, LoftSendResult::Cancelled);
    EXPECT_EQ(link.Sent().size(), 50U); // the head and one pigeon, nothing more
    link.close();
    EXPECT_TRUE(clock.State().pigeons.empty());
}

// Three pigeons, out of order on purpose: the file comes out in register order.
class LoftGet : public ClockTransfer {
protected:
    LoftGet() { clock.State() = ParseClockState(TestData("clock/loftget.txt")).state; }
};

TEST_F(LoftGet, ReplacesThePigeonFileInRegisterOrderAndAnEmptyLoftEmptiesIt) {
    const LoftGetOutcome out = Get(link);
    EXPECT_EQ(out.result, LoftGetResult::Stored);
    EXPECT_EQ(out.status, "txtCommunicationOk");
    EXPECT_EQ(Pigeons(), TestData("clock/p007012_get.dat"));
    EXPECT_EQ(steps, (Texts{"0/3", "1/3", "2/3", "3/3"}));
    clock.State().pigeons.clear();
    EXPECT_EQ(Get(link).result, LoftGetResult::Stored);
    EXPECT_EQ(Pigeons(), " 0 \r\n");
}

// Wrong bytes and silences are the clock fault test's; here a vanishing port and 1001 pigeons.
TEST_F(LoftGet, AVanishingPortOrMoreThan1000PigeonsLeaveThePigeonFileAsItWas) {
    FailingClockLink failing(link);
    failing.PortErrorAtReceive(3);
    EXPECT_EQ(Get(failing).result, LoftGetResult::CommunicationError);
    EXPECT_EQ(Pigeons(), kOldPigeons);
    link.close();
    clock.State().pigeons.resize(1001);
    EXPECT_EQ(Over(clock, [&](ClockLink& l) { return Get(l); }).result, LoftGetResult::TooManyPigeons);
    EXPECT_EQ(Pigeons(), kOldPigeons);
    EXPECT_EQ(folder.EntryCount(), 4U);
}

TEST_F(LoftGet, CancelAndAFailedSaveLeaveTheOldFileAndNoTemporary) {
    stopAt = 2;
    EXPECT_EQ(Get(link).result, LoftGetResult::Cancelled);
    EXPECT_EQ(Pigeons(), kOldPigeons);

    stop = {}, stopAt.reset();
    const LoftGetOutcome failed = WithFailingSaves([&] { return Over(clock, [&](ClockLink& l) { return Get(l); }); });
    EXPECT_EQ(failed.result, LoftGetResult::SaveFailed);
    EXPECT_FALSE(failed.saved.error.empty());
    EXPECT_EQ(Pigeons(), kOldPigeons);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path() / "pigeon"), {}), 1);
}

// The whole loft is in hand, end byte included, when the cancel comes: it still stores nothing.
TEST_F(LoftGet, ACancelAfterTheLastByteBeforeTheSaveKeepsTheOldFile) {
    std::size_t received = 0, last = 0;
    TracingClockLink stopping(link, [&](std::string_view line) {
        if (line.starts_with("CLOCK") && !line.starts_with("CLOCK --") && ++received == last) stop.request_stop();
    });
    ASSERT_EQ(Get(stopping).result, LoftGetResult::Stored);
    folder.Write("pigeon/p007012.dat", kOldPigeons);
    last = std::exchange(received, 0);
    EXPECT_EQ(Get(stopping).result, LoftGetResult::Cancelled);
    EXPECT_TRUE(stop.stop_requested() && Pigeons() == kOldPigeons);
}

using RacePointsSend = ClockTransfer;

TEST_F(RacePointsSend, AMissingRegisterIsSentAs1290BytesOfEmptySlots) {
    std::filesystem::create_directory(folder.path() / "racepo");
    EXPECT_EQ(Face(SendPoints(link).result), std::pair(RacePointsSendResult::Confirmed, "txtCommunicationOk0"s));
    EXPECT_EQ(link.Sent(), ">8" + std::string(13 + 98 * 13, ' ') + ">");
    EXPECT_EQ(clock.State().releasePoints.size(), 99U);
    EXPECT_EQ(steps.back() + " " + whats.back(), "98/98 98" + std::string(15, ' '));
}

TEST_F(RacePointsSend, NamesGoUnescapedInRegisterOrderAndTheClockAnswersAfterAPause) {
    folder.Write("racepo/racepo.dat", TestData("clock/racepo.dat")); // BRUXELLES, A>B and a point without a name
    EXPECT_EQ(SendPoints(link).result, RacePointsSendResult::Confirmed);
    EXPECT_EQ(link.Sent(), TestData("clock/racepoints.bytes"));
    EXPECT_EQ(steps, (Texts{"0/3", "1/3", "2/3", "3/3"}));
    EXPECT_EQ(whats, (Texts{"", "01  BRUXELLES    ", "02  A>B          ", "03" + std::string(15, ' ')}));
}

TEST_F(RacePointsSend, NoAnswerABrokenPortCancelAndAnUnreadableRegisterSaySo) {
    std::filesystem::create_directory(folder.path() / "racepo");
    EXPECT_EQ(Face(SendPoints(silent).result), std::pair(RacePointsSendResult::NotConfirmed, "txtCommunicationError2"s));
    FailingClockLink failing(link);
    failing.PortErrorAtSend(20);
    EXPECT_EQ(Face(SendPoints(failing).result), std::pair(RacePointsSendResult::Broken, "txtCommunicationError0"s));
    stop.request_stop();
    EXPECT_EQ(SendPoints(link).result, RacePointsSendResult::Cancelled);

    stop = {};
    folder.Write("racepo/racepo.dat", " 2 \r\nshort\r\n");
    const std::string before = silent.Sent();
    const RacePointsSendOutcome out = SendPoints(silent);
    EXPECT_EQ(out.result, RacePointsSendResult::NotSendable);
    EXPECT_EQ(out.refusal.reason, RefusalReason::RegisterRefused);
    EXPECT_EQ(silent.Sent(), before);
}

// Clocks of club 123: fancier 7 with arrivals for points 7 and 3 and one without a day; fancier 8
// without arrivals.
ClockState Clock(int fancier = 7) {
    return ParseClockState(TestData("clock/readout" + std::to_string(fancier) + ".txt")).state;
}

class RacedataGet : public ClockTransfer {
protected:
    RacedataGet() { wait = milliseconds{2}; }
    // A read of `state`; `breakIt` may break the link first.
    RacedataOutcome Read(const ClockState& state, const std::function<void(FailingClockLink&)>& breakIt = nullptr) {
        ClockSimulator simulator(master, state);
        ScriptedClockLink inner(simulator);
        FailingClockLink failing(inner);
        if (breakIt) breakIt(failing);
        failing.open(kRacedataGetConstants.SettingsFor("1"));
        whats.clear();
        const RacedataOutcome outcome = GetRacedata(failing, Target(), wait, Progress());
        sent = inner.Sent();
        return outcome;
    }
    std::string File() const { return folder.Read("race/W0120523.d00"); }

    std::string sent;
};

// Several clocks, the duplicate and point 07 run end to end; here the golden file and the steps.
TEST_F(RacedataGet, ClocksFillTheGoldenFileStepByStep) {
    const RacedataOutcome first = Read(Clock(7));
    EXPECT_EQ(sent, ">4");
    EXPECT_EQ(whats, (Texts{"txtTerminalSearch", "txtDataGet", "txtCommunicationOk", "txtDataSave", "txtDataReady"}));
    const RacedataOutcome second = Read(Clock(8));
    EXPECT_EQ(JoinLinesCrLf(first.appended) + JoinLinesCrLf(second.appended), File());
    EXPECT_EQ(File(), TestData("readout/W0120523.d00"));
}

// Wrong or missing bytes are the clock fault test's; here breaks the simulator cannot make.
TEST_F(RacedataGet, APortErrorOrAFailedSaveAddsNoLine) {
    ASSERT_EQ(Read(Clock(8)).result, RacedataResult::Saved);
    const std::string before = File();
    using Break = std::function<void(FailingClockLink&)>;
    for (const Break& breakIt : {Break([](FailingClockLink& l) { l.PortErrorAtReceive(60); }),
                                 Break([](FailingClockLink& l) { l.PortErrorAtSend(1); })}) {
        const RacedataOutcome outcome = Read(Clock(), breakIt);
        EXPECT_EQ(outcome.status, RacedataStatus::CommunicationError);
        EXPECT_NE(outcome.result, RacedataResult::Saved);
        EXPECT_EQ(File(), before);
    }
    const RacedataOutcome failed = WithFailingSaves([&] { return Read(Clock(7)); });
    EXPECT_EQ(failed.message, kRacedataSaveFailed);
    EXPECT_FALSE(failed.error.empty());
    EXPECT_EQ(File(), before);
}

TEST_F(RacedataGet, WhatWaitedOnTheLineIsDroppedAndAThousandArrivalsFit) {
    clock.State() = Clock();
    clock.State().arrivals.assign(kArrivalRecordLimit, clock.State().arrivals.front());
    link.QueueIncoming(">>\x01\x02 printout\r\n>");
    const RacedataOutcome outcome = GetRacedata(link, Target(), wait, nullptr);
    ASSERT_EQ(outcome.result, RacedataResult::Saved);
    EXPECT_EQ(outcome.appended.size(), 3 + kArrivalRecordLimit);
    EXPECT_EQ(outcome.appended[1].substr(7, 3), "000"); // the count is written modulo 1000
}

TEST_F(RacedataGet, CancelWritesNothing) {
    clock.State() = Clock();
    stop.request_stop();
    EXPECT_EQ(GetRacedata(link, Target(), wait, nullptr, stop.get_token()).result, RacedataResult::Cancelled);
    EXPECT_TRUE(link.Sent().empty());
    // Cancelled once the data are in: nothing is saved either.
    const RacedataReceipt receipt = ReceiveRacedata(link, wait, nullptr);
    ASSERT_EQ(receipt.outcome, ReceiveOutcome::Received);
    EXPECT_EQ(StoreRacedata(receipt.data, Target(), nullptr, stop.get_token()).result, RacedataResult::Cancelled);
    EXPECT_FALSE(folder.Exists("race/W0120523.d00"));
}

// The golden clock (loft 12/5/7/12, two pigeons, two arrivals) against the registers of its loft.
class ClockFaults : public ClockTransfer {
protected:
    ClockFaults() { wait = milliseconds{1}; }
    // A loft read-back over the old pigeon file: result, message, status and what the file holds.
    std::string LoftFrom(ClockSimulator& simulator) {
        folder.Write("pigeon/p007012.dat", kOldPigeons);
        const LoftGetOutcome out =
            Over(simulator, [&](ClockLink& l) { return GetLoft(l, folder.path(), settings, kSexes, wait, nullptr, {}); });
        const std::string file = Pigeons();
        const bool stored = file == TestData("clock/p007012_state.dat");
        return Row(out.result, out.message, out.status, file == kOldPigeons ? "old" : stored ? "stored" : "changed");
    }
    // A read-out into no file: result, message, status and what the file holds.
    std::string ReadOut(ClockSimulator& simulator) {
        std::filesystem::remove(readout);
        const RacedataOutcome out = Over(simulator, [&](ClockLink& l) { return GetRacedata(l, Target(), wait, nullptr); });
        const bool saved = ReadWholeFile(readout).bytes == TestData("clock/W0120523_state.d00");
        return Row(out.result, out.message, RacedataStatusKey(out.status),
                   !std::filesystem::exists(readout) ? "none" : saved ? "saved" : "changed");
    }
    template <typename Result>
    static std::string Row(Result result, int message, const std::string& status, const std::string& file) {
        return std::to_string(static_cast<int>(result)) + " " + std::to_string(message) + " " + status + " " + file;
    }
    // One row per fault: silent, too many records, stopped after or inverted at each byte. The
    // same clock without the fault then reads as a clean one.
    template <typename Run>
    std::string Sweep(std::size_t length, Run run) {
        std::vector<std::pair<std::string, SimulatorFaults>> faults = {{"silent", {0, 0}}, {"too many", {std::nullopt, 0, true}}};
        for (std::size_t at = 1; at <= length; ++at) {
            if (at < length) faults.push_back({"stops after " + std::to_string(at), {at, 0}});
            faults.push_back({"inverts " + std::to_string(at), {{}, at}});
        }
        ClockSimulator first(master, state);
        const std::string clean = run(first);
        std::string rows = "clean: " + clean + "\n";
        for (const auto& [what, fault] : faults) {
            ClockSimulator simulator(master, state);
            simulator.SetFaults(fault);
            rows += what + ": " + run(simulator) + "\n";
            simulator.SetFaults({});
            EXPECT_EQ(run(simulator), clean) << what;
        }
        return rows;
    }

    const ClockState state = ParseClockState(TestData("clock/state.txt")).state;
    const Path readout = folder.path() / "race" / "W0120523.d00";
};

// The framing and the loft key catch a wrong byte; ring, chip and arrival records carry no check
// of their own, so a wrong byte there is taken as sent.
TEST_F(ClockFaults, LoftReadBackBrokenAnywhereWritesNothingAndTheNextReadSucceeds) {
    const std::string rows = Sweep(1 + 4 + 2 + 20 * state.pigeons.size() + 1, [&](ClockSimulator& s) { return LoftFrom(s); });
    EXPECT_EQ(rows, TestData("clock/loftfaults.txt"));
}

TEST_F(ClockFaults, ReadOutBrokenAnywhereAddsNothingAndTheNextReadSucceeds) {
    const std::string rows = Sweep(1 + 24 + 2 + 15 + 28 * state.arrivals.size() + 1, [&](ClockSimulator& s) { return ReadOut(s); });
    EXPECT_EQ(rows, TestData("clock/readoutfaults.txt"));
}

// Intel HEX records (length, address, type, data, checksum), stored with the key.
const std::string kHexImage = TestData("clock/firmware.hex");
const std::string kRawImage("\x12\xAA\x00\xFF\x55\x08\x7F", 7);

// The uploads below check whole record lines; here the longest record, whose length still takes two digits.
TEST(TerminalProgramLoad, OnlyKnownCodesLoadAndARecordOf255BytesKeepsItsLine) {
    EXPECT_TRUE(IsTerminalProgramCode("C") && IsTerminalProgramCode("34"));
    EXPECT_FALSE(IsTerminalProgramCode("c") || IsTerminalProgramCode("15") || IsTerminalProgramCode("41"));
    EXPECT_EQ(HexRecordLine(TestData("clock/firmware255.hex")), TestData("clock/firmware255.line"));
}

// The refusals themselves, with their words, are in the table of refusals.
TEST(TerminalProgramLoad, ACutRecordRefusesOnlyAHexImage) {
    TestFolder folder;
    const Path path = folder.path() / "image";
    folder.Write("image", kHexImage.substr(0, kHexImage.size() - 2));
    EXPECT_EQ(ReadFirmwareImage(path, UploadKind::Hex).refusal.reason, RefusalReason::FirmwareCut);
    EXPECT_TRUE(ReadFirmwareImage(path, UploadKind::Raw).ok); // raw images have no records
}

class Upload : public ::testing::Test {
protected:
    void SetUp() override { link.open(PortSettings{}); }
    TerminalProgramLoadOutcome Load(ClockLink& through, std::string_view code) {
        return LoadTerminalProgram(through, folder.path(), code, milliseconds{5},
                                   [&](const TransferProgress& p) {
                                       if (p.what == kLoaderWaitStep && p.done == cancelAtTry) stop.request_stop();
                                       if (p.what == kLoadingStep) progress.push_back({p.done, p.total});
                                   },
                                   stop.get_token());
    }

    TestFolder folder;
    ScriptedClockLink link;
    std::stop_source stop;
    std::size_t cancelAtTry = 0;
    std::vector<std::pair<std::size_t, std::size_t>> progress;
};

TEST_F(Upload, HexRecordsGoOutByteForByteOnceTheClockEchoesAtTheThirdAsk) {
    folder.Write("tools/trint12.exe", kHexImage + "\x1A"); // one lone last byte is left out
    link.AnswerAfter(3, "\x08");
    const TerminalProgramLoadOutcome outcome = Load(link, "12");
    EXPECT_EQ(outcome.result, LoadResult::Completed);
    EXPECT_EQ(outcome.handshakeTries, 3U);
    EXPECT_EQ(link.Sent(), "\x08\x08\x08:01FFFE000002\r\n:03010000AABB0097\r\n:010103003EBD\r\n:00000001FF\r\n");
    EXPECT_EQ(progress.back(), std::make_pair(kHexImage.size(), kHexImage.size() + 1));
}

TEST_F(Upload, RawBytesAreTheHeaderAllButTheLastImageByteAndAZero) {
    folder.Write("Tools/TRINT24.EXE", kRawImage);
    link.AnswerAfter(1, "\x08");
    EXPECT_EQ(Load(link, "24").result, LoadResult::Completed);
    EXPECT_EQ(link.Sent(), TestData("clock/upload_raw.bytes"));
}

TEST_F(Upload, AMissingImageCancelDuringTheHandshakeAndABrokenPortEndIt) {
    EXPECT_EQ(Load(link, "11").refusal.reason, RefusalReason::FirmwareMissing);
    EXPECT_TRUE(link.Sent().empty());
    folder.Write("tools/trint11.exe", kHexImage);
    link.QueueIncoming("?"); // an echo other than 0x08 is no answer
    cancelAtTry = 4;
    const TerminalProgramLoadOutcome cancelled = Load(link, "11");
    EXPECT_EQ(cancelled.result, LoadResult::Cancelled);
    EXPECT_EQ(FaceOf(cancelled.result).message, 0);
    EXPECT_EQ(link.Sent(), "\x08\x08\x08");
    stop = {};
    FailingClockLink failing(link);
    failing.PortErrorAtReceive(0);
    const TerminalProgramLoadOutcome broken = Load(failing, "11");
    EXPECT_EQ(FaceOf(broken.result).message, 2);
    EXPECT_FALSE(broken.refusal); // message 2's own text: check the clock and the connection
    EXPECT_EQ(broken.link, LinkStatus::PortError);
}

} // namespace
} // namespace plumet
