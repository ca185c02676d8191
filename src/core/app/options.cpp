#include "core/app/options.h"

#include <system_error>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/app/optionscolumns.h"

namespace plumet {

std::string Settings::RegionNumber() const { return Field(region, RegionColumn::Number); }
std::string Settings::RegionName() const { return Field(region, RegionColumn::Name); }
std::string Settings::FederationNumber() const { return Field(federation, FederationColumn::Number); }
std::string Settings::FederationName() const { return Field(federation, FederationColumn::Name); }

float ScaleFactorOf(const std::string& sizeChoice) {
    if (sizeChoice == "2") return 1.3F;
    if (sizeChoice == "3") return 1.5F;
    return 1.0F;
}

std::vector<WindowSize> WindowSizesToTry(float factor, const std::string& sizeChoice) {
    std::vector<WindowSize> sizes{{factor, sizeChoice}};
    for (const char* choice : {"3", "2", "1"})
        if (ScaleFactorOf(choice) < factor) sizes.push_back({ScaleFactorOf(choice), choice});
    return sizes;
}

std::vector<std::string> EnsureDataFolders(const Path& programFolder) {
    std::vector<std::string> failed;
    for (const char* name : kDataFolders) {
        const Path entry = ResolvePath(programFolder, name);
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(entry, ec))) continue;
        if (!std::filesystem::create_directory(entry, ec) || ec) failed.emplace_back(name);
    }
    return failed;
}

namespace {

constexpr const char* kShowRaceEvaluationKey = "ShowRaceEvaluation";
constexpr const char* kShowTerminalProgramLoadKey = "ShowTerminalProgramLoad";

// "key=1" shows; any other value, a missing line or a missing file keeps the menus hidden.
void ReadProgramOptions(const Path& programFolder, Settings& settings) {
    const FileContent content = ReadWholeFile(ResolvePath(programFolder, kProgramOptionsFileName));
    if (content.status != ReadStatus::Ok) return;
    for (const std::string& line : SplitLines(content.bytes)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        const bool on = line.substr(eq + 1) == "1";
        if (key == kShowRaceEvaluationKey) settings.showRaceEvaluation = on;
        else if (key == kShowTerminalProgramLoadKey) settings.showTerminalProgramLoad = on;
    }
}

std::vector<std::string> ProgramOptionLines(const Settings& settings) {
    return {std::string(kShowRaceEvaluationKey) + "=" + (settings.showRaceEvaluation ? "1" : "0"),
            std::string(kShowTerminalProgramLoadKey) + "=" + (settings.showTerminalProgramLoad ? "1" : "0")};
}

// The line's number field is whole and all digits.
bool HasNumber(const std::string& line, Column number) {
    const std::string digits = Field(line, number);
    return digits.size() == number.width() && IsAllDigits(digits);
}

std::string Unusable(const std::string& why) { return CatalogueText("Options.Unusable", {kOptionsFileName, why}); }

// Why the four lines are no settings, or "".
std::string LinesDamage(const std::vector<std::string>& lines) {
    if (lines.size() < 4) return Unusable(CatalogueText("Options.TooFewLines"));
    for (std::size_t i = 0; i < 4; ++i)
        if (lines[i].size() > kOptionsLineLimit) return Unusable(ReasonText({FileReason::LineTooLong, i + 1, {}}));
    const std::vector<std::string> used(lines.begin(), lines.begin() + 4);
    if (const auto line = LineWithControlByte(used)) return Unusable(ReasonText({FileReason::ControlBytes, *line, {}}));
    if (!HasNumber(lines[0], RegionColumn::Number)) return Unusable(CatalogueText("Options.NoRegionNumber"));
    if (!HasNumber(lines[1], FederationColumn::Code)) return Unusable(CatalogueText("Options.NoFederationNumber"));
    return {};
}

} // namespace

Settings ReadOptions(const Path& programFolder) {
    Settings settings;
    ReadProgramOptions(programFolder, settings);
    const FileContent content = ReadWholeFile(ResolvePath(programFolder, kOptionsFileName));
    if (content.status == ReadStatus::Missing) return settings;
    if (content.status != ReadStatus::Ok) {
        settings.damage = Unusable(ReasonText(content.problem));
        return settings;
    }
    const std::vector<std::string> lines = SplitLines(content.bytes);
    settings.damage = LinesDamage(lines);
    if (!settings.damage.empty()) return settings;
    settings.region = lines[0];
    settings.federation = lines[1];
    settings.comPort = lines[2];
    settings.sizeChoice = lines[3];
    settings.scaleFactor = ScaleFactorOf(settings.sizeChoice);
    return settings;
}

std::string SettingsProblem(const Settings& settings) {
    if (!settings.damage.empty()) return settings.damage;
    if (!HasNumber(settings.region, RegionColumn::Number)) return Unusable(CatalogueText("Options.NoRegionNumber"));
    if (!HasNumber(settings.federation, FederationColumn::Code))
        return Unusable(CatalogueText("Options.NoFederationNumber"));
    return {};
}

SaveResult WriteOptions(const Path& programFolder, const Settings& settings) {
    return SaveFilesTogether(
        programFolder,
        {{ResolvePath(programFolder, kOptionsFileName),
          JoinLinesCrLf({settings.region, settings.federation, settings.comPort, settings.sizeChoice})},
         {ResolvePath(programFolder, kProgramOptionsFileName), JoinLinesCrLf(ProgramOptionLines(settings))}});
}

bool SettingsFieldsValid(const std::string& regionNumber, const std::string& regionName,
                         const std::string& federationNumber, const std::string& federationName) {
    if (regionNumber.empty() || regionName.empty() || federationNumber.empty() || federationName.empty())
        return false;
    const auto region = ParseInteger(regionNumber);
    const auto federation = ParseInteger(federationNumber);
    return region && federation && *region >= 0 && *region <= 255 && *federation >= 0 && *federation <= 99;
}

} // namespace plumet
