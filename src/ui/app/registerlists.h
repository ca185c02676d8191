#pragma once
// The lines of the main window's list for each register, read from the program folder.
#include <string>
#include <vector>

#include "core/app/files.h"

namespace plumet::ui {

std::vector<std::string> ClubListLines(const Path& programFolder);
std::vector<std::string> FancierListLines(const Path& programFolder, const std::string& club);
std::vector<std::string> PigeonListLines(const Path& programFolder, const std::string& club, const std::string& fancier);
// `problem` gets why the release point register cannot be read ("" when it can).
std::vector<std::string> RacePointListLines(const Path& programFolder, std::string& problem);

} // namespace plumet::ui
