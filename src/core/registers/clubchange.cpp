#include "core/registers/clubchange.h"

#include <algorithm>
#include <vector>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/registers/clubs.h"
#include "core/registers/fanciers.h"
#include "core/registers/pigeons.h"

namespace plumet {
namespace {

// Club and fancier numbers alike.
constexpr std::size_t kNumberLength = FancierColumn::Number.width();
static_assert(ClubColumn::Number.width() == kNumberLength);

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

ClubChangeResult NotMoved(const std::string& why) { return Failed(why + " " + CatalogueText("frmClubChange.txtNotMoved")); }

} // namespace

std::string ClubChangeNumberOnLeave(std::string_view text, std::size_t width) {
    return PadLeft(TrimBlanks(text), width, '0');
}

std::string MovedFancierRecord(std::string_view record, std::string_view newNumber) {
    std::string moved(record.substr(0, std::min(record.size(), FancierColumn::kRecordWidth)));
    SetField(moved, FancierColumn::Number, newNumber);
    return moved;
}

ClubChangeResult ChangeClub(const Path& programFolder, std::string_view club, std::string_view fancier,
                            const ClubChangeTarget& target) {
    const std::string newClub = ClubChangeNumberOnLeave(target.clubNumber, kNumberLength);
    const std::string newFancier = ClubChangeNumberOnLeave(target.fancierNumber, kNumberLength);
    if (!IsUsableNumber(newClub)) return Refusal(kClubChangeZeroNumber, "Text1");
    if (!IsUsableNumber(newFancier)) return Refusal(kClubChangeZeroNumber, "Text2");

    ClubTable clubs;
    const Path clubFile = ClubFilePath(programFolder);
    LoadClubs(clubs, clubFile);
    if (clubs.LastLoad() == LoadOutcome::Unreadable) return NotMoved(UnreadableText(clubs, clubFile));
    if (FindClub(clubs, newClub) == 0) return Refusal(kClubChangeUnknownClub, "Text1");

    const Path targetFile = FancierFilePath(programFolder, newClub);
    FancierTable targetFanciers;
    LoadFanciers(targetFanciers, targetFile);
    if (targetFanciers.LastLoad() == LoadOutcome::Unreadable) return NotMoved(UnreadableText(targetFanciers, targetFile));
    if (targetFanciers.Full()) return Refusal(kClubChangeClubFull, "Text1");
    if (FindFancier(targetFanciers, newFancier) != 0) return Refusal(kClubChangeNumberTaken, "Text2");

    const bool sameClub = newClub == club;
    const Path sourceFile = FancierFilePath(programFolder, club);
    FancierTable sourceFanciers = targetFanciers;
    if (!sameClub) LoadFanciers(sourceFanciers, sourceFile);
    if (sourceFanciers.LastLoad() == LoadOutcome::Unreadable) return NotMoved(UnreadableText(sourceFanciers, sourceFile));
    const std::size_t slot = FindFancier(sourceFanciers, fancier);
    if (slot == 0)
        return NotMoved(CatalogueText("frmClubChange.txtFancierGone", {std::string(fancier), std::string(club)}));
    const std::string moved = MovedFancierRecord(sourceFanciers.Record(slot), newFancier);

    // The pigeons: a file the register cannot take as it stands is copied byte for byte
    // rather than lost; one that cannot be read at all stops the move.
    const Path oldPigeons = PigeonFilePath(programFolder, club, fancier);
    const Path newPigeons = PigeonFilePath(programFolder, newClub, newFancier);
    const FileContent pigeonBytes = ReadWholeFile(oldPigeons);
    if (pigeonBytes.status == ReadStatus::Unreadable) return NotMoved(CannotReadText(oldPigeons, pigeonBytes.problem));
    PigeonTable pigeons;
    LoadPigeons(pigeons, oldPigeons);

    // Everything at once: the pigeons under the new number, the fancier files, and the old
    // pigeon file gone; or, when any step fails, all as it was.
    std::vector<FileToSave> files;
    files.push_back({newPigeons, pigeons.LastLoad() == LoadOutcome::Unreadable ? pigeonBytes.bytes
                                                                               : JoinLinesCrLf(pigeons.FileLines())});
    FancierTable changed = sourceFanciers;
    DeleteFancier(changed, slot);
    if (sameClub) {
        InsertFancier(changed, moved);
        files.push_back({sourceFile, JoinLinesCrLf(changed.FileLines())});
    } else {
        FancierTable joined = targetFanciers;
        InsertFancier(joined, moved);
        files.push_back({targetFile, JoinLinesCrLf(joined.FileLines())});
        files.push_back({sourceFile, JoinLinesCrLf(changed.FileLines())});
    }
    files.push_back({oldPigeons, {}, true});
    if (const SaveResult saved = SaveFilesTogether(programFolder, files); !saved) return NotMoved(saved.error);

    ClubChangeResult result;
    result.moved = true;
    return result;
}

} // namespace plumet
