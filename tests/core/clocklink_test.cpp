#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "core/app/timesource.h"
#include "core/clock/clocklink.h"
#include "core/clock/clocksimulator.h"
#include "core/clock/clockstate.h"
#include "core/clock/linepacer.h"
#include "core/clock/printrelay.h"
#include "core/clock/sendtime.h"
#include "core/clock/tracinglink.h"
#include "support/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

using Texts = std::vector<std::string>;
constexpr milliseconds kShort{1};

TEST(ClockLinkHelpers, HighBytesPassUnchangedCountsGoHighByteFirstAndCancelStopsEveryHelper) {
    ScriptedClockLink link;
    ASSERT_EQ(link.open(kLoftSendConstants.SettingsFor("3")), LinkStatus::Ok);
    EXPECT_EQ(SendBytes(link, std::string("\x3E\x00\x80\xFF", 4)), LinkStatus::Ok);
    EXPECT_EQ(SendCount(link, 20026), LinkStatus::Ok);
    EXPECT_EQ(link.Sent(), std::string("\x3E\x00\x80\xFF\x4E\x3A", 6));

    link.QueueIncoming(std::string("\x03\xE8>x\xAB", 5));
    EXPECT_EQ(ReceiveCount(link, kShort).count, 1000);
    EXPECT_EQ(ExpectByte(link, '>', kShort), LinkStatus::Ok);
    EXPECT_EQ(ExpectByte(link, '>', kShort), LinkStatus::Unexpected);
    std::uint8_t record[2] = {};
    EXPECT_EQ(ReceiveBytes(link, record, kShort), LinkStatus::Timeout); // one byte there, the second never comes
    EXPECT_EQ(record[0], 0xAB);

    std::stop_source cancel;
    cancel.request_stop();
    link.QueueIncoming(">");
    EXPECT_EQ(DrainInput(link, kShort, cancel.get_token()), LinkStatus::Cancelled);
    EXPECT_EQ(SendBytes(link, ">1", cancel.get_token()), LinkStatus::Cancelled);
    EXPECT_EQ(ReceiveCount(link, kShort, cancel.get_token()).status, LinkStatus::Cancelled);
    EXPECT_EQ(link.Sent().size(), 6U);
}

TEST(ScriptedClockLink, AClosedPortCarriesNothingAndAWaitingReceiveWakesFromOtherThreads) {
    ScriptedClockLink link;
    EXPECT_EQ(link.sendByte('>'), LinkStatus::PortError);
    EXPECT_EQ(link.receiveByte(kShort).status, LinkStatus::PortError);
    ASSERT_EQ(link.open(PortSettings{"7"}), LinkStatus::Ok);
    EXPECT_EQ(link.open(PortSettings{"7"}), LinkStatus::PortError);
    link.AnswerAfter(2, ">");
    link.sendByte('>');
    EXPECT_EQ(link.receiveByte(kShort).status, LinkStatus::Timeout); // the answer waits for the second byte
    link.sendByte('3');
    EXPECT_EQ(link.receiveByte(kShort).byte, '>');

    std::thread feeder([&] { link.QueueIncoming("\xFF"); });
    EXPECT_EQ(link.receiveByte(milliseconds(60000)).byte, 0xFF);
    feeder.join();
    std::stop_source cancel;
    std::thread canceller([&] { cancel.request_stop(); });
    EXPECT_EQ(link.receiveByte(milliseconds(60000), cancel.get_token()).status, LinkStatus::Cancelled);
    canceller.join();
}

TEST(TracingClockLink, LogsEveryByteBothWaysAndWhatWentWrong) {
    ScriptedClockLink inner;
    Texts lines;
    TracingClockLink link(inner, [&](std::string_view line) { lines.emplace_back(line); });
    link.open(kLoftGetConstants.SettingsFor("ttyS0"));
    inner.AnswerAfter(1, std::string(">\x9A", 2));
    link.sendByte('>');
    for (int i = 0; i < 3; ++i) link.receiveByte(kShort);
    std::stop_source cancel;
    cancel.request_stop();
    link.sendByte(0x0D, cancel.get_token());
    link.close();
    EXPECT_EQ(lines, SplitLines(TestData("clock/trace.txt")));
}


