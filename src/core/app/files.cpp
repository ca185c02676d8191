#include "core/app/files.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <system_error>
#include <thread>

#include "core/app/catalogue.h"
#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace plumet {
namespace fs = std::filesystem;
namespace {

struct SaveFaultHook {
    std::function<bool(const Path&)> picks;
    SaveStage stage = SaveStage::Write;
    FileReason reason = FileReason::Other;
};

SaveFaultHook& Fault() {
    static SaveFaultHook hook;
    return hook;
}

bool FaultAt(SaveStage stage, const Path& target) {
    return Fault().picks && Fault().stage == stage && Fault().picks(target);
}

FileProblem FaultProblem() {
    FileProblem problem{Fault().reason, 0, {}};
    if (problem.reason == FileReason::Other) problem.system = "fault injected by a test";
    return problem;
}

std::string SwapCase(std::string name) {
    for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        c = static_cast<char>(std::islower(u) ? std::toupper(u) : std::tolower(u));
    }
    return name;
}

// A file system that ignores case (Windows, a FAT stick) finds "club.dat" for an entry
// "CLUB.DAT"; the entry's own spelling is still wanted, so a replacement keeps it. The swapped
// spelling tells such a file system apart cheaply, so only there is the folder listed.
Path MatchEntry(const Path& dir, const std::string& part) {
    std::error_code ec;
    // symlink_status: a link that leads nowhere is still this entry, not a missing one.
    const Path given = dir / NamePath(part);
    if (fs::exists(fs::symlink_status(given, ec))) {
        const std::string swapped = SwapCase(part);
        if (swapped == part || !fs::exists(fs::symlink_status(dir / NamePath(swapped), ec))) return given;
    }
    Path match = given;
    bool matched = false;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = NameOf(it->path());
        if (name == part) return it->path();
        if (!matched && EqualAnyCase(name, part)) match = it->path(), matched = true;
    }
    return match;
}

// ---- Names of their own for temporary files and kept copies ----------------------------

// Random per process, so writers on other machines sharing the folder never meet either.
const std::string& ProcessTag() {
    static const std::string tag = [] {
        std::random_device device;
        const std::uint64_t value = (static_cast<std::uint64_t>(device()) << 32) ^ device() ^
                                    static_cast<std::uint64_t>(
                                        std::chrono::steady_clock::now().time_since_epoch().count());
        static const char* digits = "0123456789abcdef";
        std::string text(16, '0');
        for (int i = 0; i < 16; ++i) text[static_cast<std::size_t>(i)] = digits[(value >> (4 * (15 - i))) & 15];
        return text;
    }();
    return tag;
}

std::string UniqueSuffix(const char* kind) {
    static std::atomic<unsigned long long> counter{0};
    return "." + ProcessTag() + "-" + std::to_string(++counter) + "." + kind;
}

Path SidePath(const Path& target, const char* kind) {
    return target.parent_path() / NamePath("~" + NameOf(target) + UniqueSuffix(kind));
}

// "~" + name + "." + 16 hex digits + "-" + digits + ".tmp" or ".bak": what a save leaves
// behind when its process dies.
bool IsLeftover(const std::string& name) {
    if (name.size() < 24 || name.front() != '~') return false;
    const bool tmp = name.ends_with(".tmp");
    if (!tmp && !name.ends_with(".bak")) return false;
    const std::string stem = name.substr(0, name.size() - 4);
    const auto dash = stem.rfind('-');
    if (dash == std::string::npos || dash < 17 || dash + 1 == stem.size()) return false;
    for (std::size_t i = dash + 1; i < stem.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(stem[i]))) return false;
    if (stem[dash - 17] != '.') return false;
    for (std::size_t i = dash - 16; i < dash; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(stem[i]))) return false;
    // This process is alive and may be in the middle of a save of its own.
    return stem.compare(dash - 16, 16, ProcessTag()) != 0;
}

// A test of what a kill leaves behind names the step of a save of several files to die at
// (counted from 1 over every save of the process) in PLUMET_TEST_KILL_AT_STEP.
void KillPointForTests() {
#ifndef _WIN32
    static std::atomic<long> steps{0};
    const char* killAt = std::getenv("PLUMET_TEST_KILL_AT_STEP");
    if (killAt && ++steps == std::strtol(killAt, nullptr, 10)) std::raise(SIGKILL);
#endif
}

