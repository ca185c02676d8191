#include "core/exchange/loftexchange.h"

#include <unordered_map>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/registers/clubs.h"
#include "core/registers/fanciers.h"

namespace plumet {
namespace {

// One loft's pigeon lines; a later group of the same loft takes their place.
struct LoftGroup {
    std::string key; // club number + fancier number
    std::string clubNumber;
    std::string fancierNumber;
    std::vector<std::string> records;
};

// Whether the line reaches into the field, so an older, shorter line is told from a blank one.
bool Reaches(std::string_view line, Column column) { return line.size() >= column.first; }

} // namespace

std::string LoftLine(std::string_view clubNumber, std::string_view fancierNumber, std::string_view pigeonRecord) {
    std::string line;
    SetField(line, LoftLineColumn::Kind, "0");
    SetField(line, LoftLineColumn::ClubNumber, clubNumber);
    SetField(line, LoftLineColumn::FancierNumber, fancierNumber);
    SetField(line, LoftLineColumn::PigeonRecord, pigeonRecord);
    return line;
}

std::string PigeonRecordOfLoftLine(std::string_view line) {
    using namespace LoftLineColumn;
    const std::string chip = Reaches(line, ChipCode) ? Field(line, ChipCode) : std::string(kNoChipCode);
    const std::string colour = Reaches(line, Colour) ? Field(line, Colour) : std::string();
    const std::string format = Reaches(line, RingFormat) ? Field(line, RingFormat) : RingFormatText(0);
    return CompletePigeonRecord(Field(line, Ring), chip, colour, format);
}

ExchangeOutcome BuildLoftExchange(const Path& programFolder, const Settings& settings) {
    const Path file = ExchangeFilePath(programFolder, ExchangeKind::Loft, settings);
    ClubTable clubs;
    const Path clubFile = ClubFilePath(programFolder);
    LoadClubs(clubs, clubFile);
    if (clubs.LastLoad() == LoadOutcome::Unreadable) return UnreadableRegister(clubFile, clubs.LoadProblem());

    const FolderIndex fancierFolder(programFolder, "fancier");
    const FolderIndex pigeonFolder(programFolder, "pigeon");
    std::vector<std::string> lines;
    FancierTable fanciers;
    PigeonTable pigeons;
    for (const auto& club : clubs.Records()) {
        const std::string clubNumber = ClubNumberOf(club);
        const Path fancierFile = fancierFolder.Resolve(FancierFileName(clubNumber));
        LoadFanciers(fanciers, fancierFile);
        if (fanciers.LastLoad() == LoadOutcome::Unreadable) return UnreadableRegister(fancierFile, fanciers.LoadProblem());
        for (const auto& fancier : fanciers.Records()) {
            const std::string fancierNumber = FancierNumberOf(fancier);
            const Path pigeonFile = pigeonFolder.Resolve(PigeonFileName(clubNumber, fancierNumber));
            LoadPigeons(pigeons, pigeonFile);
            if (pigeons.LastLoad() == LoadOutcome::Unreadable) return UnreadableRegister(pigeonFile, pigeons.LoadProblem());
            for (const auto& pigeon : pigeons.Records()) {
                // Collecting millions of lines only to refuse them would cost memory for nothing.
                if (lines.size() > kLoftExchangeLineLimit) return WriteExchangeFile(file, lines, kLoftExchangeLineLimit);
                lines.push_back(LoftLine(clubNumber, fancierNumber, pigeon));
            }
        }
    }
    return WriteExchangeFile(file, lines, kLoftExchangeLineLimit);
}

ExchangeOutcome ReadLoftExchange(const Path& programFolder, const Settings& settings, const SexCharacters& sexes) {
    const Path file = ExchangeFilePath(programFolder, ExchangeKind::Loft, settings);
    ExchangeLines read = ReadExchangeLines(file, kLoftExchangeLineLimit);
    if (!read.refused.Ok()) return read.refused;

    std::vector<LoftGroup> groups; // in the order the lofts first appear
    std::unordered_map<std::string, std::size_t> groupOf;
    LoftGroup* current = nullptr;
    for (const ExchangeLine& line : read.lines) {
        const std::string& text = line.text;
        std::string key = Field(text, LoftLineColumn::Loft);
        if (text.front() != '0')
            return RefusedAt(ExchangeProblem::BadLine, line, file,
                             CatalogueText("Exchange.NotPigeonLine", {std::string(1, text.front())}));
        if (text.size() < kLoftExchangeLineMinLength || text.size() > kLoftExchangeLineLength)
            return RefusedAt(ExchangeProblem::BadLine, line, file,
                             LineLengthWhy("Exchange.PigeonLineLength", text.size(), kLoftExchangeLineMinLength,
                                           kLoftExchangeLineLength));
        if (!IsAllDigits(key))
            return RefusedAt(ExchangeProblem::BadLine, line, file, CatalogueText("Exchange.LoftNumbers", {key}));
        if (!current || current->key != key) {
            const auto [slot, added] = groupOf.emplace(key, groups.size());
            if (added)
                groups.push_back(
                    {key, Field(text, LoftLineColumn::ClubNumber), Field(text, LoftLineColumn::FancierNumber), {}});
            current = &groups[slot->second];
            current->records.clear();
        }
        if (current->records.size() >= kPigeonCapacity)
            return RefusedAt(ExchangeProblem::RegisterFull, line, file,
                             CatalogueText("Exchange.TooManyPigeons", {key, std::to_string(kPigeonCapacity)}));
        current->records.push_back(PigeonRecordOfLoftLine(text));
    }

    std::vector<FileToSave> files;
    files.reserve(groups.size());
    const FolderIndex pigeonFolder(programFolder, "pigeon");
    for (auto& group : groups) {
        PigeonTable pigeons;
        for (auto& record : group.records) InsertPigeon(pigeons, std::move(record), sexes);
        const std::string name = PigeonFileName(group.clubNumber, group.fancierNumber);
        FileToSave loft{pigeonFolder.Resolve(name), JoinLinesCrLf(pigeons.FileLines())};
        // A loft whose file holds these very pigeons is left alone: the weekly file of a
        // federation changes few lofts, and replacing thousands of files costs seconds.
        if (pigeonFolder.Holds(name)) {
            const FileContent now = ReadWholeFile(loft.target);
            if (now.status == ReadStatus::Ok && now.bytes == loft.bytes) continue;
        }
        files.push_back(std::move(loft));
    }
    return ReplaceRegisterFiles(programFolder, files, read.lines.size());
}

} // namespace plumet
