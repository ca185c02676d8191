#include <gtest/gtest.h>

#include <vector>

#include "core/clock/clocksimulator.h"
#include "core/clock/printrelay.h"
#include "support/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

using Kind = PrintRelayEffect::Kind;

// The effects of `bytes`, one "kind:text/lines" each.
std::vector<std::string> Feed(PrintRelay& relay, std::string_view bytes) {
    std::vector<std::string> effects;
    for (const char c : bytes)
        if (const PrintRelayEffect e = relay.OnChar(static_cast<std::uint8_t>(c)); e.kind != Kind::None)
            effects.push_back(std::to_string(static_cast<int>(e.kind)) + ":" + e.text + "/" + std::to_string(e.lines));
    return effects;
}

TEST(PrintRelay, EachTargetTreatsTheCharactersItsOwnWay) {
    const std::string printOut = "AB\x07\xE9\r\nC\tD\n\fE\n"; // BEL, e acute, CR LF, TAB, LF, FF
    PrintRelay printer(PrintTarget::Printer), file(PrintTarget::File), screen(PrintTarget::Screen);
    // Control characters reach the printer, CR does not; the file keeps only printable characters.
    EXPECT_EQ(Feed(printer, printOut), (std::vector<std::string>{"1:AB\x07\xE9/1", "1:C\tD/2", "2:/2", "1:E/3"}));
    EXPECT_EQ(Feed(file, printOut), (std::vector<std::string>{"1:AB\xE9/1", "1:CD/2", "1:E/3"}));
    // The form feed's line end waits for the next line feed.
    EXPECT_EQ(Feed(screen, printOut), (std::vector<std::string>{"3:AB\x07\xE9\r\n/0", "3:C\tD/0", "3:\r\nE/0"}));
    EXPECT_TRUE(Feed(screen, "F\r").empty());
    EXPECT_EQ(screen.ScreenText(), "AB\x07\xE9\r\nC\tD\r\nEF\r\n");
}

TEST(PrintRelay, TheIdleTimerDropsThePrintersUnfinishedLineButNotTheFiles) {
    PrintRelay printer(PrintTarget::Printer), file(PrintTarget::File);
    Feed(printer, "one\r\ntw");
    Feed(file, "one\r\ntw");
    EXPECT_EQ(printer.OnIdle().kind, Kind::Waiting);
    EXPECT_EQ(file.OnIdle().kind, Kind::Waiting);
    EXPECT_EQ(Feed(printer, "o\n"), (std::vector<std::string>{"1:o/1"})); // the count starts again
    EXPECT_EQ(Feed(file, "o\n"), (std::vector<std::string>{"1:two/1"}));
    EXPECT_EQ(PrintRelay(PrintTarget::Screen).OnIdle().kind, Kind::None);

    PrinterDocument document;
    document.EndPage(); // a form feed before anything printed gives an empty first page
    document.AddLine("a");
    document.EndPage();
    EXPECT_EQ(document.Pages(), (std::vector<std::vector<std::string>>{{}, {"a"}})); // no empty last page
}

TEST(PrintFile, CreatedEmptyOverAnyCaseAndAFailedLineIsReportedNotHalfWritten) {
    TestFolder folder;
    folder.Write("print.txt", "old print-out\r\n");
    PrintFile file(folder.path());
    ASSERT_TRUE(file.Create());
    EXPECT_EQ(folder.Read("print.txt"), "");
    ASSERT_TRUE(file.AppendLine("AB\xE9"));
    EXPECT_FALSE(WithFailingSaves([&] { return file.AppendLine("lost"); }));
    ASSERT_TRUE(file.AppendLine(""));
    EXPECT_EQ(folder.Read("print.txt"), "AB\xE9\r\n\r\n");
    EXPECT_EQ(folder.EntryCount(), 1U);
}

TEST(RunPrintRelay, WritesTheClocksPrintOutEndsWhenIdleAndStopsOnPortErrorSaveFailureOrCancel) {
    TestFolder folder;
    FrozenTimeSource master{MakeDateTime(2008, 6, 4, 9, 5, 7)};
    ClockSimulator clock{master};
    ScriptedClockLink link{clock};
    link.open(PortSettings{});
    const PrintRelayTimings quick{milliseconds{5}, milliseconds{20}, milliseconds{150}};
    clock.State().printout = {"ARRIVAL LIST", "001 NL-05-1234567 09:05:07"};
    link.QueueIncoming(clock.PrintOut());
    PrintFile file(folder.path());
    ASSERT_TRUE(file.Create());
    PrintRelay toFile(PrintTarget::File);
    Kind last = Kind::None;
    PrintRelayOutcome outcome = RunPrintRelay(link, toFile, &file, quick, [&](const auto& e) { last = e.kind; }, {});
    EXPECT_EQ(outcome.end, PrintRelayEnd::Idle);
    EXPECT_EQ(last, Kind::Waiting);
    EXPECT_EQ(folder.Read("PRINT.TXT"), "ARRIVAL LIST\r\n001 NL-05-1234567 09:05:07\r\n");
    EXPECT_TRUE(link.Sent().empty());

    link.QueueIncoming("A\nB\n");
    FailingClockLink failing(link);
    failing.PortErrorAtReceive(3);
    PrintRelay screen(PrintTarget::Screen);
    EXPECT_EQ(RunPrintRelay(failing, screen, nullptr, quick, {}, {}).end, PrintRelayEnd::PortError);
    link.QueueIncoming("C\n");
    outcome = WithFailingSaves([&] { return RunPrintRelay(link, toFile, &file, quick, {}, {}); });
    EXPECT_EQ(outcome.end, PrintRelayEnd::SaveFailed);
    EXPECT_FALSE(outcome.error.empty());
    std::stop_source stop;
    PrintRelay printer(PrintTarget::Printer);
    outcome = RunPrintRelay(link, printer, nullptr, {milliseconds{5}, milliseconds{20}, milliseconds{0}},
                            [&](const PrintRelayEffect&) { stop.request_stop(); }, stop.get_token());
    EXPECT_EQ(outcome.end, PrintRelayEnd::Cancelled);
}

} // namespace
} // namespace plumet