// Time moves only when the pacer sleeps; the port's driver holds each byte for `hold` after it
// was written, or fails.
class FakeLine final : public LineClock, public PortOutputQueue {
public:
    time_point Now() const override { return now; }
    void Sleep(nanoseconds span) override {
        now += span;
        if (onSleep) onSleep();
    }
    std::optional<std::size_t> Queued() override {
        if (failed) return std::nullopt;
        return now < heldUntil_ ? 1 : 0;
    }
    void Discard() override { ++discarded; }
    void Write() { heldUntil_ = now + hold; }
    nanoseconds Elapsed() const { return now - time_point{}; }

    nanoseconds hold{0};
    std::function<void()> onSleep;
    bool failed = false;
    int discarded = 0;
    time_point now{};

private:
    time_point heldUntil_{};
};

// Each row: baud | data bits | parity (0 none, 1 even, 2 odd) | stop bits | nanoseconds a byte takes.
TEST(LinePacer, AByteTakesItsStartDataParityAndStopBits) {
    for (const auto& c : TableCells("clock/bytetimes.txt")) {
        const PortSettings line{"", std::stoi(c[0]), std::stoi(c[1]), static_cast<Parity>(std::stoi(c[2])), std::stoi(c[3]), 512, 1024};
        EXPECT_EQ(LineByteTime(line).count(), std::stoll(c[4])) << SettingsText(line);
    }
}

class LinePacing : public ::testing::Test {
protected:
    LinePacing() { pacer.Start(kLoftSendConstants.port); }
    // Writes `count` bytes through the pacer, checking each; `each` looks at the pacer after a byte.
    void WriteBytes(int count, const std::function<void()>& each = [] {}) {
        for (int i = 0; i < count; ++i) {
            line.Write();
            ASSERT_EQ(pacer.Sent(line), LinkStatus::Ok);
            each();
        }
    }

    FakeLine line;
    LinePacer pacer{line};
};

TEST_F(LinePacing, APortThatTakesEverythingAtOnceStillGoesAtTheLinesPace) {
    const nanoseconds byte = pacer.ByteTime();
    WriteBytes(100, [&] { EXPECT_LE(pacer.UntilIdle(), byte); }); // never more than a byte ahead
    // The answer's timeout starts once the last byte has left the line.
    EXPECT_GE(line.Elapsed() + pacer.UntilIdle(), 100 * std::chrono::microseconds(1040));
    EXPECT_EQ(line.Elapsed() + pacer.UntilIdle(), 100 * byte); // and nothing is added

    // A pause is not saved up: after it the line takes a byte at once, the next one a byte later.
    line.now += milliseconds(50);
    const nanoseconds before = line.Elapsed();
    WriteBytes(2);
    EXPECT_EQ(line.Elapsed() - before, byte);
    EXPECT_EQ(pacer.UntilIdle(), byte);
}

TEST_F(LinePacing, APortSlowerThanTheLineSetsThePace) {
    line.hold = milliseconds(3);
    WriteBytes(10, [&] { EXPECT_EQ(pacer.UntilIdle(), pacer.ByteTime()); }); // it left the driver just now
    EXPECT_GE(line.Elapsed(), milliseconds(30));
    EXPECT_LT(line.Elapsed(), milliseconds(31));
}

TEST_F(LinePacing, CancelDropsWhatThePortHoldsAndAFailedPortIsAnError) {
    pacer.Start(kSendTimeConstants.port); // 300 baud: a byte takes 36.7 ms
    WriteBytes(1);
    std::stop_source cancel;
    line.onSleep = [&] { cancel.request_stop(); }; // while the line carries the first byte
    line.Write();
    EXPECT_EQ(pacer.Sent(line, cancel.get_token()), LinkStatus::Cancelled);
    EXPECT_EQ(line.discarded, 1);
    EXPECT_LE(line.Elapsed(), pacer.ByteTime()); // seen within a byte

    line.failed = true;
    EXPECT_EQ(pacer.Sent(line), LinkStatus::PortError);
    EXPECT_EQ(line.discarded, 1);
}


