#include "core/exchange/fancierexchange.h"

#include <optional>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/registers/clubs.h"
#include "core/registers/fanciers.h"

namespace plumet {
namespace {

constexpr std::size_t kMinClubLineLength = ClubLineColumn::ClubNumber.last;
constexpr std::size_t kMinFancierLineLength = FancierLineColumn::FancierNumber.last;

// The name goes as the options file holds it, without blanks added.
std::string SettingLine(char kind, const std::string& numberField, const std::string& name) {
    std::string line;
    SetField(line, SettingLineColumn::Kind, std::string(1, kind));
    SetField(line, SettingLineColumn::Number, numberField);
    line.resize(SettingLineColumn::Name.first - 1, ' ');
    return line + name;
}

// Region and federation lines: the kind, this installation's number, a name of up to 30.
std::optional<ExchangeOutcome> CheckSettingLine(const ExchangeLine* line, char kind, const std::string& numberField,
                                                ExchangeProblem wrong, const Path& file, const char* wrongKey,
                                                const char* kindKey) {
    if (!line || line->text.front() != kind || Field(line->text, SettingLineColumn::Number) != numberField) {
        ExchangeOutcome outcome;
        outcome.problem = wrong;
        outcome.line = line ? line->number : 0;
        outcome.error = CatalogueText(wrongKey, {PathText(file), TrimBlanks(numberField), std::string(1, kind) + numberField});
        return outcome;
    }
    if (line->text.size() > kRegionLineMaxLength)
        return RefusedAt(ExchangeProblem::BadLine, *line, file,
                         LineLengthWhy(kindKey, line->text.size(), 1 + numberField.size(), kRegionLineMaxLength));
    return std::nullopt;
}

// The fanciers of one club as the file lists them after the club's line.
struct ClubGroup {
    std::string clubNumber;
    FancierTable fanciers;
};

} // namespace

std::string RegionLine(const Settings& settings) {
    return SettingLine('1', RegionNumberField(settings), settings.RegionName());
}

std::string FederationLine(const Settings& settings) {
    return SettingLine('2', FederationNumberField(settings), settings.FederationName());
}

std::string ClubLine(std::string_view clubRecord) {
    std::string line;
    SetField(line, ClubLineColumn::Kind, "3");
    SetField(line, ClubLineColumn::ClubNumber, ClubNumberOf(clubRecord));
    SetField(line, ClubLineColumn::Name, ClubNameOf(clubRecord));
    SetField(line, ClubLineColumn::Note, ClubNoteOf(clubRecord));
    return line;
}

std::string FancierLine(std::string_view clubNumber, std::string_view fancierRecord) {
    std::string line;
    SetField(line, FancierLineColumn::Kind, "4");
    SetField(line, FancierLineColumn::ClubNumber, clubNumber);
    SetField(line, FancierLineColumn::FancierRecord, fancierRecord);
    return line;
}

ExchangeOutcome BuildFancierExchange(const Path& programFolder, const Settings& settings) {
    std::vector<std::string> lines = {RegionLine(settings), FederationLine(settings)};
    ClubTable clubs;
    const Path clubFile = ClubFilePath(programFolder);
    LoadClubs(clubs, clubFile);
    if (clubs.LastLoad() == LoadOutcome::Unreadable) return UnreadableRegister(clubFile, clubs.LoadProblem());

    const FolderIndex fancierFolder(programFolder, "fancier");
    for (const auto& club : clubs.Records()) {
        lines.push_back(ClubLine(club));
        const std::string number = ClubNumberOf(club);
        FancierTable fanciers;
        const Path fancierFile = fancierFolder.Resolve(FancierFileName(number));
        LoadFanciers(fanciers, fancierFile);
        if (fanciers.LastLoad() == LoadOutcome::Unreadable) return UnreadableRegister(fancierFile, fanciers.LoadProblem());
        for (const auto& fancier : fanciers.Records()) lines.push_back(FancierLine(number, fancier));
    }
    return WriteExchangeFile(ExchangeFilePath(programFolder, ExchangeKind::Fancier, settings), lines,
                             kFancierExchangeLineLimit);
}

ExchangeOutcome ReadFancierExchange(const Path& programFolder, const Settings& settings) {
    const Path file = ExchangeFilePath(programFolder, ExchangeKind::Fancier, settings);
    ExchangeLines read = ReadExchangeLines(file, kFancierExchangeLineLimit);
    if (!read.refused.Ok()) return read.refused;
    const auto& lines = read.lines;

    const ExchangeLine* first = lines.size() > 0 ? &lines[0] : nullptr;
    const ExchangeLine* second = lines.size() > 1 ? &lines[1] : nullptr;
    if (auto refused = CheckSettingLine(first, '1', RegionNumberField(settings), ExchangeProblem::WrongRegion, file,
                                        "Exchange.WrongRegion", "Exchange.RegionLineLength"))
        return *refused;
    if (auto refused = CheckSettingLine(second, '2', FederationNumberField(settings),
                                        ExchangeProblem::WrongFederation, file, "Exchange.WrongFederation",
                                        "Exchange.FederationLineLength"))
        return *refused;

    // Everything is checked and laid out in memory before the first file is written.
    ClubTable clubs;
    std::vector<ClubGroup> groups;        // clubs with fanciers, in file order
    std::optional<ClubGroup> current;
    const auto closeGroup = [&] {
        if (current && current->fanciers.Count() != 0) groups.push_back(std::move(*current));
    };

    for (std::size_t i = 2; i < lines.size(); ++i) {
        const ExchangeLine& line = lines[i];
        const std::string& text = line.text;
        if (text.front() == '3') {
            const std::string number = Field(text, ClubLineColumn::ClubNumber);
            if (text.size() < kMinClubLineLength || text.size() > kClubLineLength)
                return RefusedAt(ExchangeProblem::BadLine, line, file,
                                 LineLengthWhy("Exchange.ClubLineLength", text.size(), kMinClubLineLength, kClubLineLength));
            if (!IsAllDigits(number))
                return RefusedAt(ExchangeProblem::BadLine, line, file, CatalogueText("Exchange.ClubNumber", {number}));
            if (clubs.Full())
                return RefusedAt(ExchangeProblem::RegisterFull, line, file,
                                 CatalogueText("Exchange.TooManyClubs", {std::to_string(ClubTable::kCapacity)}));
            if (FindClub(clubs, number) != 0)
                return RefusedAt(ExchangeProblem::BadLine, line, file,
                                 CatalogueText("frmFancierdataRead.txtClubTwice", {number}));
            closeGroup();
            std::string record;
            SetField(record, ClubColumn::Number, number);
            SetField(record, ClubColumn::Name, Field(text, ClubLineColumn::Name));
            SetField(record, ClubColumn::Note, Field(text, ClubLineColumn::Note));
            InsertClub(clubs, std::move(record));
            current = ClubGroup{number, {}};
        } else if (text.front() == '4') {
            if (text.size() < kMinFancierLineLength || text.size() > kFancierLineLength)
                return RefusedAt(ExchangeProblem::BadLine, line, file,
                                 LineLengthWhy("Exchange.FancierLineLength", text.size(), kMinFancierLineLength,
                                               kFancierLineLength));
            if (!current)
                return RefusedAt(ExchangeProblem::BadLine, line, file, CatalogueText("Exchange.FancierBeforeClub"));
            const std::string clubNumber = Field(text, FancierLineColumn::ClubNumber);
            const std::string fancierNumber = Field(text, FancierLineColumn::FancierNumber);
            if (clubNumber != current->clubNumber)
                return RefusedAt(ExchangeProblem::BadLine, line, file,
                                 CatalogueText("Exchange.FancierOfOtherClub", {clubNumber, current->clubNumber}));
            if (!IsAllDigits(fancierNumber))
                return RefusedAt(ExchangeProblem::BadLine, line, file,
                                 CatalogueText("Exchange.FancierNumber", {fancierNumber}));
            if (current->fanciers.Full())
                return RefusedAt(ExchangeProblem::RegisterFull, line, file,
                                 CatalogueText("Exchange.TooManyFanciers",
                                               {current->clubNumber, std::to_string(FancierTable::kCapacity)}));
            const std::string record =
                PadRight(Field(text, FancierLineColumn::FancierRecord), FancierColumn::kRecordWidth);
            if (FindFancier(current->fanciers, record) != 0)
                return RefusedAt(ExchangeProblem::BadLine, line, file,
                                 CatalogueText("frmFancierdataRead.txtFancierTwice",
                                               {FancierNumberOf(record), current->clubNumber}));
            InsertFancier(current->fanciers, record);
        } else {
            return RefusedAt(ExchangeProblem::BadLine, line, file,
                             CatalogueText("Exchange.UnknownLine", {std::string(1, text.front())}));
        }
    }
    closeGroup();

    // The fancier files first and the club register last, so the clubs the main window lists
    // change only once their fanciers are in place.
    std::vector<FileToSave> files;
    files.reserve(groups.size() + 1);
    const FolderIndex fancierFolder(programFolder, "fancier");
    for (const auto& group : groups)
        files.push_back({fancierFolder.Resolve(FancierFileName(group.clubNumber)),
                         JoinLinesCrLf(group.fanciers.FileLines())});
    files.push_back({ClubFilePath(programFolder), JoinLinesCrLf(clubs.FileLines())});
    return ReplaceRegisterFiles(programFolder, files, lines.size());
}

} // namespace plumet
