#include "core/race/racecalcfolder.h"

#include <string>
#include <system_error>

#include "core/app/catalogue.h"

namespace plumet {

Path RaceCalcPath(const Path& programFolder, std::string_view fileName) {
    return ResolvePath(programFolder, std::string(kRaceCalcFolder) + "\\" + std::string(fileName));
}

SaveResult SaveRaceCalcLines(const Path& target, const std::vector<std::string>& lines) {
    std::error_code ec;
    const Path folder = target.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        if (ec) return SaveFailed(CatalogueText("Files.CannotCreateFolder", {PathText(folder), ReasonText(ProblemOfCode(ec))}),
                                  ProblemOfCode(ec).reason);
    }
    return SaveLines(target, lines);
}

SaveResult RemoveRaceCalcFile(const Path& file) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
    std::error_code gone;
    if (!std::filesystem::exists(file, gone)) return {};
    const FileProblem problem = ec ? ProblemOfCode(ec) : FileProblem{FileReason::Other, 0, {}};
    return SaveFailed(CatalogueText("Files.CannotDelete", {PathText(file), ReasonText(problem)}), problem.reason);
}

} // namespace plumet