class SimulatedClock : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(link.open(kLoftSendConstants.SettingsFor("1")), LinkStatus::Ok); }
    // What the clock sends until it falls silent.
    std::string Exchange(std::string_view bytes) {
        EXPECT_EQ(SendBytes(link, bytes), LinkStatus::Ok);
        std::string got;
        for (ByteResult b = link.receiveByte(kShort); b.ok(); b = link.receiveByte(kShort)) got += static_cast<char>(b.byte);
        return got;
    }

    FrozenTimeSource master{MakeDateTime(2008, 6, 4, 9, 5, 7)};
    ClockSimulator clock{master};
    ScriptedClockLink link{clock};
};

// The program's loft message of one pigeon, sent on 3 June 2008 at midnight.
const std::string kLoftMessage = TestData("clock/loftmessage.bytes");

TEST_F(SimulatedClock, RefusesALoftThatDoesNotAddUpAndAHangUpVoidsAHalfSentOne) {
    EXPECT_EQ(Exchange(TestData("clock/loftmessage_long.bytes")), "?"); // announces more than it holds
    SendBytes(link, kLoftMessage.substr(0, 30));
    link.close();
    EXPECT_FALSE(clock.Busy());
    EXPECT_TRUE(clock.State().pigeons.empty());
    link.open(PortSettings{});
    EXPECT_EQ(Exchange(kLoftMessage), ">");
    EXPECT_EQ(clock.State().pigeons.size(), 1U);
}

TEST_F(SimulatedClock, AShortPointListEndsAtThePauseEvenWhenANameStartsWithTheEndMark) {
    EXPECT_EQ(Exchange(">8" + std::string(13, ' ') + ">ROUEN       " + "LILLE        " + ">"), ">");
    EXPECT_EQ(clock.State().releasePoints, (Texts{std::string(13, ' '), ">ROUEN       ", "LILLE        "}));
}

TEST_F(SimulatedClock, LoadsHexRecordsCountingBadChecksumsAndARawImageUntilTheHangUp) {
    EXPECT_EQ(Exchange("\x08"), "\x08");
    EXPECT_EQ(Exchange("\x08"), "\x08"); // asked again, answers again
    Exchange(":01FFFE000002\r\n:03010000AABBCCCB\r\n:0201000011220B\r\n:00000001FF\r\n");
    const FirmwareUpload& upload = clock.State().firmware;
    EXPECT_TRUE(upload.kind == FirmwareKind::Hex && upload.complete);
    EXPECT_EQ(upload.checksumErrors, 1);
    EXPECT_EQ(upload.image, (std::vector<std::uint8_t>{0x00, 0xAA, 0xBB, 0xCC}));
    EXPECT_EQ(Exchange(">3").front(), '>'); // back to normal service

    EXPECT_EQ(Exchange("\x08"), "\x08");
    Exchange(std::string("\x54\xAA\xAB\x55\x55\x57" "\x01\x3E\x08\xFF" "\x00", 11));
    EXPECT_TRUE(clock.Busy());
    link.close();
    EXPECT_TRUE(upload.kind == FirmwareKind::Raw && upload.complete);
    EXPECT_EQ(upload.image, (std::vector<std::uint8_t>{0x01, 0x3E, 0x08, 0xFF}));
}


TEST(ClockState, GoldenFileReadsAndWritesBackByteForByte) {
    const std::string golden = TestData("clock/state.txt");
    const ClockStateRead read = ParseClockState(golden);
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.state.releasePoints.size(), 3U);
    EXPECT_EQ(read.state.releasePoints[2], std::string(">\rAB") + std::string(9, ' ')); // control bytes as hex
    EXPECT_EQ(read.state.arrivals.at(0)[27], 0xAB);
    EXPECT_EQ(read.state.clockOffsetSeconds, -42);
    EXPECT_EQ(FormatClockState(read.state), golden);

    TestFolder folder; // a missing file is a fresh clock
    const ClockStateRead missing = LoadClockState(folder.path() / "clock.txt");
    EXPECT_TRUE(missing.ok && missing.state == ClockState{});
}

