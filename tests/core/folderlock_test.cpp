#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include <unistd.h>

#include "core/app/folderlock.h"
#include "testfolder.h"

namespace plumet {
namespace {

using std::chrono::milliseconds;

TEST(FolderWriteLock, OneWriterAtATimeAndTheSecondIsToldWhoHoldsTheFolder) {
    TestFolder folder;
    FolderWriteLock first(folder.path(), "plumet-cli readout", milliseconds(0));
    ASSERT_TRUE(first.Held()) << first.Refusal();
    const FolderWriteLock second(folder.path(), "plumet-cli calculate", milliseconds(0));
    EXPECT_FALSE(second.Held());
    EXPECT_NE(second.Refusal().find("plumet-cli readout (process " + std::to_string(::getpid())), std::string::npos)
        << second.Refusal();
    first.Release();
    EXPECT_TRUE(FolderWriteLock(folder.path(), "plumet-cli calculate", milliseconds(0)).Held());
}

// A writer that waits gets the folder as soon as the holder lets it go.
TEST(FolderWriteLock, AWaitingWriterTakesTheFolderWhenItIsFree) {
    TestFolder folder;
    auto first = std::make_unique<FolderWriteLock>(folder.path(), "first", milliseconds(0));
    ASSERT_TRUE(first->Held());
    std::thread release([&first] {
        std::this_thread::sleep_for(milliseconds(200));
        first.reset();
    });
    const FolderWriteLock second(folder.path(), "second", kWriteLockWait);
    release.join();
    EXPECT_TRUE(second.Held()) << second.Refusal();
}

// What a crashed holder left in the lock file does not hold anyone up: the operating system
// let go of its lock when it died.
TEST(FolderWriteLock, ALockFileOfACrashedProcessIsTakenOver) {
    TestFolder folder;
    folder.Write(kWriteLockFileName, "plumet-cli readout\n999999\nelsewhere\n2020-01-01 00:00:00\n");
    const FolderWriteLock lock(folder.path(), "plumet", milliseconds(0));
    EXPECT_TRUE(lock.Held());
    EXPECT_EQ(folder.Read(kWriteLockFileName).rfind("plumet\n" + std::to_string(::getpid()) + "\n", 0), 0U);
}

} // namespace
} // namespace plumet
