#include <gtest/gtest.h>

#include <fstream>

#include "race/manualtimes.h"
#include "testfolder.h"

namespace plumet {
namespace {

std::string Golden(const std::string& name) {
    std::ifstream in(std::string(PLUMET_TEST_DATA) + "/race/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string MeierRecord() {
    return "012" + PadRight("Meier", 20) + "N51301525" + "E007050000" + "1" + PadRight("Note", 30);
}

Race Spring() {
    Race race;
    race.name = PadRight("Spring 1", 30);
    race.day = 15;
    race.month = 5;
    race.year = 2024;
    race.clubNumber = 7;
    race.releasePointNumber = 5;
    return race;
}

struct ManualFolder : TestFolder {
    ManualFolder() { Write("pigeon/p007012.dat", Golden("p007012.dat")); }
    ManualLoft Meier() const {
        PigeonTable pigeons;
        LoadPigeons(pigeons, PigeonFilePath(path(), "007", "012"));
        return ManualLoftOf(MeierRecord(), pigeons);
    }
};

ManualLoft ThreeOfTen(const ManualFolder& folder) {
    ManualLoft loft = folder.Meier();
    loft.timer = {14, 5, 18, 0, 0, 16, 5, 20, 0, 0, 20, 0, 5};
    AddManualArrival(loft, 8, {16, 5, 6, 1, 0});
    AddManualArrival(loft, 1, {15, 5, 11, 42, 7});
    AddManualArrival(loft, 4, {15, 5, 11, 45, 30});
    return loft;
}

TEST(ManualTimes, ThreeOfTenPigeonsMakeAFileInTheReadOutLineFormat) {
    ManualFolder folder;
    const ManualLoft loft = ThreeOfTen(folder);
    ASSERT_EQ(loft.pigeons.size(), 10U);
    EXPECT_EQ(loft.AddedCount(), 3U);
    ASSERT_TRUE(ApplyManualSaveRule(folder.path(), Spring(), loft));
    const std::string written = folder.Read("racecalc/Spring 1_wf012.man");
    EXPECT_EQ(written, Golden("Spring 1_wf012.man"));
    EXPECT_EQ(written.substr(9 + 7, 3), "003"); // loft line, columns 8-10
}

TEST(ManualTimes, ReadingMarksThePigeonsAndFillsTheTimer) {
    ManualFolder folder;
    folder.Write("racecalc/Spring 1_wf012.man", Golden("Spring 1_wf012.man"));
    ManualLoft loft = folder.Meier();
    ASSERT_TRUE(ReadManualFile(folder.path(), Spring(), loft));
    EXPECT_EQ(loft.AddedCount(), 3U);
    EXPECT_TRUE(loft.pigeons[1].added);
    EXPECT_EQ(loft.pigeons[8].arrival, (Arrival{16, 5, 6, 1, 0}));
    EXPECT_EQ(loft.timer, (TimerValues{14, 5, 18, 0, 0, 16, 5, 20, 0, 0, 20, 0, 5}));
    EXPECT_EQ(ManualPigeonItem(loft.pigeons[1]).substr(ManualPigeonItem(loft.pigeons[1]).size() - 5), " / OK");
    EXPECT_EQ(ManualPigeonItem(loft.pigeons[0]).find(" / OK"), std::string::npos);
    EXPECT_EQ(ManualCounterText("Pigeons clocked: ", " of ", loft), "Pigeons clocked: 3 of 10");

    ManualLoft other = folder.Meier();
    other.fancierNumber = "013";
    EXPECT_FALSE(ReadManualFile(folder.path(), Spring(), other));
    EXPECT_EQ(other.AddedCount(), 0U);
}

TEST(ManualTimes, SaveRuleKeepsAFileOnlyForPigeonsOrEnteredTimerDates) {
    ManualFolder folder;
    ManualLoft loft = ThreeOfTen(folder);
    ASSERT_TRUE(ApplyManualSaveRule(folder.path(), Spring(), loft));

    // All removed, timer dates still entered: the file stays with no pigeon lines.
    for (std::size_t i : {1U, 4U, 8U}) RemoveManualArrival(loft, i);
    EXPECT_EQ(loft.pigeons[1].arrival.day, 1);
    EXPECT_EQ(loft.pigeons[1].arrival.month, 1);
    ASSERT_TRUE(ApplyManualSaveRule(folder.path(), Spring(), loft));
    const std::string kept = folder.Read("racecalc/Spring 1_wf012.man");
    EXPECT_EQ(kept, "0150524\r\n1007012000Meier               N51301525E007050000\r\n"
                    "2007012014051800001605200000200005\r\n");

    // One timer date missing: the file goes.
    loft.timer[kReadMonth] = 0;
    EXPECT_FALSE(KeepsManualFile(loft));
    ASSERT_TRUE(ApplyManualSaveRule(folder.path(), Spring(), loft));
    EXPECT_FALSE(folder.Exists("racecalc/Spring 1_wf012.man"));

    // A fancier never touched gets no file.
    ManualLoft untouched = folder.Meier();
    untouched.fancierNumber = "013";
    ASSERT_TRUE(ApplyManualSaveRule(folder.path(), Spring(), untouched));
    EXPECT_FALSE(folder.Exists("racecalc/Spring 1_wf013.man"));
}

TEST(ManualTimes, FilesOfARaceAreFoundByTheirNamePattern) {
    ManualFolder folder;
    folder.Write("racecalc/Spring 1_wf012.man", "");
    folder.Write("racecalc/SPRING 1_WF001.MAN", "");
    folder.Write("racecalc/Spring 1_wf0123.man", "");
    folder.Write("racecalc/Spring 11_wf012.man", "");
    folder.Write("racecalc/Spring 1.flt", "");
    const auto files = ManualFilesOfRace(folder.path(), "Spring 1   ");
    ASSERT_EQ(files.size(), 2U);
    EXPECT_EQ(files[0].filename().string(), "SPRING 1_WF001.MAN");
    EXPECT_EQ(files[1].filename().string(), "Spring 1_wf012.man");
    EXPECT_EQ(ManualFilePath(folder.path(), "Spring 1  ", "7").filename().string(), "Spring 1_wf007.man");

    folder.Write("racecalc/_wf000.man", "");
    RemoveStrayManualFile(folder.path());
    EXPECT_FALSE(folder.Exists("racecalc/_wf000.man"));
}

} // namespace
} // namespace plumet
