#pragma once
// The write lock of a program folder: one writer at a time, the program and plumet-cli alike.
// It is a lock the operating system holds on the file plumet-write.lock, so a writer that
// crashes leaves nothing behind that blocks the next one; the file names the current holder
// for whoever has to wait, and goes with the holder.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/files.h"

namespace plumet {

inline constexpr const char* kWriteLockFileName = "plumet-write.lock";
inline constexpr std::chrono::milliseconds kWriteLockWait{10000};

class FolderWriteLock {
public:
    FolderWriteLock() = default;
    // Takes the lock, waiting up to `wait` while another writer holds it. `task` names this
    // writer to others ("plumet-cli readout"). Once held, saves a crash interrupted are
    // completed or undone first; when that fails, the lock is given up again.
    FolderWriteLock(const Path& programFolder, std::string_view task, std::chrono::milliseconds wait);
    ~FolderWriteLock();
    FolderWriteLock(FolderWriteLock&& other) noexcept;
    FolderWriteLock& operator=(FolderWriteLock&& other) noexcept;
    FolderWriteLock(const FolderWriteLock&) = delete;
    FolderWriteLock& operator=(const FolderWriteLock&) = delete;

    bool Held() const { return handle_ != kNoHandle; }
    // When not held: why, for the user (who holds the folder, or what kept it from locking).
    const std::string& Refusal() const { return refusal_; }
    void Release();

private:
#ifdef _WIN32
    using Handle = void*;
#else
    using Handle = int;
#endif
    static inline const Handle kNoHandle = Handle(-1);

    Handle handle_ = kNoHandle;
    Path file_; // removed on release where the system allows it while others may wait
    std::string refusal_;
};

// What an interrupted save means to a task that only reads (and so never finishes it): a
// notice for the user, empty when there is none, and whether it names a file in one of the
// data folders `reads` (any letter case) that the task would read.
struct UnfinishedSaveCheck {
    std::string notice;
    bool refused = false;
};
UnfinishedSaveCheck CheckUnfinishedSaves(const Path& programFolder, const std::vector<std::string>& reads);

} // namespace plumet
