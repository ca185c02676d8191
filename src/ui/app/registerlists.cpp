#include "ui/app/registerlists.h"

#include "core/registers/clubs.h"
#include "core/registers/fanciers.h"
#include "core/registers/pigeons.h"
#include "core/releasepoints/releasepoints.h"

namespace plumet::ui {

std::vector<ListEntry> ClubListEntries(const Path& programFolder) {
    ClubTable table;
    LoadClubs(table, ClubFilePath(programFolder));
    return plumet::ClubListEntries(table);
}

std::vector<ListEntry> FancierListEntries(const Path& programFolder, const std::string& club) {
    FancierTable table;
    LoadFanciers(table, FancierFilePath(programFolder, club));
    return plumet::FancierListEntries(table);
}

std::vector<ListEntry> PigeonListEntries(const Path& programFolder, const std::string& club,
                                         const std::string& fancier) {
    PigeonTable table;
    LoadPigeons(table, PigeonFilePath(programFolder, club, fancier));
    return plumet::PigeonListEntries(table);
}

std::vector<ListEntry> RacePointListEntries(const Path& programFolder, std::string& problem) {
    RacePointTable table;
    const RacePointsLoad loaded = LoadRacePoints(table, RacePointFilePath(programFolder));
    problem = loaded.outcome == LoadOutcome::Unreadable ? loaded.problem : std::string();
    return plumet::RacePointListEntries(table);
}

} // namespace plumet::ui
