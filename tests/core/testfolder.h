#pragma once
// A fresh temporary folder per test, removed afterwards; the golden files; failing saves.
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/app/catalogue.h"
#include "core/app/files.h"

namespace plumet {

// A file the tests need (tests/data, the shipped catalogues); a missing one fails the test.
inline std::string RequiredFile(const Path& file) {
    FileContent content = ReadWholeFile(file);
    if (content.status != ReadStatus::Ok) throw std::runtime_error("missing golden file " + file.string());
    return std::move(content.bytes);
}
inline std::string TestData(const std::string& relative) { return RequiredFile(Path(PLUMET_TEST_DATA) / relative); }

// The non-empty lines of a golden table after its `heads` lines; a table without rows fails.
inline std::vector<std::string> TableRows(const std::string& relative, std::size_t heads = 0) {
    std::vector<std::string> rows = SplitLines(TestData(relative));
    rows.erase(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(std::min(heads, rows.size())));
    std::erase(rows, std::string());
    if (rows.empty()) throw std::runtime_error("no rows in golden file " + relative);
    return rows;
}

// The rows of a golden table, each cut into its cells at '|'; a table without rows fails.
inline std::vector<std::vector<std::string>> TableCells(const std::string& relative, std::size_t heads = 0) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& row : TableRows(relative, heads)) {
        std::vector<std::string>& cells = rows.emplace_back(1);
        for (const char c : row) {
            if (c == '|') cells.emplace_back();
            else cells.back() += c;
        }
    }
    return rows;
}

// A catalogue of the program's data folder: "club.txt" or "club.de.txt".
inline TextCatalogue ShippedCatalogue(const char* name) {
    TextCatalogue catalogue;
    catalogue.LoadFromBytes(RequiredFile(Path(PLUMET_SOURCE_DIR) / "data" / name));
    return catalogue;
}

inline bool EveryPath(const Path&) { return true; }
// The saves that `fails` picks (by default every one) fail at `stage` while this lives, also
// when an assertion ends the test early, so no later test inherits the fault.
struct SaveFault {
    explicit SaveFault(std::function<bool(const Path&)> fails = EveryPath, SaveStage stage = SaveStage::Write,
                       FileReason reason = FileReason::Other) {
        SetSaveFaultForTests(std::move(fails), stage, reason);
    }
    ~SaveFault() { SetSaveFaultForTests(nullptr); }
    SaveFault(const SaveFault&) = delete;
    SaveFault& operator=(const SaveFault&) = delete;
};

// Picks the saves of the file of that name.
inline std::function<bool(const Path&)> SavesOf(std::string name) {
    return [name = std::move(name)](const Path& target) { return target.filename() == name; };
}

// What `task()` gives while the saves that `fails` picks fail.
template <typename Task> auto WithFailingSaves(Task task, std::function<bool(const Path&)> fails = EveryPath) {
    const SaveFault fault(std::move(fails));
    return task();
}

// The local time zone is `zone` (a TZ value) while this lives.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        Set(zone);
    }
    ~ScopedTimeZone() { Set(old_ ? old_->c_str() : nullptr); }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    static void Set(const char* zone) {
#ifdef _WIN32
        _putenv_s("TZ", zone ? zone : ""), _tzset();
#else
        zone ? setenv("TZ", zone, 1) : unsetenv("TZ"), tzset();
#endif
    }
    std::optional<std::string> old_;
};

} // namespace plumet

class TestFolder {
public:
    TestFolder() : path_(std::filesystem::temp_directory_path() / ("plumet-test-" + Random() + Random())) {
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void Write(const std::string& relative, const std::string& bytes) const {
        std::filesystem::create_directories((path_ / relative).parent_path());
        std::ofstream(path_ / relative, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& relative) const {
        std::ifstream in(path_ / relative, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Copies the files of tests/data/`data` into `relative`.
    void CopyData(const std::string& data, const std::string& relative = ".") const {
        std::filesystem::create_directories(path_ / relative);
        std::filesystem::copy(std::filesystem::path(PLUMET_TEST_DATA) / data, path_ / relative,
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    }
    // Every file below the folder by its relative path, to tell that a task changed nothing.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
            const std::string relative = std::filesystem::relative(entry.path(), path_).generic_string();
            files[relative] = entry.is_regular_file() ? Read(relative) : "";
        }
        return files;
    }
    // Only the files of Snapshot, to compare with a golden folder (which holds no empty folders).
    std::map<std::string, std::string> Files() const {
        auto files = Snapshot();
        std::erase_if(files, [this](const auto& file) { return std::filesystem::is_directory(path_ / file.first); });
        return files;
    }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(path_ / relative); }
    // Spelled exactly so: a file system that ignores case finds "race" for "RACE" too.
    bool HasEntryNamed(const std::string& relative) const {
        const auto wanted = path_ / relative;
        for (const auto& entry : std::filesystem::directory_iterator(wanted.parent_path()))
            if (entry.path().filename() == wanted.filename()) return true;
        return false;
    }
    // Whether the folder's permissions keep a new entry out (not for root, nor on Windows).
    bool RefusesNewEntries() const {
        std::error_code ec;
        return !std::filesystem::create_directory(path_ / "probe", ec) || !std::filesystem::remove(path_ / "probe", ec);
    }
    bool IgnoresLetterCase() const {
        std::ofstream(path_ / "case-probe") << "";
        const bool ignores = std::filesystem::exists(path_ / "CASE-PROBE");
        std::filesystem::remove(path_ / "case-probe");
        return ignores;
    }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

private:
    static std::string Random() { return std::to_string(std::random_device()()); }
    std::filesystem::path path_;
};

// The files of the golden folder tests/data/`data`.
inline std::map<std::string, std::string> GoldenFiles(const std::string& data) {
    const TestFolder folder;
    folder.CopyData(data);
    return folder.Files();
}
