#include <gtest/gtest.h>

#include "core/app/files.h"
#include "core/clock/clockstate.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(ClockState, GoldenFileReadsAndWritesBackByteForByte) {
    const FileContent golden = ReadWholeFile(Path(PLUMET_TEST_DATA) / "clock" / "state.txt");
    ASSERT_EQ(golden.status, ReadStatus::Ok);
    const ClockStateRead read = ParseClockState(golden.bytes);
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.state.releasePoints.size(), 3U);
    EXPECT_EQ(read.state.releasePoints[2], std::string(">\rAB") + std::string(9, ' ')); // control bytes as hex
    EXPECT_EQ(read.state.arrivals.at(0)[27], 0xAB);
    EXPECT_EQ(read.state.clockOffsetSeconds, -42);
    EXPECT_EQ(FormatClockState(read.state), golden.bytes);

    TestFolder folder; // a missing file is a fresh clock
    const ClockStateRead missing = LoadClockState(folder.path() / "clock.txt");
    EXPECT_TRUE(missing.ok && missing.state == ClockState{});
}

TEST(ClockState, HandWrittenArrivalsNameTheirPigeonAndBadLinesAreNamed) {
    const ClockStateRead read = ParseClockState("plumet-clocksim state\n# a demo clock\n\nname Short\n"
                                                "pigeon 353001785634020000001C01000073 1300000000\n"
                                                "arrival #1 7 14 10 31 5\n");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.state.name, "Short               ");
    EXPECT_EQ(read.state.arrivals.at(0)[14], 115);
    EXPECT_EQ(read.state.arrivals.at(0)[20], 5);

    const auto error = [](const char* text) { return ParseClockState(text).error; };
    EXPECT_EQ(error("loft 1 2 3 4\n"), "line 1: not a clock state file");
    EXPECT_EQ(error("plumet-clocksim state\nloft 1 2 3 256\n"), "line 2: cannot read \"loft 1 2 3 256\"");
    EXPECT_EQ(error("plumet-clocksim state\narrival #1 7 14 10 31 5\n"), "line 2: no pigeon #1 in the loft above");
}

} // namespace
} // namespace plumet