// ---- The system calls, one branch per platform ------------------------------------------

#ifdef _WIN32
FileContent ReadFileBytes(const Path& path) {
    std::error_code ec;
    const auto state = fs::status(path, ec);
    if (ec || !fs::exists(state)) {
        if (!ec || ec == std::errc::no_such_file_or_directory) return {ReadStatus::Missing, {}, {}};
        return {ReadStatus::Unreadable, {}, ProblemOfCode(ec)};
    }
    if (fs::is_directory(state)) return {ReadStatus::Unreadable, {}, {FileReason::Folder, 0, {}}};
    if (!fs::is_regular_file(state)) return {ReadStatus::Unreadable, {}, {FileReason::NotAFile, 0, {}}};
    std::FILE* file = ::_wfopen(path.c_str(), L"rb");
    if (!file) return {ReadStatus::Unreadable, {}, ProblemOfError(errno)};
    std::string bytes;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) return {ReadStatus::Unreadable, {}, ProblemOfError(error)};
    return {ReadStatus::Ok, std::move(bytes), {}};
}

bool WriteNewFile(const Path& path, std::string_view bytes, bool flushToDisk, FileProblem& problem,
                  bool append = false, int = -1, bool failFlush = false) {
    const int fd = ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_BINARY | (append ? _O_APPEND : _O_EXCL),
                            _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        problem = ProblemOfError(errno);
        return false;
    }
    std::size_t done = 0;
    int error = 0;
    while (done < bytes.size() && error == 0) {
        const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        const int n = ::_write(fd, bytes.data() + done, chunk);
        if (n <= 0) error = n < 0 ? errno : ENOSPC;
        else done += static_cast<std::size_t>(n);
    }
    if (error == 0 && flushToDisk && (::_commit(fd) != 0 || failFlush)) error = failFlush ? EIO : errno;
    if (::_close(fd) != 0 && error == 0) error = errno;
    if (error != 0) problem = ProblemOfError(error);
    return error == 0;
}

bool FlushFolder(const Path&) { return true; }
constexpr bool kFlushEachFile = true;
bool FlushFolders(const std::vector<Path>&) { return true; }
#else
FileContent ReadFileBytes(const Path& path) {
    // Non-blocking, so a pipe in a file's place cannot hang the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return {ReadStatus::Missing, {}, {}};
        return {ReadStatus::Unreadable, {}, ProblemOfError(errno)};
    }
    struct stat info {};
    FileContent content{ReadStatus::Ok, {}, {}};
    if (::fstat(fd, &info) != 0) {
        content = {ReadStatus::Unreadable, {}, ProblemOfError(errno)};
    } else if (S_ISDIR(info.st_mode)) {
        content = {ReadStatus::Unreadable, {}, {FileReason::Folder, 0, {}}};
    } else if (!S_ISREG(info.st_mode)) {
        content = {ReadStatus::Unreadable, {}, {FileReason::NotAFile, 0, {}}};
    } else {
        content.bytes.reserve(static_cast<std::size_t>(info.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                content.bytes.append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0) {
                break;
            } else if (errno != EINTR) {
                content = {ReadStatus::Unreadable, {}, ProblemOfError(errno)};
                break;
            }
        }
    }
    ::close(fd);
    return content;
}

// `mode`: the permissions of the file it is to replace, or -1 for a new file's.
bool WriteNewFile(const Path& path, std::string_view bytes, bool flushToDisk, FileProblem& problem,
                  bool append = false, int mode = -1, bool failFlush = false) {
    // Non-blocking, so a pipe in the place of a file to append to cannot hang the program.
    const int fd = ::open(path.c_str(),
                          O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND | O_NONBLOCK : O_EXCL), 0666);
    if (fd < 0) {
        problem = ProblemOfError(errno);
        return false;
    }
    std::size_t done = 0;
    int error = 0;
    if (mode >= 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) error = errno;
    while (done < bytes.size() && error == 0) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) done += static_cast<std::size_t>(n);
        else if (n == 0) error = ENOSPC;
        else if (errno != EINTR) error = errno;
    }
    if (error == 0 && flushToDisk && (::fsync(fd) != 0 || failFlush)) error = failFlush ? EIO : errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) problem = ProblemOfError(error);
    return error == 0;
}

// The folder's entries (a rename, a removal) on the disk.
bool FlushFolder(const Path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool flushed = ::fsync(fd) == 0;
    ::close(fd);
    return flushed;
}

