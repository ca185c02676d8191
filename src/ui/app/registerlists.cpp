#include "ui/app/registerlists.h"

#include "core/registers/clubs.h"
#include "core/registers/fanciers.h"
#include "core/registers/pigeons.h"
#include "core/releasepoints/releasepoints.h"

namespace plumet::ui {

std::vector<std::string> ClubListLines(const Path& programFolder) {
    ClubTable table;
    LoadClubs(table, ClubFilePath(programFolder));
    return plumet::ClubListLines(table);
}

std::vector<std::string> FancierListLines(const Path& programFolder, const std::string& club) {
    FancierTable table;
    LoadFanciers(table, FancierFilePath(programFolder, club));
    return plumet::FancierListLines(table);
}

std::vector<std::string> PigeonListLines(const Path& programFolder, const std::string& club, const std::string& fancier) {
    PigeonTable table;
    LoadPigeons(table, PigeonFilePath(programFolder, club, fancier));
    return plumet::PigeonListLines(table);
}

std::vector<std::string> RacePointListLines(const Path& programFolder, std::string& problem) {
    RacePointTable table;
    const RacePointsLoad loaded = LoadRacePoints(table, RacePointFilePath(programFolder));
    problem = loaded.outcome == LoadOutcome::Unreadable ? loaded.problem : std::string();
    return plumet::RacePointListLines(table);
}

} // namespace plumet::ui
