#include "app/files.h"

#include "app/cp1252.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <system_error>

#include <set>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace plumet {
namespace {

std::function<bool(const Path&)>& SaveFault() {
    static std::function<bool(const Path&)> fault;
    return fault;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
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
    const Path given = dir / NamePath(part);
    if (std::filesystem::exists(given, ec)) {
        const std::string swapped = SwapCase(part);
        if (swapped == part || !std::filesystem::exists(dir / NamePath(swapped), ec)) return given;
    }
    Path match = given;
    bool matched = false;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = NameOf(it->path());
        if (name == part) return it->path();
        if (!matched && EqualNoCase(name, part)) match = it->path(), matched = true;
    }
    return match;
}

std::string FailureText(const Path& target, const char* what) {
    return std::string(what) + ": " + target.string();
}

Path TempPathOf(const Path& target) { return target.parent_path() / ("~" + target.filename().string() + ".tmp"); }

// Writes the whole content; with `flushToDisk` it is on the disk, not only in the cache, on return.
bool WriteFileBytes(const Path& path, std::string_view bytes, bool flushToDisk) {
#ifdef _WIN32
    std::FILE* file = ::_wfopen(path.c_str(), L"wb"); // fopen would take the name in the ANSI code page
#else
    std::FILE* file = std::fopen(path.c_str(), "wb");
#endif
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    if (flushToDisk) {
#ifdef _WIN32
        written = _commit(_fileno(file)) == 0 && written;
#else
        written = ::fsync(fileno(file)) == 0 && written;
#endif
    }
    return std::fclose(file) == 0 && written;
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
        const int fd = ::open(folder.empty() ? "." : folder.string().c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return false;
        flushed = ::syncfs(fd) == 0 && flushed;
        ::close(fd);
    }
    return flushed;
}
#else
constexpr bool kFlushEachFile = true;
bool FlushFolders(const std::vector<Path>&) { return true; }
#endif

} // namespace

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

FileContent ReadWholeFile(const Path& path) {
    std::error_code ec;
    const auto state = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(state)) return {ReadStatus::Missing, {}};
    if (!std::filesystem::is_regular_file(state)) return {ReadStatus::Unreadable, {}};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {ReadStatus::Unreadable, {}};
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return {ReadStatus::Unreadable, {}};
    return {ReadStatus::Ok, std::move(bytes)};
}

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

SaveResult SaveFileAtomically(const Path& target, std::string_view bytes) {
    const Path temp = TempPathOf(target);
    bool written = WriteFileBytes(temp, bytes, true);
    if (written && SaveFault() && SaveFault()(target)) written = false;
    std::error_code ec;
    if (!written) {
        std::filesystem::remove(temp, ec);
        return {false, FailureText(target, "Cannot write the file")};
    }
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return {false, FailureText(target, "Cannot replace the file")};
    }
    return {};
}

SaveResult SaveLines(const Path& target, const std::vector<std::string>& lines) {
    return SaveFileAtomically(target, JoinLinesCrLf(lines));
}

SaveResult SaveFilesTogether(const std::vector<FileToSave>& files) {
    if (files.empty()) return {};
    std::vector<Path> temps;
    temps.reserve(files.size());
    std::error_code ec;
    const auto discardFrom = [&](std::size_t first) {
        for (std::size_t i = first; i < temps.size(); ++i) std::filesystem::remove(temps[i], ec);
    };
    for (const auto& file : files) {
        // A folder in the target's place would only fail at the rename, after others were replaced.
        if (std::filesystem::exists(file.target, ec) && !std::filesystem::is_regular_file(file.target, ec)) {
            discardFrom(0);
            return {false, FailureText(file.target, "Cannot replace the file")};
        }
        temps.push_back(TempPathOf(file.target));
        bool written = WriteFileBytes(temps.back(), file.bytes, kFlushEachFile);
        if (written && SaveFault() && SaveFault()(file.target)) written = false;
        if (!written) {
            discardFrom(0);
            return {false, FailureText(file.target, "Cannot write the file")};
        }
    }
    if (!FlushFolders(temps)) {
        discardFrom(0);
        return {false, FailureText(files.front().target, "Cannot write the file")};
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::filesystem::rename(temps[i], files[i].target, ec);
        if (ec) {
            discardFrom(i);
            return {false, FailureText(files[i].target, i == 0 ? "Cannot replace the file"
                                                              : "Cannot replace the file (the files before it were replaced)")};
        }
    }
    FlushFolders(temps); // the renames themselves
    return {};
}

void SetSaveFaultForTests(std::function<bool(const Path&)> fault) { SaveFault() = std::move(fault); }

std::string FormatCountLine(long long count) { return " " + std::to_string(count) + " "; }

} // namespace plumet