#ifdef __linux__
// One flush of the whole file system instead of one per file: flushing thousands of small
// files one by one takes minutes.
constexpr bool kFlushEachFile = false;
bool FlushFolders(const std::vector<Path>& files) {
    std::set<Path> folders;
    for (const auto& file : files) folders.insert(file.parent_path());
    bool flushed = true;
    for (const auto& folder : folders) {
        const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return false;
        flushed = ::syncfs(fd) == 0 && flushed;
        ::close(fd);
    }
    return flushed;
}
#else
constexpr bool kFlushEachFile = true;
bool FlushFolders(const std::vector<Path>& files) {
    std::set<Path> folders;
    for (const auto& file : files) folders.insert(file.parent_path());
    bool flushed = true;
    for (const auto& folder : folders) flushed = FlushFolder(folder) && flushed;
    return flushed;
}
#endif
#endif

// Whether the file opens for reading: one that does not was never seen by whoever replaces it.
bool OpensForReading(const Path& file, FileProblem& problem) {
#ifdef _WIN32
    // Another writer's replacement under way holds the file moments there (as in RenameFile).
    std::FILE* handle = ::_wfopen(file.c_str(), L"rb");
    for (int attempt = 0; !handle && errno == EACCES && attempt < 100; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        handle = ::_wfopen(file.c_str(), L"rb");
    }
    if (!handle) problem = ProblemOfError(errno);
    else std::fclose(handle);
    return handle != nullptr;
#else
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) problem = ProblemOfError(errno);
    else ::close(fd);
    return fd >= 0;
#endif
}

// What stands at a target about to be replaced: nothing, an ordinary file, something that
// must not be replaced (a folder, a link loop, a device), or a file that cannot be read.
enum class TargetKind { Missing, File, Refused, Unreadable };

struct TargetState {
    TargetKind kind = TargetKind::Missing;
    int mode = -1; // a file's permissions, which its replacement keeps
};

TargetState ExamineTarget(const Path& target, FileProblem& problem) {
    std::error_code ec;
    const auto state = fs::status(target, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) {
        problem = ProblemOfCode(ec);
        return {TargetKind::Refused};
    }
    if (!fs::exists(state)) return {TargetKind::Missing};
    if (!fs::is_regular_file(state)) {
        problem = {fs::is_directory(state) ? FileReason::Folder : FileReason::NotAFile, 0, {}};
        return {TargetKind::Refused};
    }
    if (!OpensForReading(target, problem)) return {TargetKind::Unreadable};
    return {TargetKind::File, static_cast<int>(state.permissions() & fs::perms::mask)};
}



bool RenameFile(const Path& from, const Path& to, FileProblem& problem) {
    std::error_code ec;
    fs::rename(from, to, ec);
#ifdef _WIN32
    // A reader (or a virus scanner) that has the target open keeps it from being replaced
    // there; such a hold lasts moments.
    for (int attempt = 0; ec == std::errc::permission_denied && attempt < 100; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ec.clear();
        fs::rename(from, to, ec);
    }
#endif
    if (ec) problem = ProblemOfCode(ec);
    return !ec;
}

// True when nothing is left of the file.
bool RemoveFile(const Path& file, FileProblem& problem) {
    std::error_code ec;
    fs::remove(file, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) {
        problem = ProblemOfCode(ec);
        return false;
    }
    return true;
}

bool Exists(const Path& file) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(file, ec));
}

// A second name for the old file (or a copy where the file system has no hard links), so
// it survives its replacement until the whole save is done.
bool KeepCopy(const Path& file, const Path& copy, FileProblem& problem) {
    std::error_code ec;
    fs::create_hard_link(file, copy, ec);
    if (!ec) return true;
    fs::copy_file(file, copy, ec);
    if (ec) problem = ProblemOfCode(ec);
    return !ec;
}

std::string WriteFailure(const Path& file, const FileProblem& problem, std::size_t together) {
    if (together > 1)
        return CatalogueText("Files.CannotWriteAll", {PathText(file), ReasonText(problem), std::to_string(together)});
    return CatalogueText("Files.CannotWrite", {PathText(file), ReasonText(problem)});
}

