#include <gtest/gtest.h>

#include <fstream>

#include "race/distances.h"
#include "testfolder.h"

namespace plumet {
namespace {

std::string Golden(const std::string& name) {
    std::ifstream in(std::string(PLUMET_TEST_DATA) + "/race/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Distances, TwelveMilesEightHundredEightyYardsIsWrittenInKilometres) {
    TestFolder folder;
    DistanceTable table;
    ASSERT_EQ(LoadDistanceTable(table, folder.path(), 7), LoadOutcome::Missing);
    // A pair never entered.
    EXPECT_EQ(table.Distance(12, 5), 0.0);
    EXPECT_EQ(table.UnitFlag(12, 5), kEnteredInMiles);

    const double miles = DistanceFromBoxes("12", "0880", kEnteredInMiles);
    EXPECT_DOUBLE_EQ(miles, 12.5);
    table.Set(12, 5, miles, kEnteredInMiles);
    ASSERT_TRUE(SaveDistanceTable(table, folder.path(), 7, {12}, {5}, ','));
    EXPECT_EQ(folder.Read("racecalc/dist007.dat"), " 1 \r\n 1 \r\n01205 1 0020,1168\r\n");

    DistanceTable loaded;
    ASSERT_EQ(LoadDistanceTable(loaded, folder.path(), 7), LoadOutcome::Loaded);
    EXPECT_EQ(loaded.UnitFlag(12, 5), kEnteredInMiles);
    EXPECT_NEAR(loaded.Distance(12, 5), 12.4999961, 5e-8);
    // The calculation turns it back with its own factor.
    EXPECT_NEAR(MilesToKm(loaded.Distance(12, 5)), 20.1124938, 5e-8);
    EXPECT_EQ(DistanceForBoxes(loaded.Distance(12, 5), kEnteredInMiles), (DistanceBoxes{"12", "0880"}));
}

TEST(Distances, FileReadsWithEitherSeparatorAndWritesBackByteForByte) {
    TestFolder folder;
    const std::string golden = Golden("dist007.dat");
    folder.Write("racecalc/dist007.dat", golden);
    DistanceTable table;
    ASSERT_EQ(LoadDistanceTable(table, folder.path(), 7), LoadOutcome::Loaded);
    EXPECT_DOUBLE_EQ(table.Distance(1, 5), 123.456);
    EXPECT_EQ(table.UnitFlag(1, 5), kEnteredInKm);
    EXPECT_DOUBLE_EQ(table.Distance(1, 98), 1234.5678 * kLoadKmToMiles);
    ASSERT_TRUE(SaveDistanceTable(table, folder.path(), 7, {1, 12}, {5, 98}, '.'));
    EXPECT_EQ(folder.Read("racecalc/dist007.dat"), golden);

    // Written on a machine with a decimal comma, read on one with a point: the same distances.
    std::string comma = golden;
    for (char& c : comma)
        if (c == '.') c = ',';
    folder.Write("racecalc/dist007.dat", comma);
    DistanceTable fromComma;
    ASSERT_EQ(LoadDistanceTable(fromComma, folder.path(), 7), LoadOutcome::Loaded);
    EXPECT_DOUBLE_EQ(fromComma.Distance(1, 5), 123.456);
    EXPECT_DOUBLE_EQ(fromComma.Distance(1, 98), table.Distance(1, 98));
}

TEST(Distances, MilesEntriesDoNotWearDownOverManySaves) {
    TestFolder folder;
    folder.Write("racecalc/dist007.dat", Golden("dist007.dat"));
    DistanceTable table;
    for (int round = 0; round < 20; ++round) {
        LoadDistanceTable(table, folder.path(), 7);
        table.Set(1, 5, 124.0, kEnteredInKm); // another pair is entered each time
        ASSERT_TRUE(SaveDistanceTable(table, folder.path(), 7, {1, 12}, {5, 98}, '.'));
    }
    EXPECT_NE(folder.Read("racecalc/dist007.dat").find("00198 1 1234.5678\r\n"), std::string::npos);
}

TEST(Distances, ABrokenFileKeepsWhatWasReadAndIsNotSavedOver) {
    TestFolder folder;
    const std::string broken = " 2 \r\n 2 \r\n00105 0 0123.4560\r\n00198 1 12x4.5\r\n01205 1 0020.1168\r\n";
    folder.Write("racecalc/dist007.dat", broken);
    DistanceTable table;
    EXPECT_EQ(LoadDistanceTable(table, folder.path(), 7), LoadOutcome::Unreadable);
    EXPECT_DOUBLE_EQ(table.Distance(1, 5), 123.456);
    EXPECT_EQ(table.Distance(12, 5), 0.0);
    const SaveResult saved = SaveDistanceTable(table, folder.path(), 7, {1, 12}, {5, 98}, '.');
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.error.empty());
    EXPECT_EQ(folder.Read("racecalc/dist007.dat"), broken);

    // A file that ends early, and one with a release point beyond the table.
    folder.Write("racecalc/dist008.dat", " 1 \r\n 2 \r\n00105 0 0001.0000\r\n");
    EXPECT_EQ(LoadDistanceTable(table, folder.path(), 8), LoadOutcome::Unreadable);
    folder.Write("racecalc/dist009.dat", " 1 \r\n 1 \r\n001xx 0 0001.0000\r\n");
    EXPECT_EQ(LoadDistanceTable(table, folder.path(), 9), LoadOutcome::Unreadable);
    // Another club's file is saved as usual.
    EXPECT_TRUE(SaveDistanceTable(table, folder.path(), 10, {1}, {1}, '.'));
}

TEST(Distances, FancierZeroHasDistancesLikeEveryOther) {
    TestFolder folder;
    DistanceTable table;
    table.Set(0, 5, 80.25, kEnteredInKm);
    table.Set(3, 5, 50.0, kEnteredInMiles);
    ASSERT_TRUE(SaveDistanceTable(table, folder.path(), 1, {0, 3}, {5}, '.'));
    DistanceTable loaded;
    ASSERT_EQ(LoadDistanceTable(loaded, folder.path(), 1), LoadOutcome::Loaded);
    EXPECT_DOUBLE_EQ(loaded.Distance(0, 5), 80.25);
    EXPECT_NEAR(loaded.Distance(3, 5), 50.0, 1e-4);
    EXPECT_FALSE(table.Set(1001, 5, 1.0, kEnteredInKm));
    EXPECT_FALSE(table.Set(1, 101, 1.0, kEnteredInKm));
}

TEST(Distances, BoxesOfTheEntryDialog) {
    EXPECT_EQ(DistanceForBoxes(123.456, kEnteredInKm), (DistanceBoxes{"123", "456"}));
    EXPECT_EQ(DistanceForBoxes(0.0, kEnteredInKm), (DistanceBoxes{"0", "000"}));
    EXPECT_EQ(DistanceForBoxes(7.0001, kEnteredInMiles), (DistanceBoxes{"7", "0000"}));
    // A rest that rounds to a whole unit carries over instead of showing 1760 yards.
    EXPECT_EQ(DistanceForBoxes(12.99999, kEnteredInMiles), (DistanceBoxes{"13", "0000"}));
    EXPECT_EQ(DistanceForBoxes(4.9999, kEnteredInKm), (DistanceBoxes{"5", "000"}));
    EXPECT_DOUBLE_EQ(DistanceFromBoxes("123", "456", kEnteredInKm), 123.456);
    EXPECT_DOUBLE_EQ(DistanceFromBoxes("", "", kEnteredInMiles), 0.0);
    EXPECT_EQ(PartBoxWidth(kEnteredInKm), 3);
    EXPECT_EQ(PartBoxWidth(kEnteredInMiles), 4);
}

} // namespace
} // namespace plumet
