#include <gtest/gtest.h>

#include "core/race/manualtimes.h"
#include "testfolder.h"

namespace plumet {
namespace {

std::string Golden(const std::string& name) { return TestData("race/" + name); }

Race Spring() { return *LineToRace(Golden("races.dat").substr(5, 289)); } // 15.05.2024, club 7, point 5

struct ManualFolder : TestFolder {
    ManualFolder() { Write("pigeon/p007012.dat", Golden("p007012.dat")); }
    ManualLoft Meier() const {
        PigeonTable pigeons;
        LoadPigeons(pigeons, PigeonFilePath(path(), "007", "012"));
        return ManualLoftOf("012" + PadRight("Meier", 20) + "N51301525E0070500001" + PadRight("Note", 30), pigeons);
    }
    std::string File() const { return Read("racecalc/Spring 1_wf012.man"); }
};

const TimerValues kTimer = {14, 5, 18, 0, 0, 16, 5, 20, 0, 0, 20, 0, 5};

TEST(ManualTimes, ThreeOfTenPigeonsMakeTheGoldenFileAndReadBackIntoTheLoft) {
    ManualFolder folder;
    ManualLoft loft = folder.Meier();
    ASSERT_EQ(loft.pigeons.size(), 10U);
    loft.timer = kTimer;
    AddManualArrival(loft, 8, {16, 5, 6, 1, 0});
    AddManualArrival(loft, 1, {15, 5, 11, 42, 7});
    AddManualArrival(loft, 4, {15, 5, 11, 45, 30});
    ASSERT_TRUE(ApplyManualSaveRule(folder.path(), Spring(), loft));
    EXPECT_EQ(folder.File(), Golden("Spring 1_wf012.man"));

    ManualLoft back = folder.Meier();
    ASSERT_TRUE(ReadManualFile(folder.path(), Spring(), back));
    EXPECT_EQ(back.timer, kTimer);
    EXPECT_EQ(back.pigeons[8].arrival, (Arrival{16, 5, 6, 1, 0}));
    EXPECT_TRUE(back.pigeons[1].added && !back.pigeons[0].added);
    EXPECT_EQ(ManualCounterText("Pigeons clocked: ", " of ", back), "Pigeons clocked: 3 of 10");
    EXPECT_TRUE(ManualPigeonItem(back.pigeons[1]).ends_with(" / OK"));
    back.fancierNumber = "013";
    EXPECT_FALSE(ReadManualFile(folder.path(), Spring(), back)); // another fancier's file is not there
}

TEST(ManualTimes, AnArrivalNeedsARealDayAndMonth) {
    ManualFolder folder;
    ManualLoft loft = folder.Meier();
    const struct { Arrival arrival; int message; const char* field; } cases[] = {
        {{0, 5, 11, 0, 0}, kManualArrivalDay, "Text1"}, {{32, 5, 11, 0, 0}, kManualArrivalDay, "Text1"},
        {{15, 0, 11, 0, 0}, kManualArrivalMonth, "Text2"}, {{15, 13, 11, 0, 0}, kManualArrivalMonth, "Text2"},
    };
    for (const auto& c : cases) {
        const ActionResult refused = AddManualArrival(loft, 1, c.arrival);
        EXPECT_EQ(std::pair(refused.message, refused.focusField), std::pair(c.message, std::string(c.field)));
    }
    EXPECT_EQ(loft.AddedCount(), 0u);
    EXPECT_TRUE(AddManualArrival(loft, 1, {31, 12, 0, 0, 0}).Done());
}

TEST(ManualTimes, SaveRuleKeepsAFileOnlyForPigeonsOrEnteredTimerDates) {
    ManualFolder folder;
    ManualLoft loft = folder.Meier();
    loft.timer = kTimer;
    AddManualArrival(loft, 1, {15, 5, 11, 42, 7});
    RemoveManualArrival(loft, 1);
    EXPECT_EQ(loft.pigeons[1].arrival, (Arrival{1, 1, 11, 42, 7}));
    ASSERT_TRUE(ApplyManualSaveRule(folder.path(), Spring(), loft)); // no pigeons, timer dates entered
    EXPECT_EQ(folder.File(), "0150524\r\n1007012000Meier               N51301525E007050000\r\n"
                             "2007012014051800001605200000200005\r\n");
    loft.timer[kReadMonth] = 0; // one timer date missing: the file goes
    ASSERT_TRUE(ApplyManualSaveRule(folder.path(), Spring(), loft));
    EXPECT_FALSE(folder.Exists("racecalc/Spring 1_wf012.man"));
}

TEST(ManualTimes, FilesOfARaceAreFoundByTheirNamePatternInAnyCase) {
    ManualFolder folder;
    for (const char* file : {"Spring 1_wf012.man", "SPRING 1_WF001.MAN", "Spring 1_wf0123.man", "Spring 11_wf012.man",
                             "_wf000.man"})
        folder.Write(std::string("racecalc/") + file, "");
    const auto files = ManualFilesOfRace(folder.path(), "Spring 1   ");
    ASSERT_EQ(files.size(), 2U);
    EXPECT_EQ(files[0].filename().string() + "|" + files[1].filename().string(),
              "SPRING 1_WF001.MAN|Spring 1_wf012.man");
    RemoveStrayManualFile(folder.path());
    EXPECT_FALSE(folder.Exists("racecalc/_wf000.man"));
    ASSERT_TRUE(SaveFileAtomically(ResolvePath(folder.path(), "racecalc\\M\xFCnster_wf003.man"), ""));
    EXPECT_EQ(ManualFilesOfRace(folder.path(), "M\xFCnster").size(), 1U);
}

} // namespace
} // namespace plumet