std::string ReplaceFailure(const Path& file, const FileProblem& problem, std::size_t together) {
    if (together > 1)
        return CatalogueText("Files.CannotReplaceAll", {PathText(file), ReasonText(problem), std::to_string(together)});
    return CatalogueText("Files.CannotReplace", {PathText(file), ReasonText(problem)});
}

// ---- The journal of a save of several files ---------------------------------------------

constexpr const char* kJournalHead = "plumet save journal";
constexpr const char* kJournalPrefix = "~plumet-save";
constexpr const char* kJournalSuffix = ".journal";

struct JournalEntry {
    Path target;
    Path temp;   // empty for a removal
    Path copy;   // the old file kept aside; empty when there was none
};

// Undo: written first, and again when a save turns back; what was replaced goes back.
// Commit: every new content and kept copy is on the disk; what is left to replace goes on.
// Done: every target holds the version the journal settled on; only its leftovers remain.
enum class JournalState { Undo, Commit, Done };

std::string StoredPath(const Path& programFolder, const Path& file) {
    const Path relative = file.lexically_relative(programFolder);
    const bool inside = !relative.empty() && *relative.begin() != "..";
    const std::u8string text = (inside ? relative : file).generic_u8string();
    return std::string(text.begin(), text.end());
}

Path LoadedPath(const Path& programFolder, const std::string& text) {
    if (text.empty()) return {};
    const Path path(std::u8string(text.begin(), text.end()));
    return path.is_absolute() ? path : programFolder / path;
}

const char* StateName(JournalState state) {
    switch (state) {
    case JournalState::Undo: return "undo";
    case JournalState::Commit: return "commit";
    case JournalState::Done: return "done";
    }
    return "undo";
}

bool WriteJournal(const Path& programFolder, const Path& journal, JournalState state,
                  const std::vector<JournalEntry>& entries, FileProblem& problem) {
    std::string text = std::string(kJournalHead) + "\n" + StateName(state) + "\n";
    for (const auto& entry : entries)
        text += StoredPath(programFolder, entry.target) + "\t" +
                (entry.temp.empty() ? "" : StoredPath(programFolder, entry.temp)) + "\t" +
                (entry.copy.empty() ? "" : StoredPath(programFolder, entry.copy)) + "\n";
    text += "end\n";
    const Path temp = SidePath(journal, "tmp");
    if (!WriteNewFile(temp, text, true, problem) || !RenameFile(temp, journal, problem)) {
        FileProblem ignored;
        RemoveFile(temp, ignored);
        return false;
    }
    FlushFolder(programFolder);
    return true;
}

struct Journal {
    bool whole = false; // a journal cut short was never committed
    JournalState state = JournalState::Undo;
    std::vector<JournalEntry> entries;
};

Journal ReadJournal(const Path& programFolder, const Path& file) {
    Journal journal;
    const FileContent content = ReadFileBytes(file);
    if (content.status != ReadStatus::Ok) return journal;
    const std::vector<std::string> lines = SplitLines(content.bytes);
    if (lines.size() < 3 || lines[0] != kJournalHead || lines.back() != "end") return journal;
    journal.state = lines[1] == "commit" ? JournalState::Commit
                    : lines[1] == "done" ? JournalState::Done
                                         : JournalState::Undo;
    for (std::size_t i = 2; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i];
        const auto first = line.find('\t');
        const auto second = first == std::string::npos ? first : line.find('\t', first + 1);
        if (second == std::string::npos) return journal;
        journal.entries.push_back({LoadedPath(programFolder, line.substr(0, first)),
                                   LoadedPath(programFolder, line.substr(first + 1, second - first - 1)),
                                   LoadedPath(programFolder, line.substr(second + 1))});
    }
    journal.whole = true;
    return journal;
}

// Whether the entry's target has been replaced (or removed): its new content is no longer
// beside it, or the file to remove is gone. Copies are kept only once every new content is
// written, so a missing new content next to an existing copy means it was renamed.
bool Replaced(const JournalEntry& entry) {
    return entry.temp.empty() ? !Exists(entry.target) : !Exists(entry.temp);
}

