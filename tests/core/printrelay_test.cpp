#include <gtest/gtest.h>

#include <vector>

#include "clock/clocksimulator.h"
#include "clock/printrelay.h"
#include "clock/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

using Kind = PrintRelayEffect::Kind;

// A, B, BEL, e acute, CR, LF, C, TAB, D, LF, FF, E, LF.
const std::string kPrintOut = "AB\x07\xE9\r\nC\tD\n\fE\n";

std::vector<PrintRelayEffect> Feed(PrintRelay& relay, std::string_view bytes) {
    std::vector<PrintRelayEffect> effects;
    for (const char c : bytes) {
        PrintRelayEffect effect = relay.OnChar(static_cast<std::uint8_t>(c));
        if (effect.kind != Kind::None) effects.push_back(std::move(effect));
    }
    return effects;
}

TEST(PrintRelay, EachTargetTreatsTheCharactersItsOwnWay) {
    PrintRelay printer(PrintTarget::Printer);
    std::vector<PrintRelayEffect> got = Feed(printer, kPrintOut);
    ASSERT_EQ(got.size(), 4U);
    EXPECT_EQ(got[0].kind, Kind::Line);
    EXPECT_EQ(got[0].text, "AB\x07\xE9"); // control characters reach the printer, CR does not
    EXPECT_EQ(got[0].lines, 1);
    EXPECT_EQ(got[1].text, "C\tD");
    EXPECT_EQ(got[2].kind, Kind::PageEnd);
    EXPECT_EQ(got[3].text, "E");
    EXPECT_EQ(got[3].lines, 3);

    PrintRelay file(PrintTarget::File);
    got = Feed(file, kPrintOut);
    ASSERT_EQ(got.size(), 3U);
    EXPECT_EQ(got[0].text, "AB\xE9"); // the file keeps only printable characters
    EXPECT_EQ(got[1].text, "CD");
    EXPECT_EQ(got[2].text, "E");
    EXPECT_EQ(got[2].lines, 3);

    PrintRelay screen(PrintTarget::Screen);
    got = Feed(screen, kPrintOut);
    ASSERT_EQ(got.size(), 3U);
    EXPECT_EQ(got[0].kind, Kind::Show);
    EXPECT_EQ(got[0].text, "AB\x07\xE9\r\n");
    EXPECT_EQ(got[1].text, "C\tD");
    EXPECT_EQ(got[2].text, "\r\nE"); // the form feed's line end waits for the next line feed
    EXPECT_EQ(screen.ScreenText(), "AB\x07\xE9\r\nC\tD\r\nE");
    EXPECT_TRUE(Feed(screen, "F\r").empty());
    EXPECT_EQ(screen.ScreenText(), "AB\x07\xE9\r\nC\tD\r\nEF\r\n");
}

TEST(PrintRelay, IdleTimerRestartsTheCountAndThePrinterDropsItsUnfinishedLine) {
    PrintRelay printer(PrintTarget::Printer);
    Feed(printer, "one\r\ntw");
    EXPECT_EQ(printer.OnIdle().kind, Kind::Waiting);
    EXPECT_EQ(printer.LineBuffer(), "");
    std::vector<PrintRelayEffect> got = Feed(printer, "o\n");
    ASSERT_EQ(got.size(), 1U);
    EXPECT_EQ(got[0].text, "o");
    EXPECT_EQ(got[0].lines, 1);

    PrintRelay file(PrintTarget::File);
    Feed(file, "one\r\ntw");
    EXPECT_EQ(file.OnIdle().kind, Kind::Waiting);
    got = Feed(file, "o\n");
    EXPECT_EQ(got[0].text, "two");
    EXPECT_EQ(got[0].lines, 1);

    PrintRelay screen(PrintTarget::Screen);
    EXPECT_EQ(screen.OnIdle().kind, Kind::None);
}

