#include "core/app/folderlock.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <thread>
#include <vector>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/app/timesource.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace plumet {
namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

std::string HostName() {
#ifdef _WIN32
    const char* name = std::getenv("COMPUTERNAME");
    return name ? name : "";
#else
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? name : "";
#endif
}

long long ProcessId() {
#ifdef _WIN32
    return static_cast<long long>(::GetCurrentProcessId());
#else
    return static_cast<long long>(::getpid());
#endif
}

// Task, process, host and start, one a line; the task may hold any byte but a line end.
std::string HolderLines(std::string_view task) {
    std::string name(task);
    for (char& c : name)
        if (c == '\r' || c == '\n') c = ' ';
    const DateTime now = SystemTimeSource().Now();
    const std::string since = std::to_string(now.year) + "-" + ZeroPadded(now.month, 2) + "-" + ZeroPadded(now.day, 2) +
                              " " + ZeroPadded(now.hour, 2) + ":" + ZeroPadded(now.minute, 2) + ":" +
                              ZeroPadded(now.second, 2);
    return name + "\n" + std::to_string(ProcessId()) + "\n" + HostName() + "\n" + since + "\n";
}

std::string HeldText(const Path& programFolder) {
    const FileContent content = ReadWholeFile(programFolder / kWriteLockFileName);
    const std::vector<std::string> lines = SplitLines(content.bytes);
    if (content.status != ReadStatus::Ok || lines.size() < 4 || lines[0].empty())
        return CatalogueText("Files.FolderHeldUnknown", {PathText(programFolder)});
    return CatalogueText("Files.FolderHeld", {PathText(programFolder), lines[0], lines[1], lines[2], lines[3]});
}

std::string LockFailedText(const Path& programFolder, const FileProblem& problem) {
    return CatalogueText("Files.FolderLockFailed", {PathText(programFolder), ReasonText(problem)});
}

// Whether a writer holds the folder now, found without creating the lock file or keeping it:
// its journal is then a save at work, not one a crash interrupted.
bool WriterAtWork(const Path& programFolder) {
    const Path file = programFolder / kWriteLockFileName;
#ifdef _WIN32
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    OVERLAPPED at{};
    at.OffsetHigh = 0x40000000;
    const bool free = ::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
    if (free) ::UnlockFileEx(handle, 0, 1, 0, &at);
    ::CloseHandle(handle);
    return !free;
#else
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
#endif
}

} // namespace

FolderWriteLock::FolderWriteLock(const Path& programFolder, std::string_view task, std::chrono::milliseconds wait) {
    const Path file = programFolder / kWriteLockFileName;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    const std::string holder = HolderLines(task);
#ifdef _WIN32
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        refusal_ = LockFailedText(programFolder,
                                  ProblemOfCode(std::error_code(static_cast<int>(::GetLastError()), std::system_category())));
        return;
    }
    // A byte far beyond the holder's lines is the lock, so those stay readable to others.
    for (;;) {
        OVERLAPPED at{};
        at.OffsetHigh = 0x40000000;
        if (::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) break;
        const DWORD error = ::GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            ::CloseHandle(handle);
            refusal_ = LockFailedText(programFolder, ProblemOfCode(std::error_code(static_cast<int>(error), std::system_category())));
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::CloseHandle(handle);
            refusal_ = HeldText(programFolder);
            return;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    DWORD written = 0;
    ::SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
    ::SetEndOfFile(handle);
    ::WriteFile(handle, holder.data(), static_cast<DWORD>(holder.size()), &written, nullptr);
    handle_ = handle;
#else
    // The holder removes the file when it lets go, so a lock won on a file no longer in the
    // folder is worth nothing: then the file that stands there now is tried.
    int fd = -1;
    for (;;) {
        fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            refusal_ = LockFailedText(programFolder, ProblemOfError(errno));
            return;
        }
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error != EWOULDBLOCK && error != EINTR) {
                ::close(fd);
                refusal_ = LockFailedText(programFolder, ProblemOfError(error));
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                ::close(fd);
                refusal_ = HeldText(programFolder);
                return;
            }
            std::this_thread::sleep_for(kPollInterval);
        }
        struct stat held {}, standing {};
        if (::fstat(fd, &held) == 0 && ::stat(file.c_str(), &standing) == 0 && held.st_dev == standing.st_dev &&
            held.st_ino == standing.st_ino)
            break;
        ::close(fd);
    }
    file_ = file;
    // What a crashed holder wrote goes; who holds it now is only a hint, so a failure to say
    // it does not stop the writer.
    if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, holder.data(), holder.size(), 0) < 0) errno = 0;
    handle_ = fd;
#endif
    if (const SaveResult recovered = RecoverInterruptedSaves(programFolder); !recovered) {
        Release();
        refusal_ = recovered.error;
    }
}

FolderWriteLock::~FolderWriteLock() { Release(); }

FolderWriteLock::FolderWriteLock(FolderWriteLock&& other) noexcept
    : handle_(other.handle_), file_(std::move(other.file_)), refusal_(std::move(other.refusal_)) {
    other.handle_ = kNoHandle;
}

FolderWriteLock& FolderWriteLock::operator=(FolderWriteLock&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = other.handle_;
        file_ = std::move(other.file_);
        refusal_ = std::move(other.refusal_);
        other.handle_ = kNoHandle;
    }
    return *this;
}

void FolderWriteLock::Release() {
    if (handle_ == kNoHandle) return;
#ifdef _WIN32
    ::SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
    ::SetEndOfFile(handle_);
    ::CloseHandle(handle_);
#else
    // Removed before it is unlocked, so nobody takes a lock on a file that is gone.
    ::unlink(file_.c_str());
    ::close(handle_);
#endif
    handle_ = kNoHandle;
}

UnfinishedSaveCheck CheckUnfinishedSaves(const Path& programFolder, const std::vector<std::string>& reads) {
    const std::vector<Path> files = UnfinishedSaveFiles(programFolder);
    if (files.empty() || WriterAtWork(programFolder)) return {};
    UnfinishedSaveCheck check;
    std::string named;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Path relative = files[i].lexically_relative(programFolder);
        const std::string folder = relative.empty() ? std::string() : NameOf(*relative.begin());
        for (const auto& read : reads) check.refused = check.refused || EqualAnyCase(folder, read);
        if (i < 3) named += (i ? ", " : "") + PathText(files[i]);
    }
    check.notice = CatalogueText("Files.UnfinishedSave", {PathText(programFolder), std::to_string(files.size()), named});
    if (check.refused) check.notice += " " + CatalogueText("Files.UnfinishedSaveRefused");
    return check;
}

} // namespace plumet
