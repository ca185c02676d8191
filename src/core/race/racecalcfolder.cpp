#include "race/racecalcfolder.h"

#include <string>
#include <system_error>

#include "app/catalogue.h"

namespace plumet {

Path RaceCalcPath(const Path& programFolder, std::string_view fileName) {
    return ResolvePath(programFolder, std::string(kRaceCalcFolder) + "\\" + std::string(fileName));
}

SaveResult SaveRaceCalcLines(const Path& target, const std::vector<std::string>& lines) {
    std::error_code ec;
    const Path folder = target.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            const FileProblem problem = ProblemOfCode(ec);
            return SaveFailed(CatalogueText("Files.CannotWrite", {PathText(target), ReasonText(problem)}), problem.reason);
        }
    }
    return SaveLines(target, lines);
}

bool RemoveRaceCalcFile(const Path& file) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
    return !std::filesystem::exists(file, ec);
}

} // namespace plumet
