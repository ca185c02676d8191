#pragma once
// The bounded, insertion-sorted table of fixed-width records that every register uses,
// with its file: a count line, then one record per line.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/catalogue.h"
#include "core/app/files.h"
#include "core/app/fixedwidth.h"

namespace plumet {

enum class LoadOutcome { Loaded, Missing, Unreadable };

// Traits: kCapacity; Matches(record, argument) for Find; SortsBefore(newRecord, existing)
// for Insert (a table ordered by other means may leave it out and use InsertOrdered).
template <typename Traits>
class RegisterTable {
public:
    static constexpr std::size_t kCapacity = Traits::kCapacity;

    // Returns the count. A missing, empty or unreadable file leaves an empty table; an
    // unreadable one (a folder, a link loop, a count that is no count, a control byte in a
    // record) also blocks Save until the next successful load, so it is never overwritten.
    std::size_t Load(const Path& path) {
        records_.clear();
        loadedFrom_ = path;
        loadedHash_.reset();
        problem_ = {};
        FileContent content = ReadWholeFile(path);
        if (content.status == ReadStatus::Missing) {
            outcome_ = LoadOutcome::Missing;
            return 0;
        }
        outcome_ = LoadOutcome::Unreadable;
        if (content.status != ReadStatus::Ok) {
            problem_ = content.problem;
            return 0;
        }
        // A file of no bytes holds no records to lose: an empty register, saved over like one.
        if (content.bytes.empty()) {
            outcome_ = LoadOutcome::Loaded;
            loadedHash_ = ContentHash(content.bytes);
            return 0;
        }
        std::vector<std::string> lines = SplitLines(content.bytes);
        const auto count = lines.empty() ? std::nullopt : ParseInteger(lines.front());
        if (!count || *count < 0 || static_cast<std::size_t>(*count) > kCapacity) {
            problem_ = {FileReason::Damaged, 1, {}};
            return 0;
        }
        if (static_cast<std::size_t>(*count) + 1 > lines.size()) {
            problem_ = {FileReason::Damaged, lines.size() + 1, {}};
            return 0;
        }
        lines.resize(static_cast<std::size_t>(*count) + 1);
        if (const auto line = LineWithControlByte(lines)) {
            problem_ = {FileReason::ControlBytes, *line, {}};
            return 0;
        }
        records_.assign(std::make_move_iterator(lines.begin() + 1), std::make_move_iterator(lines.end()));
        outcome_ = LoadOutcome::Loaded;
        loadedHash_ = ContentHash(content.bytes);
        return records_.size();
    }

    // Refused, with nothing written, when the file could not be read on load, or when another
    // task has changed it since (a window that loaded it long ago must not undo that change).
    SaveResult Save(const Path& path) const {
        const bool sameFile = IsFileLoadedFrom(path, loadedFrom_);
        if (sameFile && outcome_ == LoadOutcome::Unreadable)
            return SaveFailed(CatalogueText("Files.NotSavedUnreadable", {PathText(path), ReasonText(problem_)}),
                              problem_.reason);
        if (sameFile && ChangedSinceLoad(path))
            return SaveFailed(CatalogueText("Files.Changed", {PathText(path)}), FileReason::Changed);
        const std::string bytes = JoinLinesCrLf(FileLines());
        SaveResult saved = SaveFileAtomically(path, bytes);
        if (saved) {
            // What is on disk now is what this table knows.
            loadedFrom_ = path;
            loadedHash_ = ContentHash(bytes);
            outcome_ = LoadOutcome::Loaded;
        }
        return saved;
    }

    // The lines of the register file: the count line, then the records.
    std::vector<std::string> FileLines() const {
        std::vector<std::string> lines;
        lines.reserve(records_.size() + 1);
        lines.push_back(FormatCountLine(static_cast<long long>(records_.size())));
        lines.insert(lines.end(), records_.begin(), records_.end());
        return lines;
    }

    // The last slot (1-based) whose record matches, or 0.
    std::size_t Find(std::string_view argument) const {
        for (std::size_t slot = records_.size(); slot >= 1; --slot)
            if (Traits::Matches(records_[slot - 1], argument)) return slot;
        return 0;
    }

    // The caller checks Full() first. Equal records go after those already there.
    void Insert(std::string record) { InsertOrdered(std::move(record), Traits::SortsBefore); }

    // Insert by an order that needs more than the two records (the pigeon order depends on
    // the catalogue's sex characters).
    template <typename SortsBefore>
    void InsertOrdered(std::string record, SortsBefore sortsBefore) {
        std::size_t i = records_.size();
        while (i >= 1 && sortsBefore(record, records_[i - 1])) --i;
        records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(i), std::move(record));
    }

    void Delete(std::size_t slot) {
        if (slot >= 1 && slot <= records_.size())
            records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(slot - 1));
    }

    std::size_t Count() const { return records_.size(); }
    bool Full() const { return records_.size() >= kCapacity; }
    const std::string& Record(std::size_t slot) const { return records_.at(slot - 1); }
    const std::vector<std::string>& Records() const { return records_; }
    LoadOutcome LastLoad() const { return outcome_; }
    // Why the last load found the file unreadable.
    const FileProblem& LoadProblem() const { return problem_; }
    void Clear() {
        records_.clear();
        outcome_ = LoadOutcome::Missing;
        loadedFrom_.clear();
        loadedHash_.reset();
        problem_ = {};
    }

private:
    bool ChangedSinceLoad(const Path& path) const {
        const FileContent now = ReadWholeFile(path);
        if (outcome_ == LoadOutcome::Missing) return now.status != ReadStatus::Missing;
        return now.status != ReadStatus::Ok || !loadedHash_ || ContentHash(now.bytes) != *loadedHash_;
    }

    std::vector<std::string> records_;
    // The file as this table last read or wrote it; a save brings them up to date, so they
    // change on a const table.
    mutable LoadOutcome outcome_ = LoadOutcome::Missing;
    mutable Path loadedFrom_;
    mutable std::optional<std::uint64_t> loadedHash_;
    FileProblem problem_;
};

// "The file … cannot be read: …." for a table whose last load found its file unreadable.
template <typename Traits>
std::string UnreadableText(const RegisterTable<Traits>& table, const Path& file) {
    return CannotReadText(file, table.LoadProblem());
}

// Whether a register file holds records, or may (it exists but its count cannot be read):
// such a file must not be left behind under a number that changes.
bool RegisterFileHoldsRecords(const Path& path);

// Leading-digit value as the register order uses it: "007" is 7, a text without digits 0.
long long LeadingNumber(std::string_view text);

// Tables keyed and ordered by the number in the column `Key` (clubs, fanciers); Find takes a
// record or the bare number.
template <Column Key>
struct NumberKeyTraits {
    static bool Matches(const std::string& record, std::string_view argument) {
        return Field(record, Key) == Field(argument, Key);
    }
    static bool SortsBefore(const std::string& candidate, const std::string& existing) {
        return LeadingNumber(Field(candidate, Key)) < LeadingNumber(Field(existing, Key));
    }
};

} // namespace plumet
