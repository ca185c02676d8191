#pragma once
// The file layer: case-insensitive names, whole-file reads that tell a missing file from one
// that cannot be read, CR LF lines, and the saves every written file goes through: one file
// replaced at once, or several all together.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace plumet {

using Path = std::filesystem::path;

// A file name of Windows-1252 bytes as a path, and the last part of a path back as such
// bytes. Windows keeps names in Unicode, and its C++ library reads narrow names byte by byte
// but gives them back as UTF-8; elsewhere the bytes are the name.
Path NamePath(std::string_view name);
std::string NameOf(const Path& path);

// `relative` uses '\' or '/' between parts. Each part is matched to an existing entry of
// any letter case; a part with no match keeps the spelling given.
Path ResolvePath(const Path& folder, std::string_view relative);
// Whether `file` names the file a table was loaded from (empty when none was).
bool IsFileLoadedFrom(const Path& file, const Path& loadedFrom);

enum class ReadStatus { Ok, Missing, Unreadable };

// Why a file cannot be read, written or replaced.
enum class FileReason {
    None,
    LinkLoop,     // a symbolic link that leads round in a circle
    Folder,       // a folder stands where the file should be
    NotAFile,     // a device, a pipe or the like
    NoPermission,
    DiskFull,
    ReadOnly,     // the disk or folder is mounted read-only
    ControlBytes, // a record holds a byte below 32 (`line`)
    LineTooLong,  // `line`
    Damaged,      // the content is not of its kind (`line`, 0 when no line is to blame)
    Changed,      // another task changed it since it was read
    Other,        // `system` holds the operating system's words
};

struct FileProblem {
    FileReason reason = FileReason::None;
    std::size_t line = 0;
    std::string system;
    bool operator==(const FileProblem&) const = default;
};

// The operating system's error number, or error code, as a reason.
FileProblem ProblemOfError(int error);
FileProblem ProblemOfCode(const std::error_code& error);
// The reason as the catalogue words it ("the disk is full").
std::string ReasonText(const FileProblem& problem);
// "The file … cannot be read: …."
std::string CannotReadText(const Path& file, const FileProblem& problem);

struct FileContent {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
    FileProblem problem; // why, when Unreadable
};

// Missing only when the file does not exist; any other failure (a folder, a link loop, no
// permission) makes it Unreadable.
FileContent ReadWholeFile(const Path& path);

// Lines ended by CR LF, LF or a lone CR; a last line without an end counts.
std::vector<std::string> SplitLines(std::string_view bytes);
// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);
// The first line (1-based) holding a byte below 32, or nothing; a record never holds one.
std::optional<std::size_t> LineWithControlByte(const std::vector<std::string>& lines);

// A fingerprint of file content, to tell later whether the file still holds what was read.
std::uint64_t ContentHash(std::string_view bytes);

struct SaveResult {
    bool ok = true;
    std::string error;             // for the user (Windows-1252, from the catalogue), when !ok
    FileReason reason = FileReason::None;
    explicit operator bool() const { return ok; }
};

SaveResult SaveFailed(std::string error, FileReason reason = FileReason::Other);

// Writes a temporary file of its own beside the target, flushes it to disk and renames it
// over the target, so a failure at any point leaves the old file whole. A target that is a
// folder, a link loop, no ordinary file or a file that cannot be read is refused, never
// replaced; a replacement keeps the permissions of the file it replaces.
SaveResult SaveFileAtomically(const Path& target, std::string_view bytes);
SaveResult SaveLines(const Path& target, const std::vector<std::string>& lines);
// What SaveFileAtomically would refuse `target` for before writing anything, or success.
SaveResult CheckReplaceableFile(const Path& target);

// Appends `bytes` to the file in one write, creating it when missing, without replacing it: for
// the one file that is a log (a print-out as it arrives). Handed to the system at once, not
// forced to the disk.
SaveResult AppendToFile(const Path& target, std::string_view bytes);

struct FileToSave {
    Path target;
    std::string bytes;
    bool remove = false; // the target goes instead of being written
};
// Replaces (or removes) several files as one step. Every new content is written and flushed
// beside its target, each old file is kept aside, a journal in `programFolder` names them
// all, and only then are the targets replaced in the order given. A failure puts back the
// files already replaced; after a crash, the next holder of the folder's write lock
// completes the save from the journal (RecoverInterruptedSaves).
SaveResult SaveFilesTogether(const Path& programFolder, const std::vector<FileToSave>& files);

// Completes every save a journal of `programFolder` names, or undoes it where it cannot be
// completed, and removes what other processes' saves left behind anywhere below the folder.
// A journal that can be neither completed nor undone stays, with every file it still needs,
// and the result names the files in the way. Only the write lock's holder calls it.
SaveResult RecoverInterruptedSaves(const Path& programFolder);

// The files that saves of several files left unfinished name (a task that only reads must
// not take them for settled); empty when none was interrupted.
std::vector<Path> UnfinishedSaveFiles(const Path& programFolder);

// Test hooks. A write fault makes writing the new content of the targets it picks fail
// (before anything is replaced), a flush fault makes flushing it to the disk fail; a replace
// fault makes replacing them fail, with `reason`. A crash stops a save of several files
// before replacing the target it picks, leaving everything as a killed process would.
enum class SaveStage { Write, Flush, Replace, Crash };
void SetSaveFaultForTests(std::function<bool(const Path&)> fault, SaveStage stage = SaveStage::Write,
                          FileReason reason = FileReason::Other);

// The count line of a register file: one blank, the digits, one blank (" 3 ").
std::string FormatCountLine(long long count);

} // namespace plumet
