#include "app/registerlists.h"

#include "app/fixedwidth.h"
#include "registers/registertable.h"

namespace plumet::ui {
namespace {

struct NumberedTraits : ThreeDigitKeyTraits {
    static constexpr std::size_t kCapacity = 250;
};

std::vector<std::string> NumberedLines(const Path& file, std::size_t nameEnd) {
    RegisterTable<NumberedTraits> table;
    table.Load(file);
    std::vector<std::string> lines;
    for (const auto& record : table.Records()) lines.push_back(Mid(record, 1, 3) + ":     " + Mid(record, 4, nameEnd));
    return lines;
}

} // namespace

std::vector<std::string> ClubListLines(const Path& programFolder) {
    return NumberedLines(ResolvePath(programFolder, "club\\club.dat"), 33);
}

std::vector<std::string> FancierListLines(const Path& programFolder, const std::string& club) {
    return NumberedLines(ResolvePath(programFolder, "fancier\\f" + club + ".DAT"), 23);
}

std::vector<std::string> PigeonListLines(const Path&, const std::string&, const std::string&) { return {}; }

std::vector<std::string> RacePointListLines(const Path&) { return {}; }

} // namespace plumet::ui