bool SameEntry(const Path& a, const Path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

// The kept copy back in the file's place under a link of its own, so the copy itself stays
// until the journal is settled and a put-back cut short is simply done again.
bool PutBack(const JournalEntry& entry, FileProblem& problem) {
    if (Exists(entry.target) && SameEntry(entry.target, entry.copy)) return true;
    const Path back = SidePath(entry.target, "tmp");
    if (KeepCopy(entry.copy, back, problem) && RenameFile(back, entry.target, problem)) return true;
    FileProblem ignored;
    RemoveFile(back, ignored);
    return false;
}

// Every replaced target back as it was: its kept copy in its place, a new file removed;
// targets never touched stay as they are. Removes nothing else, so it may run again after a
// crash part-way. A replaced target whose copy is gone cannot be put back: that is a failure,
// unless no copy exists at all, as when a save died before it kept any (then nothing was
// replaced: copies are kept before the first replacement).
bool UndoEntries(const std::vector<JournalEntry>& entries, std::string& failures) {
    const bool copiesKept = std::any_of(entries.begin(), entries.end(),
                                        [](const JournalEntry& e) { return !e.copy.empty() && Exists(e.copy); });
    bool undone = true;
    for (const auto& entry : entries) {
        if (!Replaced(entry)) continue;
        FileProblem problem;
        bool putBack = true;
        if (!entry.copy.empty()) {
            if (Exists(entry.copy)) {
                putBack = PutBack(entry, problem);
            } else if (copiesKept) {
                putBack = false;
                problem = {FileReason::Other, 0, CatalogueText("Files.ReasonCopyMissing", {PathText(entry.copy)})};
            }
        } else if (!entry.temp.empty()) {
            putBack = RemoveFile(entry.target, problem);
        }
        if (!putBack) {
            undone = false;
            failures += " " + CatalogueText("Files.PutBackFailed", {PathText(entry.target), ReasonText(problem)});
        }
    }
    return undone;
}

// What is left to do of a committed save: the remaining renames and removals.
bool CompleteEntries(const std::vector<JournalEntry>& entries, FileProblem& problem, Path& failed) {
    for (const auto& entry : entries) {
        if (FaultAt(SaveStage::Replace, entry.target)) {
            problem = FaultProblem();
            failed = entry.target;
            return false;
        }
        const bool done = entry.temp.empty() ? RemoveFile(entry.target, problem)
                                             : !Exists(entry.temp) || RenameFile(entry.temp, entry.target, problem);
        if (!done) {
            failed = entry.target;
            return false;
        }
    }
    return true;
}

// The copies first, then the new contents: while any copy is left, a missing new content
// still tells a replaced target (see UndoEntries).
void RemoveLeftovers(const std::vector<JournalEntry>& entries) {
    FileProblem ignored;
    for (const auto& entry : entries) {
        if (!entry.copy.empty()) {
            KillPointForTests();
            RemoveFile(entry.copy, ignored);
        }
    }
    for (const auto& entry : entries)
        if (!entry.temp.empty()) RemoveFile(entry.temp, ignored);
}

bool RemoveJournal(const Path& programFolder, const Path& journal) {
    FileProblem ignored;
    KillPointForTests();
    const bool removed = RemoveFile(journal, ignored);
    FlushFolder(programFolder);
    return removed;
}

// Undoes what the journal names and clears it away; on failure the journal and every copy
// stay for the next writer, and `failures` names the files in the way.
bool FinishUndo(const Path& programFolder, const Path& journal, const std::vector<JournalEntry>& entries,
                std::string& failures) {
    if (!UndoEntries(entries, failures)) return false;
    FileProblem problem;
    // Until it says so, a crash while the copies go could not tell what was put back.
    if (!WriteJournal(programFolder, journal, JournalState::Done, entries, problem)) {
        failures += " " + CatalogueText("Files.CannotWrite", {PathText(journal), ReasonText(problem)});
        return false;
    }
    RemoveLeftovers(entries);
    RemoveJournal(programFolder, journal);
    return true;
}

// Why a target may not be replaced, or "" when it may.
std::string TargetRefusal(const Path& target, TargetKind kind, const FileProblem& problem, std::size_t together) {
    if (kind == TargetKind::Refused) return ReplaceFailure(target, problem, together);
    if (kind == TargetKind::Unreadable)
        return CatalogueText("Files.NotSavedUnreadable", {PathText(target), ReasonText(problem)});
    return {};
}

// Every leftover of a save below `folder` (links not followed), but those in `spared`.
void RemoveDeadLeftovers(const Path& folder, const std::set<Path>& spared) {
    std::error_code ec;
    const auto options = fs::directory_options::skip_permission_denied;
    for (fs::recursive_directory_iterator it(folder, options, ec), end; !ec && it != end; it.increment(ec)) {
        if (!IsLeftover(NameOf(it->path()))) continue;
        std::error_code kind;
        if (it->is_directory(kind) || spared.contains(it->path().lexically_normal())) continue;
        std::error_code ignored;
        fs::remove(it->path(), ignored);
    }
}

} // namespace

