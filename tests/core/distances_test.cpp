#include <gtest/gtest.h>

#include <algorithm>

#include "core/race/distances.h"
#include "testfolder.h"

namespace plumet {
namespace {

const std::string kGolden = TestData("race/dist007.dat");

TEST(Distances, TwelveMilesEightHundredEightyYardsIsWrittenAs0020Comma1168AndLoadedAs12Point4999961) {
    TestFolder folder;
    DistanceTable table;
    ASSERT_EQ(LoadDistanceTable(table, folder.path(), 7), LoadOutcome::Missing);
    EXPECT_EQ(table.Distance(12, 5), 0.0); // a pair never entered
    const double miles = DistanceFromBoxes("12", "0880", kEnteredInMiles);
    table.Set(12, 5, miles, kEnteredInMiles);
    table.Set(0, 5, 80.25, kEnteredInKm); // fancier 0 is one like any other
    ASSERT_TRUE(SaveDistanceTable(table, folder.path(), 7, {0, 12}, {5}, ','));
    EXPECT_EQ(folder.Read("racecalc/dist007.dat"), " 2 \r\n 1 \r\n00005 0 0080,2500\r\n01205 1 0020,1168\r\n");

    DistanceTable loaded;
    ASSERT_EQ(LoadDistanceTable(loaded, folder.path(), 7), LoadOutcome::Loaded);
    EXPECT_EQ(loaded.UnitFlag(12, 5), kEnteredInMiles);
    EXPECT_NEAR(loaded.Distance(12, 5), 12.4999961, 5e-8);
    EXPECT_NEAR(MilesToKm(loaded.Distance(12, 5)), 20.1124938, 5e-8); // the calculation's own factor
    EXPECT_EQ(DistanceForBoxes(loaded.Distance(12, 5), kEnteredInMiles), (DistanceBoxes{"12", "0880"}));
    // A rest that rounds to a whole unit carries over instead of showing 1760 yards.
    EXPECT_EQ(DistanceForBoxes(12.99999, kEnteredInMiles), (DistanceBoxes{"13", "0000"}));
    EXPECT_EQ(DistanceForBoxes(4.9999, kEnteredInKm), (DistanceBoxes{"5", "000"}));
    EXPECT_EQ(DistanceForBoxes(1.08889e20, kEnteredInKm), (DistanceBoxes{"99999", "999"})); // no overflow
    EXPECT_EQ(DistanceForBoxes(1e6, kEnteredInMiles), (DistanceBoxes{"99999", "1759"}));
    EXPECT_FALSE(table.Set(1001, 5, 1.0, kEnteredInKm) || table.Set(1, 101, 1.0, kEnteredInKm));
}

TEST(Distances, FileReadsWithEitherSeparatorWritesBackByteForByteAndMilesDoNotWearDown) {
    TestFolder folder;
    std::string comma = kGolden;
    std::replace(comma.begin(), comma.end(), '.', ',');
    folder.Write("racecalc/dist007.dat", comma); // written where the separator is a comma
    DistanceTable table;
    ASSERT_EQ(LoadDistanceTable(table, folder.path(), 7), LoadOutcome::Loaded);
    EXPECT_DOUBLE_EQ(table.Distance(1, 5), 123.456);
    EXPECT_DOUBLE_EQ(table.Distance(1, 98), 1234.5678 * kLoadKmToMiles);
    for (int round = 0; round < 20; ++round) {
        table.Set(1, 5, 123.456, kEnteredInKm); // another pair is entered each time
        ASSERT_TRUE(SaveDistanceTable(table, folder.path(), 7, {1, 12}, {5, 98}, '.'));
        LoadDistanceTable(table, folder.path(), 7);
    }
    EXPECT_EQ(folder.Read("racecalc/dist007.dat"), kGolden);
}

TEST(Distances, ABrokenFileKeepsWhatWasReadAndIsNotSavedOver) {
    TestFolder folder;
    const std::string broken = " 2 \r\n 2 \r\n00105 0 0123.4560\r\n00198 1 12x4.5\r\n01205 1 0020.1168\r\n";
    folder.Write("racecalc/dist007.dat", broken);
    folder.Write("racecalc/dist008.dat", " 1 \r\n 2 \r\n00105 0 0001.0000\r\n");   // ends early
    folder.Write("racecalc/dist009.dat", " 1 \r\n 1 \r\n001xx 0 0001.0000\r\n");   // no point number
    folder.Write("racecalc/dist006.dat", " 55555555755555555 \r\n 25555 \r\n"); // counts overflow their product
    DistanceTable table;
    for (int club : {6, 9, 8, 7}) EXPECT_EQ(LoadDistanceTable(table, folder.path(), club), LoadOutcome::Unreadable);
    EXPECT_DOUBLE_EQ(table.Distance(1, 5), 123.456);
    EXPECT_EQ(table.Distance(12, 5), 0.0);
    EXPECT_FALSE(SaveDistanceTable(table, folder.path(), 7, {1, 12}, {5, 98}, '.').ok);
    EXPECT_EQ(folder.Read("racecalc/dist007.dat"), broken);
    EXPECT_TRUE(SaveDistanceTable(table, folder.path(), 10, {1}, {1}, '.')); // another club's file as usual
}

} // namespace
} // namespace plumet