TEST(PrinterDocument, FormFeedsEndPagesAndNoEmptyLastPageIsPrinted) {
    PrinterDocument document;
    EXPECT_TRUE(document.Empty());
    document.EndPage(); // a form feed before anything printed gives an empty first page
    document.AddLine("a");
    document.AddLine("b");
    document.EndPage();
    document.AddLine("c");
    document.EndPage();
    const std::vector<std::vector<std::string>> pages = document.Pages();
    ASSERT_EQ(pages.size(), 3U);
    EXPECT_TRUE(pages[0].empty());
    EXPECT_EQ(pages[1], (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(pages[2], (std::vector<std::string>{"c"}));
}

TEST(PrintFile, CreatedEmptyOverAnyCaseAndWrittenLineByLine) {
    TestFolder folder;
    folder.Write("print.txt", "old print-out\r\n");
    PrintFile file(folder.path());
    ASSERT_TRUE(file.Create());
    EXPECT_EQ(folder.Read("print.txt"), "");
    ASSERT_TRUE(file.AppendLine("AB\xE9"));
    ASSERT_TRUE(file.AppendLine(""));
    EXPECT_EQ(folder.Read("print.txt"), "AB\xE9\r\n\r\n");
    EXPECT_EQ(folder.EntryCount(), 1U);

    SetSaveFaultForTests([](const Path&) { return true; });
    EXPECT_FALSE(file.AppendLine("lost"));
    SetSaveFaultForTests(nullptr);
    ASSERT_TRUE(file.AppendLine("C"));
    EXPECT_EQ(folder.Read("print.txt"), "AB\xE9\r\n\r\nC\r\n");
}

class Relay : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(link.open(kPrintRelayConstants.SettingsFor("1")), LinkStatus::Ok); }

    PrintRelayTimings Quick() const { return {milliseconds{5}, milliseconds{20}, milliseconds{150}}; }

    TestFolder folder;
    FrozenTimeSource master{MakeDateTime(2008, 6, 4, 9, 5, 7)};
    ClockSimulator clock{master};
    ScriptedClockLink link{clock};
};

TEST_F(Relay, FileRelayWritesTheClocksPrintOutAndEndsWhenIdle) {
    clock.State().printout = {"ARRIVAL LIST", "001 NL-05-1234567 09:05:07"};
    link.QueueIncoming(clock.PrintOut());
    PrintFile file(folder.path());
    ASSERT_TRUE(file.Create());
    PrintRelay relay(PrintTarget::File);
    std::vector<PrintRelayEffect> seen;
    const PrintRelayOutcome outcome =
        RunPrintRelay(link, relay, &file, Quick(), [&](const PrintRelayEffect& e) { seen.push_back(e); }, {});
    EXPECT_EQ(outcome.end, PrintRelayEnd::Idle);
    EXPECT_EQ(outcome.lines, 2);
    EXPECT_EQ(folder.Read("PRINT.TXT"), "ARRIVAL LIST\r\n001 NL-05-1234567 09:05:07\r\n");
    std::vector<long> counts;
    for (const PrintRelayEffect& e : seen)
        if (e.kind == Kind::Line) counts.push_back(e.lines);
    EXPECT_EQ(counts, (std::vector<long>{1, 2}));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().kind, Kind::Waiting);
    EXPECT_TRUE(link.Sent().empty());
}

TEST_F(Relay, PortErrorSaveFailureAndCancelEndTheRelay) {
    link.QueueIncoming("A\nB\nC\n");
    FailingClockLink failing(link);
    failing.PortErrorAtReceive(3);
    PrintRelay screen(PrintTarget::Screen);
    std::string shown;
    PrintRelayOutcome outcome =
        RunPrintRelay(failing, screen, nullptr, Quick(), [&](const PrintRelayEffect& e) { shown += e.text; }, {});
    EXPECT_EQ(outcome.end, PrintRelayEnd::PortError);
    EXPECT_EQ(shown, "A");

    PrintFile file(folder.path());
    ASSERT_TRUE(file.Create());
    SetSaveFaultForTests([](const Path&) { return true; });
    PrintRelay toFile(PrintTarget::File);
    outcome = RunPrintRelay(link, toFile, &file, Quick(), {}, {});
    SetSaveFaultForTests(nullptr);
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