FileProblem ProblemOfCode(const std::error_code& ec) {
    if (ec == std::errc::too_many_symbolic_link_levels) return {FileReason::LinkLoop, 0, {}};
    if (ec == std::errc::is_a_directory) return {FileReason::Folder, 0, {}};
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        return {FileReason::NoPermission, 0, {}};
    if (ec == std::errc::no_space_on_device) return {FileReason::DiskFull, 0, {}};
#ifdef EDQUOT
    if (ec.category() == std::generic_category() && ec.value() == EDQUOT) return {FileReason::DiskFull, 0, {}};
#endif
    if (ec == std::errc::read_only_file_system) return {FileReason::ReadOnly, 0, {}};
    return {FileReason::Other, 0, ec.message()};
}

FileProblem ProblemOfError(int error) { return ProblemOfCode(std::error_code(error, std::generic_category())); }

std::string ReasonText(const FileProblem& problem) {
    const std::string line = std::to_string(problem.line);
    switch (problem.reason) {
    case FileReason::None: return {};
    case FileReason::LinkLoop: return CatalogueText("Files.ReasonLoop");
    case FileReason::Folder: return CatalogueText("Files.ReasonFolder");
    case FileReason::NotAFile: return CatalogueText("Files.ReasonNotAFile");
    case FileReason::NoPermission: return CatalogueText("Files.ReasonPermission");
    case FileReason::DiskFull: return CatalogueText("Files.ReasonDiskFull");
    case FileReason::ReadOnly: return CatalogueText("Files.ReasonReadOnly");
    case FileReason::ControlBytes: return CatalogueText("Files.ReasonControlBytes", {line});
    case FileReason::LineTooLong: return CatalogueText("Files.ReasonLineTooLong", {line});
    case FileReason::Damaged:
        return problem.line == 0 ? CatalogueText("Files.ReasonDamaged") : CatalogueText("Files.ReasonDamagedLine", {line});
    case FileReason::Changed: return CatalogueText("Files.ReasonChanged");
    case FileReason::Other: return problem.system;
    }
    return problem.system;
}

std::string CannotReadText(const Path& file, const FileProblem& problem) {
    return CatalogueText("Files.CannotRead", {PathText(file), ReasonText(problem)});
}

#ifdef _WIN32
Path NamePath(std::string_view name) {
    const std::string utf8 = Cp1252ToUtf8(name);
    return Path(std::u8string(utf8.begin(), utf8.end()));
}

std::string NameOf(const Path& path) {
    const std::u8string utf8 = path.filename().u8string();
    std::string bytes(utf8.begin(), utf8.end());
    return Utf8ToCp1252(bytes).value_or(std::move(bytes));
}
#else
Path NamePath(std::string_view name) { return Path(name); }
std::string NameOf(const Path& path) { return path.filename().string(); }
#endif

bool IsFileLoadedFrom(const Path& file, const Path& loadedFrom) {
    return !loadedFrom.empty() && file.lexically_normal() == loadedFrom.lexically_normal();
}

Path ResolvePath(const Path& folder, std::string_view relative) {
    Path current = folder;
    std::string part;
    for (std::size_t i = 0; i <= relative.size(); ++i) {
        if (i == relative.size() || relative[i] == '\\' || relative[i] == '/') {
            if (!part.empty()) current = MatchEntry(current, part);
            part.clear();
        } else {
            part += relative[i];
        }
    }
    return current;
}

FileContent ReadWholeFile(const Path& path) { return ReadFileBytes(path); }

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::optional<std::size_t> LineWithControlByte(const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        for (const char c : lines[i])
            if (static_cast<unsigned char>(c) < 32) return i + 1;
    return std::nullopt;
}

std::uint64_t ContentHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return hash;
}

SaveResult SaveFailed(std::string error, FileReason reason) { return {false, std::move(error), reason}; }

SaveResult CheckReplaceableFile(const Path& target) {
    FileProblem problem;
    const TargetState state = ExamineTarget(target, problem);
    if (const std::string refusal = TargetRefusal(target, state.kind, problem, 1); !refusal.empty())
        return SaveFailed(refusal, problem.reason);
    return {};
}

