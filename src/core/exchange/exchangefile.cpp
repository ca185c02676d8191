#include "core/exchange/exchangefile.h"

#include <optional>
#include <system_error>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/app/optionscolumns.h"
#include "core/exchange/fancierexchange.h"
#include "core/exchange/loftexchange.h"

namespace plumet {
namespace {

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

std::size_t ExchangeLineLimit(ExchangeKind kind) {
    return kind == ExchangeKind::Fancier ? kFancierExchangeLineLimit : kLoftExchangeLineLimit;
}

std::string RegionNumberField(const Settings& settings) {
    return PadRight(Field(settings.region, RegionColumn::Number), RegionColumn::Number.width());
}
std::string FederationNumberField(const Settings& settings) {
    return PadRight(Field(settings.federation, FederationColumn::Code), FederationColumn::Code.width());
}

std::string ExchangeFileName(ExchangeKind kind, const Settings& settings) {
    return std::string(kind == ExchangeKind::Fancier ? "S" : "T") + RegionNumberField(settings) +
           FederationNumberField(settings) + ".d00";
}

Path ExchangeFilePath(const Path& programFolder, ExchangeKind kind, const Settings& settings) {
    return ResolvePath(programFolder, "exchange\\" + ExchangeFileName(kind, settings));
}

bool ExchangeOutcome::FileRefused() const {
    switch (problem) {
    case ExchangeProblem::FileMissing:
    case ExchangeProblem::FileUnreadable:
    case ExchangeProblem::WrongRegion:
    case ExchangeProblem::WrongFederation: return true;
    case ExchangeProblem::BadLine:
    case ExchangeProblem::TooManyLines:
    case ExchangeProblem::RegisterFull:
    case ExchangeProblem::None:
    case ExchangeProblem::RegisterUnreadable:
    case ExchangeProblem::WriteFailed:
    case ExchangeProblem::SettingsUnusable: return false;
    }
    return false;
}

namespace {

std::optional<ExchangeOutcome> UnusableSettings(const Settings& settings) {
    std::string problem = SettingsProblem(settings);
    if (problem.empty()) return std::nullopt;
    ExchangeOutcome outcome;
    outcome.problem = ExchangeProblem::SettingsUnusable;
    outcome.error = std::move(problem);
    return outcome;
}

} // namespace

ExchangeOutcome BuildExchange(ExchangeKind kind, const Path& programFolder, const Settings& settings) {
    if (auto refused = UnusableSettings(settings)) return *refused;
    return kind == ExchangeKind::Fancier ? BuildFancierExchange(programFolder, settings)
                                         : BuildLoftExchange(programFolder, settings);
}

ExchangeOutcome ReadExchange(ExchangeKind kind, const Path& programFolder, const Settings& settings,
                             const SexCharacters& sexes) {
    if (auto refused = UnusableSettings(settings)) return *refused;
    return kind == ExchangeKind::Fancier ? ReadFancierExchange(programFolder, settings)
                                         : ReadLoftExchange(programFolder, settings, sexes);
}

ExchangeLines ReadExchangeLines(const Path& file, std::size_t limit) {
    ExchangeLines result;
    const FileContent content = ReadWholeFile(file);
    if (content.status != ReadStatus::Ok) {
        const bool missing = content.status == ReadStatus::Missing;
        result.refused.problem = missing ? ExchangeProblem::FileMissing : ExchangeProblem::FileUnreadable;
        result.refused.error = missing ? CatalogueText("Exchange.Missing", {PathText(file)})
                                       : CannotReadText(file, content.problem);
        return result;
    }
    std::vector<std::string> lines = SplitLines(content.bytes);
    result.lines.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        if (LineWithControlByte({lines[i]})) {
            result.refused.problem = ExchangeProblem::BadLine;
            result.refused.line = i + 1;
            result.refused.error = CannotReadText(file, {FileReason::ControlBytes, i + 1, {}});
            result.lines.clear();
            return result;
        }
        if (result.lines.size() == limit) {
            result.refused.problem = ExchangeProblem::TooManyLines;
            result.refused.line = i + 1;
            result.refused.error = CatalogueText("Exchange.TooManyLines", {PathText(file), std::to_string(limit)});
            result.lines.clear();
            return result;
        }
        result.lines.push_back({i + 1, std::move(lines[i])});
    }
    return result;
}

ExchangeOutcome WriteExchangeFile(const Path& file, const std::vector<std::string>& lines, std::size_t limit) {
    ExchangeOutcome outcome;
    if (lines.size() > limit) {
        outcome.problem = ExchangeProblem::TooManyLines;
        outcome.error = CatalogueText("Exchange.WouldBeTooLong", {PathText(file), std::to_string(limit)});
        return outcome;
    }
    const SaveResult saved = SaveLines(file, lines);
    if (!saved) {
        outcome.problem = ExchangeProblem::WriteFailed;
        outcome.error = saved.error;
        return outcome;
    }
    outcome.lines = lines.size();
    return outcome;
}

ExchangeOutcome ReplaceRegisterFiles(const Path& programFolder, const std::vector<FileToSave>& files,
                                     std::size_t linesRead) {
    ExchangeOutcome outcome;
    const SaveResult saved = SaveFilesTogether(programFolder, files);
    if (!saved) {
        outcome.problem = ExchangeProblem::WriteFailed;
        outcome.error = saved.error;
        return outcome;
    }
    outcome.lines = linesRead;
    outcome.filesWritten = files.size();
    return outcome;
}

ExchangeOutcome RefusedAt(ExchangeProblem problem, const ExchangeLine& line, const Path& file, std::string_view why) {
    ExchangeOutcome outcome;
    outcome.problem = problem;
    outcome.line = line.number;
    outcome.error = CatalogueText("Exchange.LineRefused", {PathText(file), std::to_string(line.number), std::string(why)});
    return outcome;
}

std::string LineLengthWhy(const char* key, std::size_t length, std::size_t shortest, std::size_t longest) {
    return CatalogueText(key, {std::to_string(length), std::to_string(shortest), std::to_string(longest)});
}

FolderIndex::FolderIndex(const Path& programFolder, std::string_view folderName)
    : folder_(ResolvePath(programFolder, folderName)) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        byLowerName_.emplace(LowerAscii(name), name);
        names_.insert(std::move(name));
    }
}

Path FolderIndex::Resolve(const std::string& fileName) const {
    if (names_.count(fileName) != 0) return folder_ / fileName;
    const auto match = byLowerName_.find(LowerAscii(fileName));
    return folder_ / (match != byLowerName_.end() ? match->second : fileName);
}

bool FolderIndex::Holds(const std::string& fileName) const {
    return names_.count(fileName) != 0 || byLowerName_.count(LowerAscii(fileName)) != 0;
}

std::string FancierFileName(std::string_view clubNumber) { return "f" + std::string(clubNumber) + ".DAT"; }

std::string PigeonFileName(std::string_view clubNumber, std::string_view fancierNumber) {
    return "p" + std::string(clubNumber) + std::string(fancierNumber) + ".dat";
}

ExchangeOutcome UnreadableRegister(const Path& file, const FileProblem& problem) {
    ExchangeOutcome outcome;
    outcome.problem = ExchangeProblem::RegisterUnreadable;
    outcome.error = CannotReadText(file, problem);
    return outcome;
}

} // namespace plumet
