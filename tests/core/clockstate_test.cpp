#include <gtest/gtest.h>

#include "app/files.h"
#include "clock/clockstate.h"
#include "testfolder.h"

namespace plumet {
namespace {

const Path kGolden = Path(PLUMET_TEST_DATA) / "clock" / "state.txt";

TEST(ClockState, GoldenFileReadsAndWritesBackByteForByte) {
    const FileContent golden = ReadWholeFile(kGolden);
    ASSERT_EQ(golden.status, ReadStatus::Ok);
    const ClockStateRead read = ParseClockState(golden.bytes);
    ASSERT_TRUE(read.ok) << read.error;
    const ClockState& state = read.state;
    EXPECT_EQ(state.club, 7);
    EXPECT_EQ(state.name, "M\xFCller Hans         ");
    ASSERT_EQ(state.pigeons.size(), 2U);
    EXPECT_EQ(state.pigeons[1].chip, (ChipRecord{0xAB, 0xCD, 0xEF, 0x01, 0x23}));
    ASSERT_EQ(state.releasePoints.size(), 3U);
    EXPECT_EQ(state.releasePoints[2], std::string(">\rAB") + std::string(9, ' '));
    ASSERT_EQ(state.arrivals.size(), 2U);
    EXPECT_EQ(state.arrivals[0][16], 7);
    EXPECT_EQ(state.arrivals[0][21], 128);
    EXPECT_EQ(state.arrivals[0][27], 0xAB);
    EXPECT_EQ(state.arrivals[1][17], 142);
    EXPECT_EQ(state.clockOffsetSeconds, -42);
    EXPECT_EQ(state.printout, (std::vector<std::string>{"ARRIVAL LIST \xC4", ""}));
    EXPECT_EQ(state.firmware.kind, FirmwareKind::Hex);
    EXPECT_EQ(state.firmware.checksumErrors, 1);
    EXPECT_EQ(FormatClockState(state), golden.bytes);
}

TEST(ClockState, HandWrittenArrivalsNameTheirPigeonAndKeepBlanks) {
    const ClockStateRead read = ParseClockState(
        "plumet-clocksim state\n"
        "# a demo clock\n"
        "\n"
        "name Short\n"
        "pigeon 353001785634020000001C01000073 1300000000\n"
        "arrival #1 7 14 10 31 5\n");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.state.name, "Short               ");
    ASSERT_EQ(read.state.arrivals.size(), 1U);
    EXPECT_EQ(read.state.arrivals[0][0], 53);
    EXPECT_EQ(read.state.arrivals[0][14], 115);
    EXPECT_EQ(read.state.arrivals[0][20], 5);
    EXPECT_EQ(read.state.arrivals[0][21], 0);
}

TEST(ClockState, ReportsTheLineItCannotRead) {
    const auto error = [](const char* text) { return ParseClockState(text).error; };
    EXPECT_EQ(error("loft 1 2 3 4\n"), "line 1: not a clock state file");
    EXPECT_EQ(error("plumet-clocksim state\nloft 1 2 3 256\n"), "line 2: cannot read \"loft 1 2 3 256\"");
    EXPECT_EQ(error("plumet-clocksim state\npigeon 00 1300000000\n"), "line 2: cannot read \"pigeon 00 1300000000\"");
    EXPECT_EQ(error("plumet-clocksim state\narrival #1 7 14 10 31 5\n"), "line 2: no pigeon #1 in the loft above");
    EXPECT_EQ(error("plumet-clocksim state\nbell ring\n"), "line 2: unknown entry \"bell\"");
    EXPECT_EQ(error("plumet-clocksim state\nname-hex 4142\n"), "line 2: cannot read \"name-hex 4142\"");
}

TEST(ClockState, SavesAndLoadsThroughTheFile) {
    TestFolder folder;
    const Path path = folder.path() / "clock.txt";
    const ClockStateRead missing = LoadClockState(path);
    EXPECT_TRUE(missing.ok);
    EXPECT_EQ(missing.state, ClockState{});

    ClockState state;
    state.name = std::string("\x01\x02", 2) + std::string(18, 'x'); // control bytes go as hex
    state.releasePoints = {std::string(13, ' '), "ROUEN        "};
    state.arrivals.push_back(ArrivalRecord{});
    state.arrivals.back()[27] = 0x99;
    ASSERT_TRUE(SaveClockState(path, state));
    const ClockStateRead back = LoadClockState(path);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.state, state);
}

} // namespace
} // namespace plumet
