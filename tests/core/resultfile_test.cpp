#include <gtest/gtest.h>

#include "core/app/files.h"
#include "core/app/fixedwidth.h"
#include "core/race/resultfile.h"
#include "testfolder.h"

namespace plumet {
namespace {

std::string Golden() { return TestData("race/Spring 1.flt"); }

TEST(ResultFile, ReadsAndWritesTheGoldenFileByteForByte) {
    TestFolder folder;
    folder.Write("racecalc/SPRING 1.FLT", Golden());
    const ResultFile file = ReadResultFile(folder.path(), PadRight("Spring 1", 30));
    ASSERT_EQ(file.status, ReadStatus::Ok);
    ASSERT_EQ(file.lines.size(), 3u);
    EXPECT_EQ(file.lines[0].flightTimeText, "  5.03.07");
    EXPECT_EQ(file.lines[0].flightSeconds, 5 * 3600 + 3 * 60 + 7);
    EXPECT_EQ(file.lines[2].flightTimeText, "100.10.00");

    Race race;
    race.name = "Spring 1";
    ASSERT_TRUE(WriteResultFile(folder.path(), race, file.lines, ',').ok);
    EXPECT_EQ(folder.Read("racecalc/SPRING 1.FLT"), Golden());
}

TEST(ResultFile, TakesEitherSeparatorStopsAtABrokenLineAndKeepsItsColumns) {
    ResultLine line{"Meier", "DV 01234 23  1234567M", "BL", 5 * 3600, "", 600.125, 833.16, false};
    const std::string dotted = ResultFileLine(line, '.');
    EXPECT_EQ(dotted.substr(45), "0050000" "0600.125" "0833.160");
    const ResultFile file = ParseResultFile({" 4 ", dotted, dotted.substr(0, 67), dotted});
    ASSERT_EQ(file.lines.size(), 1u);
    EXPECT_DOUBLE_EQ(file.lines[0].distanceKm, 600.125);

    // Figures beyond their columns are written as the largest that fits.
    line.flightSeconds = 1200 * 3600;
    line.speed = 12345.678;
    const std::string wide = ResultFileLine(line, ',');
    EXPECT_EQ(wide.size(), kResultLineLength);
    EXPECT_EQ(wide.substr(45), "9990000" "0600,125" "9999,999");
}

} // namespace
} // namespace plumet