SaveResult SaveFileAtomically(const Path& target, std::string_view bytes) {
    FileProblem problem;
    const TargetState state = ExamineTarget(target, problem);
    if (const std::string refusal = TargetRefusal(target, state.kind, problem, 1); !refusal.empty())
        return SaveFailed(refusal, problem.reason);
    const Path temp = SidePath(target, "tmp");
    const bool flushFault = FaultAt(SaveStage::Flush, target);
    bool written = WriteNewFile(temp, bytes, true, problem, false, state.mode, flushFault);
    if (!written && flushFault) problem = FaultProblem();
    if (written && FaultAt(SaveStage::Write, target)) {
        written = false;
        problem = FaultProblem();
    }
    if (!written) {
        FileProblem ignored;
        RemoveFile(temp, ignored);
        return SaveFailed(WriteFailure(target, problem, 1), problem.reason);
    }
    if (FaultAt(SaveStage::Replace, target)) {
        problem = FaultProblem();
    } else if (RenameFile(temp, target, problem)) {
        return {};
    }
    FileProblem ignored;
    RemoveFile(temp, ignored);
    return SaveFailed(ReplaceFailure(target, problem, 1), problem.reason);
}

SaveResult AppendToFile(const Path& target, std::string_view bytes) {
    FileProblem problem;
    bool written = !FaultAt(SaveStage::Write, target) && WriteNewFile(target, bytes, false, problem, true);
    if (written) return {};
    if (problem.reason == FileReason::None) problem = FaultProblem();
    return SaveFailed(CatalogueText("Files.CannotAppend", {PathText(target), ReasonText(problem)}), problem.reason);
}

SaveResult SaveLines(const Path& target, const std::vector<std::string>& lines) {
    return SaveFileAtomically(target, JoinLinesCrLf(lines));
}

SaveResult SaveFilesTogether(const Path& programFolder, const std::vector<FileToSave>& files) {
    const std::size_t count = files.size();
    std::vector<JournalEntry> entries;
    std::vector<const FileToSave*> contents;
    std::vector<int> modes;
    entries.reserve(count);
    FileProblem problem;
    for (const auto& file : files) {
        const TargetState state = ExamineTarget(file.target, problem);
        if (const std::string refusal = TargetRefusal(file.target, state.kind, problem, count); !refusal.empty())
            return SaveFailed(refusal, problem.reason);
        if (file.remove && state.kind == TargetKind::Missing) continue;
        entries.push_back({file.target, file.remove ? Path() : SidePath(file.target, "tmp"),
                           state.kind == TargetKind::File ? SidePath(file.target, "bak") : Path()});
        contents.push_back(&file);
        modes.push_back(state.mode);
    }
    if (entries.empty()) return {};

    const Path journal = programFolder / (kJournalPrefix + UniqueSuffix("journal"));
    // Before the commit nothing is replaced: what was written goes, then the journal.
    const auto abandon = [&](const std::string& error, FileReason reason) {
        RemoveLeftovers(entries);
        RemoveJournal(programFolder, journal);
        return SaveFailed(error, reason);
    };
    // Written first, so a crash from here on leaves nothing the next writer does not clear away.
    // The journal is the program's own: a failure to write it is told as one of the first file.
    if (!WriteJournal(programFolder, journal, JournalState::Undo, entries, problem))
        return SaveFailed(WriteFailure(entries.front().target, problem, count), problem.reason);

    std::vector<Path> temps;
    temps.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].temp.empty()) continue;
        KillPointForTests();
        bool written = WriteNewFile(entries[i].temp, contents[i]->bytes, kFlushEachFile, problem, false, modes[i],
                                    kFlushEachFile && FaultAt(SaveStage::Flush, entries[i].target));
        if (written && FaultAt(SaveStage::Write, entries[i].target)) {
            written = false;
            problem = FaultProblem();
        }
        if (!written) return abandon(WriteFailure(entries[i].target, problem, count), problem.reason);
        temps.push_back(entries[i].temp);
    }
    for (const auto& entry : entries) {
        if (entry.copy.empty()) continue;
        KillPointForTests();
        if (!KeepCopy(entry.target, entry.copy, problem))
            return abandon(WriteFailure(entry.copy, problem, count), problem.reason);
    }
    // One flush for the new contents and the kept copies alike.
    const bool flushFault = !kFlushEachFile && std::any_of(entries.begin(), entries.end(), [](const JournalEntry& e) {
        return FaultAt(SaveStage::Flush, e.target);
    });
    if (!FlushFolders(temps) || flushFault) {
        problem = ProblemOfError(EIO);
        return abandon(WriteFailure(entries.front().target, problem, count), problem.reason);
    }
    KillPointForTests();
    if (!WriteJournal(programFolder, journal, JournalState::Commit, entries, problem))
        return abandon(WriteFailure(entries.front().target, problem, count), problem.reason);

    for (const auto& entry : entries) {
        if (FaultAt(SaveStage::Crash, entry.target)) return SaveFailed("crash injected by a test");
        KillPointForTests();
        if (FaultAt(SaveStage::Replace, entry.target)) {
            problem = FaultProblem();
        } else if (entry.temp.empty() ? RemoveFile(entry.target, problem) : RenameFile(entry.temp, entry.target, problem)) {
            continue;
        }
        // The journal says "undo" before anything is put back, so a crash now cannot complete it.
        FileProblem ignored;
        WriteJournal(programFolder, journal, JournalState::Undo, entries, ignored);
        std::string failures;
        FinishUndo(programFolder, journal, entries, failures);
        return SaveFailed(ReplaceFailure(entry.target, problem, count) + failures, problem.reason);
    }
    FlushFolders(temps); // the renames themselves
    // The journal goes last: until then it names every copy still to be removed.
    RemoveLeftovers(entries);
    RemoveJournal(programFolder, journal);
    return {};
}

