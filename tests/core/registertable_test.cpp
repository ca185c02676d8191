#include <gtest/gtest.h>

#include "core/registers/clubcolumns.h"
#include "core/registers/listposition.h"
#include "core/registers/registertable.h"
#include "testfolder.h"

namespace plumet {
namespace {

struct SmallTraits : NumberKeyTraits<ClubColumn::Number> {
    static constexpr std::size_t kCapacity = 3;
};
using Table = RegisterTable<SmallTraits>;

TEST(RegisterTable, EqualKeysGoAfterFindTakesTheLastAndAnOutOfOrderFileKeepsItsOrder) {
    TestFolder folder;
    const Path file = folder.path() / "r.dat";
    Table t;
    EXPECT_TRUE(t.Load(file) == 0U && t.LastLoad() == LoadOutcome::Missing);
    for (const char* r : {"010a", "005c", "005z"}) t.Insert(r);
    EXPECT_TRUE(t.Full());
    t.Delete(0), t.Delete(9);
    EXPECT_EQ(t.Find("005"), 2U);
    ASSERT_TRUE(t.Save(file));
    EXPECT_EQ(folder.Read("r.dat"), " 3 \r\n005c\r\n005z\r\n010a\r\n");
    folder.Write("r.dat", " 2 \n009x\n001y\n");
    EXPECT_EQ(t.Load(file), 2U);
    EXPECT_EQ(t.Find("001"), 2U);
    ASSERT_TRUE(t.Save(file));
    EXPECT_EQ(folder.Read("r.dat"), " 2 \r\n009x\r\n001y\r\n");
}

TEST(RegisterTable, AnUnreadableFileIsNeverOverwritten) {
    TestFolder folder;
    // Fewer records than counted, more than the table holds, no count line, a line end only.
    for (const std::string bytes : {" 5 \r\n001\r\n002\r\n", " 4 \r\n1\r\n2\r\n3\r\n4\r\n", "abc\r\n001\r\n", "\r\n"}) {
        folder.Write("r.dat", bytes);
        Table t;
        EXPECT_TRUE(t.Load(folder.path() / "r.dat") == 0U && t.LastLoad() == LoadOutcome::Unreadable);
        t.Insert("004 new");
        const SaveResult saved = t.Save(folder.path() / "r.dat");
        EXPECT_FALSE(saved.ok || saved.error.empty());
        EXPECT_EQ(folder.Read("r.dat"), bytes);
    }
}

TEST(RegisterTable, AFileOfNoBytesIsAnEmptyRegister) {
    TestFolder folder;
    folder.Write("r.dat", "");
    Table t;
    EXPECT_TRUE(t.Load(folder.path() / "r.dat") == 0U && t.LastLoad() == LoadOutcome::Loaded);
    EXPECT_FALSE(RegisterFileHoldsRecords(folder.path() / "r.dat"));
    t.Insert("004 new");
    ASSERT_TRUE(t.Save(folder.path() / "r.dat"));
    EXPECT_EQ(folder.Read("r.dat"), " 1 \r\n004 new\r\n");
}

// A byte below 32 in a record makes the file damaged: never taken in, never saved over.
TEST(RegisterTable, AControlByteInARecordMakesTheFileUnreadable) {
    TestFolder folder;
    const std::string bytes = std::string(" 2 \r\n001a\r\n002") + '\0' + "b\r\n";
    folder.Write("r.dat", bytes);
    Table t;
    EXPECT_TRUE(t.Load(folder.path() / "r.dat") == 0U && t.LastLoad() == LoadOutcome::Unreadable);
    EXPECT_EQ(UnreadableText(t, folder.path() / "r.dat"),
              "The file " + (folder.path() / "r.dat").string() + " cannot be read: line 3 holds a control character.");
    EXPECT_FALSE(t.Save(folder.path() / "r.dat"));
    EXPECT_EQ(folder.Read("r.dat"), bytes);
}

// A table loaded before another task changed its file refuses to save over that change, and
// a table that saved last may save again.
TEST(RegisterTable, ASaveNeverUndoesAChangeMadeSinceTheLoad) {
    TestFolder folder;
    const Path file = folder.path() / "r.dat";
    for (const bool existed : {true, false}) {
        if (existed) folder.Write("r.dat", " 1 \r\n001a\r\n");
        else std::filesystem::remove(file);
        Table window;
        window.Load(file);
        folder.Write("r.dat", " 1 \r\n005 by another task\r\n");
        window.Insert("002b");
        const SaveResult refused = window.Save(file);
        EXPECT_TRUE(refused.reason == FileReason::Changed && refused.error.find("open it again") != std::string::npos)
            << existed << refused.error;
        EXPECT_EQ(folder.Read("r.dat"), " 1 \r\n005 by another task\r\n");
    }
    Table window;
    window.Load(file);
    for (const char* record : {"007c", "008d"}) {
        window.Insert(record);
        ASSERT_TRUE(window.Save(file)) << record;
    }
    EXPECT_EQ(window.Load(file), 3U);
}

TEST(ListPosition, RestoresTheSameLineOrTheNewLastOne) {
    EXPECT_EQ(std::to_string(RestoredListLine({3, 10}, 10, false)) + std::to_string(RestoredListLine({9, 10}, 9, false)) +
                  std::to_string(RestoredListLine({0, 1}, 1, true)) + std::to_string(RestoredListLine({2, 3}, 0, false)),
              "38-1-1");
}

} // namespace
} // namespace plumet
