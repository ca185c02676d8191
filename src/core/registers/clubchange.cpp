#include "registers/clubchange.h"

#include <functional>
#include <system_error>
#include <vector>

#include "app/fixedwidth.h"
#include "registers/clubs.h"
#include "registers/fanciers.h"
#include "registers/pigeons.h"

namespace plumet {
namespace {

constexpr std::size_t kNumberLength = 3;
constexpr const char* kNotMoved = " The fancier was not moved.";

ClubChangeResult Failed(std::string error) {
    ClubChangeResult result;
    result.saved = {false, std::move(error)};
    return result;
}

ClubChangeResult Refusal(int message, const char* focusField) {
    ClubChangeResult result;
    result.message = message;
    result.focusField = focusField;
    return result;
}

bool IsUsableNumber(const std::string& number) {
    return number.size() == kNumberLength && IsAllDigits(number) && number != "000";
}

// The steps already written, put back in reverse order when a later step fails, so a
// failure leaves the registers as they were before the move.
class Undo {
public:
    void Add(std::function<SaveResult()> step) { steps_.push_back(std::move(step)); }

    ClubChangeResult Fail(const SaveResult& failure) {
        std::string text = failure.error + kNotMoved;
        for (auto it = steps_.rbegin(); it != steps_.rend(); ++it)
            if (const SaveResult undone = (*it)(); !undone) text += " Putting back failed as well: " + undone.error;
        return Failed(std::move(text));
    }

private:
    std::vector<std::function<SaveResult()>> steps_;
};

// A file as it was before it was written: its old bytes again, or no file at all.
SaveResult Restore(const Path& file, const FileContent& before) {
    if (before.status == ReadStatus::Ok) return SaveFileAtomically(file, before.bytes);
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (ec) return {false, "Cannot remove the file: " + file.string()};
    return {};
}

SaveResult Unreadable(const Path& file) {
    return {false, "The file " + file.string() + " could not be read, so it was left as it is."};
}

} // namespace

std::string ClubChangeNumberOnLeave(std::string_view text, std::size_t width) {
    return PadLeft(TrimBlanks(text), width, '0');
}

std::string MovedFancierRecord(std::string_view record, std::string_view newNumber) {
    return std::string(newNumber) + Mid(record, kNumberLength + 1, kFancierRecordLength);
}

ClubChangeResult ChangeClub(const Path& programFolder, std::string_view club, std::string_view fancier,
                            const ClubChangeTarget& target) {
    const std::string newClub = ClubChangeNumberOnLeave(target.clubNumber, kNumberLength);
    const std::string newFancier = ClubChangeNumberOnLeave(target.fancierNumber, kNumberLength);
    if (!IsUsableNumber(newClub)) return Refusal(kClubChangeZeroNumber, "Text1");
    if (!IsUsableNumber(newFancier)) return Refusal(kClubChangeZeroNumber, "Text2");

    ClubTable clubs;
    LoadClubs(clubs, ClubFilePath(programFolder));
    if (FindClub(clubs, newClub) == 0) return Refusal(kClubChangeUnknownClub, "Text1");

    const Path targetFile = FancierFilePath(programFolder, newClub);
    FancierTable targetFanciers;
    LoadFanciers(targetFanciers, targetFile);
    if (targetFanciers.LastLoad() == LoadOutcome::Unreadable) return Failed(Unreadable(targetFile).error + kNotMoved);
    if (targetFanciers.Full()) return Refusal(kClubChangeClubFull, "Text1");
    if (FindFancier(targetFanciers, newFancier) != 0) return Refusal(kClubChangeNumberTaken, "Text2");

    const bool sameClub = newClub == club;
    const Path sourceFile = FancierFilePath(programFolder, club);
    FancierTable sourceFanciers = targetFanciers;
    if (!sameClub) LoadFanciers(sourceFanciers, sourceFile);
    if (sourceFanciers.LastLoad() == LoadOutcome::Unreadable) return Failed(Unreadable(sourceFile).error + kNotMoved);
    const std::size_t slot = FindFancier(sourceFanciers, fancier);
    if (slot == 0)
        return Failed("The fancier " + std::string(fancier) + " is no longer in the fancier file of club " +
                      std::string(club) + "." + kNotMoved);
    const std::string moved = MovedFancierRecord(sourceFanciers.Record(slot), newFancier);

    // The pigeons: a file the register cannot take as it stands is copied byte for byte
    // rather than lost; one that cannot be read at all stops the move.
    const Path oldPigeons = PigeonFilePath(programFolder, club, fancier);
    const Path newPigeons = PigeonFilePath(programFolder, newClub, newFancier);
    const FileContent pigeonBytes = ReadWholeFile(oldPigeons);
    if (pigeonBytes.status == ReadStatus::Unreadable) return Failed(Unreadable(oldPigeons).error + kNotMoved);
    const FileContent replaced = ReadWholeFile(newPigeons);
    if (replaced.status == ReadStatus::Unreadable) return Failed(Unreadable(newPigeons).error + kNotMoved);
    PigeonTable pigeons;
    LoadPigeons(pigeons, oldPigeons);

    Undo undo;
    const SaveResult pigeonsCopied = pigeons.LastLoad() == LoadOutcome::Unreadable
                                         ? SaveFileAtomically(newPigeons, pigeonBytes.bytes)
                                         : SavePigeons(pigeons, newPigeons);
    if (!pigeonsCopied) return undo.Fail(pigeonsCopied);
    undo.Add([&] { return Restore(newPigeons, replaced); });

    if (sameClub) {
        FancierTable renumbered = sourceFanciers;
        DeleteFancier(renumbered, slot);
        InsertFancier(renumbered, moved);
        if (const SaveResult saved = SaveFanciers(renumbered, sourceFile); !saved) return undo.Fail(saved);
    } else {
        const FileContent targetBefore = ReadWholeFile(targetFile);
        FancierTable joined = targetFanciers;
        InsertFancier(joined, moved);
        if (const SaveResult saved = SaveFanciers(joined, targetFile); !saved) return undo.Fail(saved);
        undo.Add([&] { return Restore(targetFile, targetBefore); });
        FancierTable left = sourceFanciers;
        DeleteFancier(left, slot);
        if (const SaveResult saved = SaveFanciers(left, sourceFile); !saved) return undo.Fail(saved);
    }

    ClubChangeResult result;
    result.moved = true;
    if (!DeletePigeonFile(oldPigeons))
        result.saved = {false, "The fancier was moved, but his old pigeon file " + oldPigeons.string() +
                                   " could not be removed."};
    return result;
}

} // namespace plumet