std::vector<Path> UnfinishedSaveFiles(const Path& programFolder) {
    std::vector<Path> files;
    std::error_code ec;
    for (fs::directory_iterator it(programFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = NameOf(it->path());
        if (!name.starts_with(kJournalPrefix) || !name.ends_with(kJournalSuffix)) continue;
        for (const auto& entry : ReadJournal(programFolder, it->path()).entries) files.push_back(entry.target);
    }
    return files;
}

SaveResult RecoverInterruptedSaves(const Path& programFolder) {
    std::error_code ec;
    std::vector<Path> journals;
    for (fs::directory_iterator it(programFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = NameOf(it->path());
        if (name.starts_with(kJournalPrefix) && name.ends_with(kJournalSuffix)) journals.push_back(it->path());
    }
    SaveResult result;
    std::set<Path> spared; // what a journal that stays still needs
    for (const Path& file : journals) {
        const Journal journal = ReadJournal(programFolder, file);
        // A journal cut short: its own temporary file was never renamed, so this cannot happen;
        // one damaged later names nothing that may be trusted.
        if (!journal.whole) {
            RemoveJournal(programFolder, file);
            continue;
        }
        FileProblem problem;
        Path failed;
        if (journal.state == JournalState::Done ||
            (journal.state == JournalState::Commit && CompleteEntries(journal.entries, problem, failed))) {
            RemoveLeftovers(journal.entries);
            RemoveJournal(programFolder, file);
            continue;
        }
        std::string failures;
        if (journal.state == JournalState::Commit) {
            failures = " " + CatalogueText("Files.CannotReplace", {PathText(failed), ReasonText(problem)});
            if (!WriteJournal(programFolder, file, JournalState::Undo, journal.entries, problem))
                failures += " " + CatalogueText("Files.CannotWrite", {PathText(file), ReasonText(problem)});
        }
        std::string undoFailures;
        if (FinishUndo(programFolder, file, journal.entries, undoFailures)) continue;
        for (const auto& entry : journal.entries)
            for (const Path& named : {entry.temp, entry.copy})
                if (!named.empty()) spared.insert(named.lexically_normal());
        result = SaveFailed(CatalogueText("Files.RecoveryFailed", {PathText(programFolder), failures + undoFailures}));
    }
    // Under the lock no other process is saving: whatever a save left is dead, however young.
    RemoveDeadLeftovers(programFolder, spared);
    return result;
}

void SetSaveFaultForTests(std::function<bool(const Path&)> fault, SaveStage stage, FileReason reason) {
    Fault() = {std::move(fault), stage, reason};
}

std::string FormatCountLine(long long count) { return " " + std::to_string(count) + " "; }

} // namespace plumet