TEST(ClockState, HandWrittenArrivalsNameTheirPigeonAndBadLinesAreNamed) {
    const ClockStateRead read = ParseClockState(TestData("clock/handwritten.txt"));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(FormatClockState(read.state), TestData("clock/handwritten_read.txt"));
    const auto error = [](const char* text) { return ParseClockState(text).error; };
    EXPECT_EQ(error("loft 1 2 3 4\n"), "line 1: not a clock state file");
    EXPECT_EQ(error("plumet-clocksim state\nloft 1 2 3 256\n"), "line 2: cannot read \"loft 1 2 3 256\"");
    EXPECT_EQ(error("plumet-clocksim state\narrival #1 7 14 10 31 5\n"), "line 2: no pigeon #1 in the loft above");
}


constexpr int kMonday = 1;
const std::string kTelegram = "\x10\x19\x10\x15\x10\x17\x13\x10\x14\x10\x16\x10\x18\x10\x33\x0D";

// A PC clock that moves on by one second every `callsPerSecond` looks.
class SteppingTime final : public TimeSource {
public:
    SteppingTime(DateTime start, int callsPerSecond) : start_(start), calls_(callsPerSecond) {}
    DateTime Now() const override { return FromCivilSeconds(CivilSeconds(start_) + looks_++ / calls_); }

private:
    DateTime start_;
    int calls_;
    mutable std::atomic<long> looks_{0};
};

TEST(TimeTelegram, FourthOfJune2008AtNineOhFiveOhSevenAndTheWeekdayCountedFromTheFirstDay) {
    EXPECT_EQ(TimeTelegram(MakeDateTime(2008, 6, 4, 9, 5, 7), kMonday), kTelegram);
    EXPECT_EQ(TimeTelegram(MakeDateTime(2019, 12, 31, 23, 59, 58), kMonday), TestData("clock/telegram2019.bytes"));
    std::string weekdays; // 1 to 7 June 2008, Sunday to Saturday, a line each; counted from Sunday, Monday, Saturday
    for (int day = 1; day <= 7; ++day)
        for (const int first : {0, kMonday, 6})
            weekdays += std::to_string(TelegramWeekday(MakeDateTime(2008, 6, day).weekday, first)) + (first == 6 ? "\n" : " ");
    EXPECT_EQ(weekdays, TestData("clock/weekdays.txt"));
}

TEST(TimeTransmitter, OneTelegramPerSecondAndNoneWhileNeitherModemLineIsActive) {
    FrozenTimeSource pc{MakeDateTime(2008, 6, 4, 9, 5, 6)};
    ScriptedClockLink link;
    link.open(PortSettings{});
    TimeTransmitter transmitter(pc, kMonday);
    link.SetModemLines({true, false});
    EXPECT_FALSE(transmitter.Step(link).newSecond); // the second it started in is not announced
    pc.Advance(1);
    EXPECT_TRUE(transmitter.Step(link).sent);
    EXPECT_FALSE(transmitter.Step(link).sent);
    EXPECT_EQ(link.Sent(), kTelegram);
    link.SetModemLines({false, false});
    pc.Advance(1);
    const TimeTransmitter::Tick silent = transmitter.Step(link);
    EXPECT_TRUE(silent.newSecond && !silent.sent);
    link.SetModemLines({false, true}); // carrier-detect alone will do
    pc.Advance(1);
    EXPECT_TRUE(transmitter.Step(link).sent);
    EXPECT_EQ(link.Sent().size(), 2 * kTimeTelegramLength);
}

TEST_F(SimulatedClock, TheTimeTransmitterRunsTheGivenSecondsSettingTheClockAndEndsOnAVanishingPortOrCancel) {
    link.SetModemLines({true, true});
    SteppingTime pcTime(MakeDateTime(2008, 6, 4, 9, 5, 7), 3);
    SendTimeOutcome outcome = RunTimeTransmitter(link, pcTime, kMonday, 3, milliseconds{0}, {}, {});
    EXPECT_EQ(std::pair(outcome.link, outcome.telegrams), std::pair(LinkStatus::Ok, 3L));
    EXPECT_EQ(clock.ClockTime(), MakeDateTime(2008, 6, 4, 9, 5, 10));

    FailingClockLink failing(link);
    failing.PortErrorAtSend(20); // inside the second telegram
    outcome = RunTimeTransmitter(failing, pcTime, kMonday, 0, milliseconds{0}, {}, {});
    EXPECT_EQ(std::pair(outcome.link, outcome.telegrams), std::pair(LinkStatus::PortError, 1L));
    std::stop_source stop;
    outcome = RunTimeTransmitter(link, pcTime, kMonday, 0, milliseconds{0},
                                 [&](const DateTime&, bool) { stop.request_stop(); }, stop.get_token());
    EXPECT_EQ(std::pair(outcome.link, outcome.seconds), std::pair(LinkStatus::Cancelled, 1L));
}


