#pragma once
// The file layer: case-insensitive names, whole-file reads, CR LF lines and the one
// atomic save that every written file goes through.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
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

enum class ReadStatus { Ok, Missing, Unreadable };

struct FileContent {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
};

FileContent ReadWholeFile(const Path& path);

// Lines ended by CR LF, LF or a lone CR; a last line without an end counts.
std::vector<std::string> SplitLines(std::string_view bytes);
// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

struct SaveResult {
    bool ok = true;
    std::string error; // plain English, for the user, when !ok
    explicit operator bool() const { return ok; }
};

// Writes a temporary file beside the target, flushes it to disk and renames it over the
// target, so a failure at any point leaves the old file whole.
SaveResult SaveFileAtomically(const Path& target, std::string_view bytes);
SaveResult SaveLines(const Path& target, const std::vector<std::string>& lines);

struct FileToSave {
    Path target;
    std::string bytes;
};
// Replaces several files as one step: every new content is written beside its target and
// flushed to disk first, and only then are they renamed over their targets, in the order
// given. A failure before the renames leaves every target as it was.
SaveResult SaveFilesTogether(const std::vector<FileToSave>& files);

// Test hook: when set and it returns true for a target, the save fails before the rename.
void SetSaveFaultForTests(std::function<bool(const Path&)> fault);

// The count line of a register file: one blank, the digits, one blank (" 3 ").
std::string FormatCountLine(long long count);

} // namespace plumet
