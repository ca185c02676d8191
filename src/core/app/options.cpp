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
constexpr const char* kLimitKeys[] = {"CheckClockDeviation", "CheckSlowestSpeed", "CheckFastestSpeed"};

int* LimitOf(CheckLimits& limits, const std::string& key) {
    int* const targets[] = {&limits.clockDeviation, &limits.slowestSpeed, &limits.fastestSpeed};
    for (std::size_t i = 0; i < std::size(kLimitKeys); ++i)
        if (key == kLimitKeys[i]) return targets[i];
    return nullptr;
}

// The limits the lines give, the defaults for those they leave out.
CheckLimits LimitsOfLines(const std::vector<std::string>& lines) {
    CheckLimits limits;
    for (const std::string& line : lines) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const auto value = ParseInteger(line.substr(eq + 1));
        int* target = LimitOf(limits, line.substr(0, eq));
        if (target && value && *value <= kLargestCheckLimit) *target = static_cast<int>(*value);
    }
    return limits;
}

// The file as read: its lines, and why it cannot be used ("" when it is sound or missing).
struct ProgramOptionsFile {
    Path path;
    ReadStatus status = ReadStatus::Missing;
    std::vector<std::string> lines;
    std::string reason; // why it cannot be used, or ""
    std::string damage; // … as the start reports it
};

bool IsMenuKey(const std::string& key) { return key == kShowRaceEvaluationKey || key == kShowTerminalProgramLoadKey; }
bool IsOwnKey(const std::string& key) {
    CheckLimits limits;
    return IsMenuKey(key) || LimitOf(limits, key) != nullptr;
}

// Why the lines are no settings, or "".
std::string ProgramLinesDamage(const std::vector<std::string>& lines) {
    if (const auto line = LineWithControlByte(lines)) return ReasonText({FileReason::ControlBytes, *line, {}});
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const std::size_t eq = lines[i].find('=');
        const std::string key = lines[i].substr(0, eq), number = std::to_string(i + 1);
        if (eq == std::string::npos) return CatalogueText("Options.NoEquals", {number});
        if (IsMenuKey(key) && lines[i].substr(eq + 1) != "0" && lines[i].substr(eq + 1) != "1")
            return CatalogueText("Options.NotZeroOrOne", {number, key});
        CheckLimits limits;
        const std::string value = lines[i].substr(eq + 1);
        if (LimitOf(limits, key) && (value.empty() || value.size() > 5 || !IsAllDigits(value) || std::stoi(value) < 1))
            return CatalogueText("Options.NotALimit", {number, key, std::to_string(kLargestCheckLimit)});
    }
    if (const std::string problem = CheckLimitsProblem(LimitsOfLines(lines)); !problem.empty()) return problem;
    return {};
}

// "key=0" or "key=1" for the menus; other keys belong to someone else and are kept.
ProgramOptionsFile ReadProgramOptionsFile(const Path& programFolder) {
    ProgramOptionsFile file;
    file.path = ResolvePath(programFolder, kProgramOptionsFileName);
    const FileContent content = ReadWholeFile(file.path);
    file.status = content.status;
    if (content.status == ReadStatus::Unreadable) file.reason = ReasonText(content.problem);
    if (content.status == ReadStatus::Ok) {
        file.lines = SplitLines(content.bytes);
        file.reason = ProgramLinesDamage(file.lines);
    }
    if (!file.reason.empty()) file.damage = CatalogueText("Options.ProgramUnusable", {kProgramOptionsFileName, file.reason});
    return file;
}

// A damaged file keeps the menus hidden: nothing of it is used.
void ReadProgramOptions(const Path& programFolder, Settings& settings) {
    const ProgramOptionsFile file = ReadProgramOptionsFile(programFolder);
    settings.programOptionsDamage = file.damage;
    if (!file.damage.empty()) return;
    for (const std::string& line : file.lines) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue; // an empty line
        const bool on = line.substr(eq + 1) == "1";
        if (line.substr(0, eq) == kShowRaceEvaluationKey) settings.showRaceEvaluation = on;
        else if (line.substr(0, eq) == kShowTerminalProgramLoadKey) settings.showTerminalProgramLoad = on;
    }
    settings.checkLimits = LimitsOfLines(file.lines);
}

// The menus' lines first, then every other key's line as it was; empty lines and damaged
// ones, already reported, go.
std::vector<std::string> ProgramOptionLines(const Settings& settings, const ProgramOptionsFile& file) {
    std::vector<std::string> lines{
        std::string(kShowRaceEvaluationKey) + "=" + (settings.showRaceEvaluation ? "1" : "0"),
        std::string(kShowTerminalProgramLoadKey) + "=" + (settings.showTerminalProgramLoad ? "1" : "0")};
    // Limits at their defaults get no line, so a file written before there were limits stays as it was.
    CheckLimits limits = settings.checkLimits, defaults;
    for (const char* key : kLimitKeys)
        if (const int value = *LimitOf(limits, key); value != *LimitOf(defaults, key))
            lines.push_back(std::string(key) + "=" + std::to_string(value));
    for (const std::string& line : file.lines) {
        const std::size_t eq = line.find('=');
        const bool sound = eq != std::string::npos && !LineWithControlByte({line});
        if (sound && !IsOwnKey(line.substr(0, eq))) lines.push_back(line);
    }
    return lines;
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
    const ProgramOptionsFile file = ReadProgramOptionsFile(programFolder);
    // Only what was reported may be replaced: a file that cannot be read, or that has gone
    // bad since, is kept for someone to look at.
    if (file.status == ReadStatus::Unreadable || (!file.damage.empty() && file.damage != settings.programOptionsDamage))
        return SaveFailed(CatalogueText("Options.ProgramKept", {kProgramOptionsFileName, file.reason}));
    return SaveFilesTogether(
        programFolder,
        {{ResolvePath(programFolder, kOptionsFileName),
          JoinLinesCrLf({settings.region, settings.federation, settings.comPort, settings.sizeChoice})},
         {file.path, JoinLinesCrLf(ProgramOptionLines(settings, file))}});
}

std::string CheckLimitsProblem(const CheckLimits& limits) {
    for (const int value : {limits.clockDeviation, limits.slowestSpeed, limits.fastestSpeed})
        if (value < 1 || value > kLargestCheckLimit)
            return CatalogueText("Options.LimitOutOfRange", {std::to_string(value), std::to_string(kLargestCheckLimit)});
    if (limits.slowestSpeed >= limits.fastestSpeed)
        return CatalogueText("Options.SpeedBandEmpty",
                             {std::to_string(limits.slowestSpeed), std::to_string(limits.fastestSpeed)});
    return {};
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