using Kind = PrintRelayEffect::Kind;

// The effects of `bytes`, one "kind:text/lines" each.
Texts Feed(PrintRelay& relay, std::string_view bytes) {
    Texts effects;
    for (const char c : bytes)
        if (const PrintRelayEffect e = relay.OnChar(static_cast<std::uint8_t>(c)); e.kind != Kind::None)
            effects.push_back(std::to_string(static_cast<int>(e.kind)) + ":" + e.text + "/" + std::to_string(e.lines));
    return effects;
}

TEST(PrintRelay, EachTargetTreatsTheCharactersItsOwnWay) {
    const std::string printOut = "AB\x07\xE9\r\nC\tD\n\fE\n"; // BEL, e acute, CR LF, TAB, LF, FF
    PrintRelay printer(PrintTarget::Printer), file(PrintTarget::File), screen(PrintTarget::Screen);
    // Control characters reach the printer, CR does not; the file keeps only printable characters.
    EXPECT_EQ(Feed(printer, printOut), (Texts{"1:AB\x07\xE9/1", "1:C\tD/2", "2:/2", "1:E/3"}));
    EXPECT_EQ(Feed(file, printOut), (Texts{"1:AB\xE9/1", "1:CD/2", "1:E/3"}));
    // The form feed's line end waits for the next line feed.
    EXPECT_EQ(Feed(screen, printOut), (Texts{"3:AB\x07\xE9\r\n/0", "3:C\tD/0", "3:\r\nE/0"}));
    EXPECT_TRUE(Feed(screen, "F\r").empty());
    EXPECT_EQ(screen.ScreenText(), "AB\x07\xE9\r\nC\tD\r\nEF\r\n");
}

TEST(PrintRelay, TheIdleTimerDropsThePrintersUnfinishedLineButNotTheFiles) {
    // The printer's count starts again; the file keeps the line.
    for (const auto& [target, after] : {std::pair{PrintTarget::Printer, "1:o/1"}, {PrintTarget::File, "1:two/1"}}) {
        PrintRelay relay(target);
        Feed(relay, "one\r\ntw");
        EXPECT_EQ(relay.OnIdle().kind, Kind::Waiting);
        EXPECT_EQ(Feed(relay, "o\n"), Texts{after}) << after;
    }
    EXPECT_EQ(PrintRelay(PrintTarget::Screen).OnIdle().kind, Kind::None);

    PrinterDocument document;
    document.EndPage(); // a form feed before anything printed gives an empty first page
    document.AddLine("a");
    document.EndPage();
    EXPECT_EQ(document.Pages(), (std::vector<Texts>{{}, {"a"}})); // no empty last page
}

// The old print-out goes only once the first line is on the disk in its place.
TEST(PrintFile, TheFirstLineReplacesTheOldPrintOutOfAnyCaseAndAFailedLineIsReportedNotHalfWritten) {
    TestFolder folder;
    folder.Write("print.txt", "old print-out\r\n");
    PrintFile file(folder.path());
    ASSERT_TRUE(file.CheckReplaceable());
    EXPECT_FALSE(WithFailingSaves([&] { return file.AppendLine("first"); }));
    EXPECT_EQ(folder.Read("print.txt"), "old print-out\r\n");
    ASSERT_TRUE(file.AppendLine("AB\xE9"));
    EXPECT_FALSE(WithFailingSaves([&] { return file.AppendLine("lost"); }));
    ASSERT_TRUE(file.AppendLine(""));
    EXPECT_EQ(folder.Read("print.txt"), "AB\xE9\r\n\r\n");
    EXPECT_EQ(folder.EntryCount(), 1U);
}

