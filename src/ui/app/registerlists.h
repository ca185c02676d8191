#pragma once
// The entries of the main window's list for each register, read from the program folder.
#include <string>
#include <vector>

#include "core/app/files.h"
#include "core/records/listposition.h"

namespace plumet::ui {

std::vector<ListEntry> ClubListEntries(const Path& programFolder);
std::vector<ListEntry> FancierListEntries(const Path& programFolder, const std::string& club);
std::vector<ListEntry> PigeonListEntries(const Path& programFolder, const std::string& club,
                                         const std::string& fancier);
// `problem` gets why the release point register cannot be read ("" when it can).
std::vector<ListEntry> RacePointListEntries(const Path& programFolder, std::string& problem);

} // namespace plumet::ui
