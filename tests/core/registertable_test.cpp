#include <gtest/gtest.h>

#include "registers/listposition.h"
#include "registers/registertable.h"
#include "testfolder.h"

namespace plumet {
namespace {

struct SmallTraits : ThreeDigitKeyTraits {
    static constexpr std::size_t kCapacity = 3;
};
using Table = RegisterTable<SmallTraits>;

std::vector<std::string> Keys(const Table& t) {
    std::vector<std::string> keys;
    for (const auto& r : t.Records()) keys.push_back(r.substr(0, 3));
    return keys;
}

TEST(RegisterTable, InsertKeepsNumericOrderAndPutsEqualKeysAfter) {
    Table t;
    t.Insert("010a");
    t.Insert("002b");
    t.Insert("005c");
    EXPECT_EQ(Keys(t), (std::vector<std::string>{"002", "005", "010"}));
    EXPECT_TRUE(t.Full());
    t.Delete(1);
    EXPECT_EQ(Keys(t), (std::vector<std::string>{"005", "010"}));
    t.Insert("005z");
    EXPECT_EQ(t.Record(2), "005z");
    EXPECT_EQ(t.Find("005"), 2U);
    EXPECT_EQ(t.Find("999"), 0U);
    t.Delete(0);
    t.Delete(9);
    EXPECT_EQ(t.Count(), 3U);
}

TEST(RegisterTable, SavesCountLineAndRecordsAndLoadsThemBack) {
    TestFolder folder;
    Table t;
    t.Insert("001 one");
    t.Insert("002 two");
    ASSERT_TRUE(t.Save(folder.path() / "r.dat"));
    EXPECT_EQ(folder.Read("r.dat"), " 2 \r\n001 one\r\n002 two\r\n");
    Table back;
    EXPECT_EQ(back.Load(folder.path() / "r.dat"), 2U);
    EXPECT_EQ(back.Record(2), "002 two");
    back.Delete(1);
    back.Delete(1);
    ASSERT_TRUE(back.Save(folder.path() / "r.dat"));
    EXPECT_EQ(folder.Read("r.dat"), " 0 \r\n");
}

TEST(RegisterTable, OutOfOrderFileKeepsItsOrder) {
    TestFolder folder;
    folder.Write("r.dat", " 2 \n009x\n001y\n");
    Table t;
    EXPECT_EQ(t.Load(folder.path() / "r.dat"), 2U);
    EXPECT_EQ(t.Find("001"), 2U);
    ASSERT_TRUE(t.Save(folder.path() / "r.dat"));
    EXPECT_EQ(folder.Read("r.dat"), " 2 \r\n009x\r\n001y\r\n");
}

TEST(RegisterTable, AnUnreadableFileIsNeverOverwritten) {
    TestFolder folder;
    const std::vector<std::string> broken = {" 5 \r\n001\r\n002\r\n003\r\n", " 4 \r\n1\r\n2\r\n3\r\n4\r\n",
                                             "abc\r\n001\r\n", ""};
    for (const auto& bytes : broken) {
        folder.Write("r.dat", bytes);
        Table t;
        EXPECT_EQ(t.Load(folder.path() / "r.dat"), 0U);
        EXPECT_EQ(t.LastLoad(), LoadOutcome::Unreadable);
        t.Insert("004 new");
        const SaveResult saved = t.Save(folder.path() / "r.dat");
        EXPECT_FALSE(saved.ok);
        EXPECT_FALSE(saved.error.empty());
        EXPECT_EQ(folder.Read("r.dat"), bytes);
    }
}

TEST(RegisterTable, MissingFileIsEmptyAndMayBeSaved) {
    TestFolder folder;
    Table t;
    EXPECT_EQ(t.Load(folder.path() / "none.dat"), 0U);
    EXPECT_EQ(t.LastLoad(), LoadOutcome::Missing);
    t.Insert("001");
    EXPECT_TRUE(t.Save(folder.path() / "none.dat"));
}

TEST(ListPosition, RestoresTheSameLineOrTheNewLastOne) {
    EXPECT_EQ(RestoredListLine({3, 10}, 10, false), 3);
    EXPECT_EQ(RestoredListLine({9, 10}, 9, false), 8);
    EXPECT_EQ(RestoredListLine({0, 1}, 1, true), -1);
    EXPECT_EQ(RestoredListLine({-1, 4}, 4, false), -1);
    EXPECT_EQ(RestoredListLine({2, 3}, 0, false), -1);
}

} // namespace
} // namespace plumet