TEST_F(SimulatedClock, PrintRelayWritesThePrintOutEndsWhenIdleAndStopsOnPortErrorSaveFailureOrCancel) {
    TestFolder folder;
    // Idle only after a second without a byte: a loaded machine may hold the reading thread back longer than a short wait.
    const PrintRelayTimings quick{milliseconds{5}, milliseconds{20}, milliseconds{1000}};
    clock.State().printout = {"ARRIVAL LIST", "001 NL-05-1234567 09:05:07"};
    link.QueueIncoming(clock.PrintOut());
    PrintFile file(folder.path());
    ASSERT_TRUE(file.CheckReplaceable());
    PrintRelay toFile(PrintTarget::File), screen(PrintTarget::Screen), printer(PrintTarget::Printer);
    Kind last = Kind::None;
    PrintRelayOutcome outcome = RunPrintRelay(link, toFile, &file, quick, [&](const auto& e) { last = e.kind; }, {});
    EXPECT_EQ(outcome.end, PrintRelayEnd::Idle);
    EXPECT_EQ(last, Kind::Waiting);
    EXPECT_EQ(folder.Read("PRINT.TXT"), "ARRIVAL LIST\r\n001 NL-05-1234567 09:05:07\r\n");
    EXPECT_TRUE(link.Sent().empty());

    link.QueueIncoming("A\nB\n");
    FailingClockLink failing(link);
    failing.PortErrorAtReceive(3);
    EXPECT_EQ(RunPrintRelay(failing, screen, nullptr, quick, {}, {}).end, PrintRelayEnd::PortError);
    link.QueueIncoming("C\n");
    outcome = WithFailingSaves([&] { return RunPrintRelay(link, toFile, &file, quick, {}, {}); });
    EXPECT_EQ(outcome.end, PrintRelayEnd::SaveFailed);
    EXPECT_FALSE(outcome.error.empty());
    std::stop_source stop;
    outcome = RunPrintRelay(link, printer, nullptr, {milliseconds{5}, milliseconds{20}, milliseconds{0}},
                            [&](const PrintRelayEffect&) { stop.request_stop(); }, stop.get_token());
    EXPECT_EQ(outcome.end, PrintRelayEnd::Cancelled);
}


TEST(DateTime, CalendarChecksAndAFrozenClockMovedAcrossTheYearEndAndBack) {
    EXPECT_TRUE(IsValidDateTime(MakeDateTime(2008, 2, 29, 23, 59, 59)));
    EXPECT_FALSE(IsValidDateTime(MakeDateTime(2001, 2, 29)) || IsValidDateTime(MakeDateTime(2001, 1, 1, 24, 0, 0)));
    FrozenTimeSource time(MakeDateTime(2008, 12, 31, 23, 59, 30));
    time.Advance(45);
    EXPECT_EQ(time.Now(), MakeDateTime(2009, 1, 1, 0, 0, 15));
    time.Advance(-39 * 365 * 86400 - 10 * 86400 - 16); // across the 1970 epoch
    EXPECT_EQ(time.Now(), MakeDateTime(1969, 12, 31, 23, 59, 59));
    const DateTime now = SystemTimeSource().Now();
    EXPECT_TRUE(IsValidDateTime(now));
    EXPECT_EQ(MakeDateTime(now.year, now.month, now.day).weekday, now.weekday);
}

// Each row: zone | year | month | day | hour | minute, local time | minutes ahead of UTC.
TEST(DateTime, TheOffsetFromUtcIsTheOneInForceAtEachTime) {
    for (const auto& c : TableCells("clock/utcoffsets.txt")) {
        const ScopedTimeZone zone(c[0].c_str());
        const DateTime at = MakeDateTime(std::stoi(c[1]), std::stoi(c[2]), std::stoi(c[3]), std::stoi(c[4]), std::stoi(c[5]));
        EXPECT_EQ(LocalUtcOffsetMinutes(at), std::stoi(c[6])) << c[0] << " " << c[2];
    }
}

} // namespace
} // namespace plumet
