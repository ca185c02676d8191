#include "core/race/manualtimes.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "core/app/fixedwidth.h"
#include "core/race/racecalcfolder.h"
#include "core/clock/readoutcolumns.h"
#include "core/clock/readoutfile.h"
#include "core/registers/fanciers.h"
#include "core/registers/rings.h"

namespace plumet {
namespace {

// A number in its column; what does not fit becomes the largest that does.
void SetNumber(std::string& line, Column column, int value) {
    int largest = 1;
    for (std::size_t i = 0; i < column.width(); ++i) largest *= 10;
    SetField(line, column, ZeroPadded(std::clamp(value, 0, largest - 1), column.width()));
}

int NumberAt(std::string_view line, Column column) {
    return static_cast<int>(ParseInteger(Field(line, column)).value_or(0));
}

// The timer line's columns in the order of the timer values.
constexpr Column kTimerColumns[kTimerValueCount] = {
    ReadoutTimerColumn::BasketingDay, ReadoutTimerColumn::BasketingMonth, ReadoutTimerColumn::BasketingHour,
    ReadoutTimerColumn::BasketingMinute, ReadoutTimerColumn::BasketingSecond, ReadoutTimerColumn::ReadoutDay,
    ReadoutTimerColumn::ReadoutMonth, ReadoutTimerColumn::ReadoutHour, ReadoutTimerColumn::ReadoutMinute,
    ReadoutTimerColumn::ReadoutSecond, ReadoutTimerColumn::ClockHour, ReadoutTimerColumn::ClockMinute,
    ReadoutTimerColumn::ClockSecond,
};

// A line of `kind` for the club and fancier.
std::string LineOf(char kind, Column kindColumn, Column clubColumn, Column fancierColumn, int club,
                   std::string_view fancier) {
    std::string line;
    SetField(line, kindColumn, std::string_view(&kind, 1));
    SetNumber(line, clubColumn, club);
    SetField(line, fancierColumn, fancier);
    return line;
}

// trimmed name + "_wf" + three characters + ".man", letter case aside.
bool IsManualFileOf(std::string_view fileName, std::string_view trimmedName) {
    constexpr std::string_view kMark = "_wf", kExtension = ".man";
    const std::size_t length = trimmedName.size() + kMark.size() + 3 + kExtension.size();
    if (fileName.size() != length) return false;
    return EqualAnyCase(fileName.substr(0, trimmedName.size()), trimmedName) &&
           EqualAnyCase(fileName.substr(trimmedName.size(), kMark.size()), kMark) &&
           EqualAnyCase(fileName.substr(length - kExtension.size()), kExtension);
}

} // namespace

std::size_t ManualLoft::AddedCount() const {
    return static_cast<std::size_t>(
        std::count_if(pigeons.begin(), pigeons.end(), [](const ManualPigeon& p) { return p.added; }));
}

ManualLoft ManualLoftOf(std::string_view fancierRecord, const PigeonTable& pigeons) {
    ManualLoft loft;
    loft.fancierNumber = FancierNumberOf(fancierRecord);
    loft.fancierName = FancierNameOf(fancierRecord);
    loft.latitude = LoftLatitudeOf(fancierRecord);
    loft.longitude = LoftLongitudeOf(fancierRecord);
    for (const std::string& record : pigeons.Records()) loft.pigeons.push_back({record, false, {}});
    return loft;
}

Path ManualFilePath(const Path& programFolder, std::string_view raceName, std::string_view fancierNumber) {
    const std::string number = ZeroPadded(ParseInteger(fancierNumber).value_or(0), 3);
    return RaceCalcPath(programFolder, TrimBlanks(raceName) + "_wf" + number + ".man");
}

std::vector<Path> ManualFilesOfRace(const Path& programFolder, std::string_view raceName) {
    std::vector<Path> files;
    const std::string name = TrimBlanks(raceName);
    std::error_code ec;
    const Path folder = ResolvePath(programFolder, kRaceCalcFolder);
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        // Whatever stands under such a name is one of them: a folder or a pipe there is
        // refused when read, never skipped as if the loft had not been clocked.
        if (IsManualFileOf(NameOf(it->path()), name))
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> ManualFileLines(const Race& race, const ManualLoft& loft) {
    const std::string fancier =
        PadLeft(TrimBlanks(loft.fancierNumber), ReadoutFancierColumn::Fancier.width(), '0');
    std::vector<std::string> lines;

    std::string date;
    SetField(date, ReadoutDateColumn::Kind, std::string_view(&kDateLineKind, 1));
    SetNumber(date, ReadoutDateColumn::Day, race.day);
    SetNumber(date, ReadoutDateColumn::Month, race.month);
    SetNumber(date, ReadoutDateColumn::Year, ((race.year % 100) + 100) % 100);
    lines.push_back(date);

    namespace loftColumn = ReadoutFancierColumn;
    std::string loftLine = LineOf(kLoftLineKind, loftColumn::Kind, loftColumn::Club, loftColumn::Fancier,
                                  race.clubNumber, fancier);
    SetNumber(loftLine, loftColumn::ArrivalCount, static_cast<int>(loft.AddedCount() + loft.otherArrivalLines.size()));
    SetField(loftLine, loftColumn::Name, loft.fancierName);
    SetField(loftLine, loftColumn::Latitude, loft.latitude);
    SetField(loftLine, loftColumn::Longitude, loft.longitude);
    lines.push_back(loftLine);

    namespace timerColumn = ReadoutTimerColumn;
    std::string timer = LineOf(kTimerLineKind, timerColumn::Kind, timerColumn::Club, timerColumn::Fancier,
                               race.clubNumber, fancier);
    SetField(timer, timerColumn::Flag, "0");
    for (std::size_t v = 0; v < kTimerValueCount; ++v) SetNumber(timer, kTimerColumns[v], loft.timer[v]);
    lines.push_back(timer);

    namespace pigeonColumn = ReadoutPigeonColumn;
    for (const ManualPigeon& pigeon : loft.pigeons) {
        if (!pigeon.added) continue;
        const Arrival& at = pigeon.arrival;
        std::string line = LineOf(kArrivalLineKind, pigeonColumn::Kind, pigeonColumn::Club, pigeonColumn::Fancier,
                                  race.clubNumber, fancier);
        SetField(line, pigeonColumn::Ring, PigeonRing(pigeon.record));
        SetNumber(line, pigeonColumn::ReleasePoint, race.releasePointNumber);
        SetField(line, pigeonColumn::Valid, "0");
        SetNumber(line, pigeonColumn::ArrivalDay, at.day);
        SetNumber(line, pigeonColumn::ArrivalMonth, at.month);
        SetNumber(line, pigeonColumn::ArrivalHour, at.hour);
        SetNumber(line, pigeonColumn::ArrivalMinute, at.minute);
        SetNumber(line, pigeonColumn::ArrivalSecond, at.second);
        // Flags, packed digits and the reserved columns: a typed-in arrival has none of them.
        for (const Column zeros : {pigeonColumn::Flags, pigeonColumn::PackedDigits, pigeonColumn::Reserved})
            SetField(line, zeros, std::string(zeros.width(), '0'));
        SetField(line, pigeonColumn::Colour, PigeonColour(pigeon.record));
        SetField(line, pigeonColumn::RingFormat, PigeonRingFormatText(pigeon.record));
        lines.push_back(line);
    }
    lines.insert(lines.end(), loft.otherArrivalLines.begin(), loft.otherArrivalLines.end());
    return lines;
}

SaveResult WriteManualFile(const Path& programFolder, const Race& race, const ManualLoft& loft) {
    return SaveRaceCalcLines(ManualFilePath(programFolder, race.name, loft.fancierNumber), ManualFileLines(race, loft));
}

ManualFileRead ReadManualFile(const Path& programFolder, const Race& race, ManualLoft& loft) {
    const Path file = ManualFilePath(programFolder, race.name, loft.fancierNumber);
    const FileContent content = ReadWholeFile(file);
    ManualFileRead read{file, content.status, content.problem};
    if (content.status != ReadStatus::Ok) return read;
    const auto damaged = [&read](std::size_t index) {
        read.status = ReadStatus::Unreadable;
        read.problem = {FileReason::Damaged, index + 1, {}};
        return read;
    };
    const std::vector<std::string> lines = SplitLines(content.bytes);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty()) continue;
        if (line[0] == kTimerLineKind) {
            if (line.size() < kManualTimerLineLength) return damaged(i);
            for (std::size_t v = 0; v < kTimerValueCount; ++v) loft.timer[v] = NumberAt(line, kTimerColumns[v]);
        } else if (line[0] == kArrivalLineKind) {
            if (line.size() < ReadoutPigeonColumn::ArrivalSecond.last) return damaged(i);
            const std::string ring = Field(line, ReadoutPigeonColumn::Ring);
            const auto pigeon = std::ranges::find_if(loft.pigeons, [&](const ManualPigeon& p) {
                return !p.added && SameRing(p.record, ring);
            });
            if (pigeon == loft.pigeons.end()) {
                loft.otherArrivalLines.push_back(line);
                continue;
            }
            pigeon->added = true;
            pigeon->arrival = {NumberAt(line, ReadoutPigeonColumn::ArrivalDay),
                               NumberAt(line, ReadoutPigeonColumn::ArrivalMonth),
                               NumberAt(line, ReadoutPigeonColumn::ArrivalHour),
                               NumberAt(line, ReadoutPigeonColumn::ArrivalMinute),
                               NumberAt(line, ReadoutPigeonColumn::ArrivalSecond)};
        }
    }
    return read;
}

bool KeepsManualFile(const ManualLoft& loft) {
    const TimerValues& t = loft.timer;
    return loft.AddedCount() > 0 || !loft.otherArrivalLines.empty() || (t[kSyncDay] >= 1 && t[kSyncMonth] >= 1 && t[kReadDay] >= 1 && t[kReadMonth] >= 1);
}

SaveResult ApplyManualSaveRule(const Path& programFolder, const Race& race, const ManualLoft& loft) {
    if (KeepsManualFile(loft)) return WriteManualFile(programFolder, race, loft);
    const Path file = ManualFilePath(programFolder, race.name, loft.fancierNumber);
    if (const SaveResult removed = RemoveRaceCalcFile(file); !removed) return removed;
    return {};
}

ActionResult AddManualArrival(ManualLoft& loft, std::size_t index, const Arrival& arrival) {
    if (arrival.day < 1 || arrival.day > 31) return Refused(kManualArrivalDay, "Text1");
    if (arrival.month < 1 || arrival.month > 12) return Refused(kManualArrivalMonth, "Text2");
    if (index >= loft.pigeons.size()) return {};
    loft.pigeons[index].added = true;
    loft.pigeons[index].arrival = arrival;
    return {};
}

void RemoveManualArrival(ManualLoft& loft, std::size_t index) {
    if (index >= loft.pigeons.size()) return;
    ManualPigeon& pigeon = loft.pigeons[index];
    pigeon.added = false;
    pigeon.arrival.day = 1;
    pigeon.arrival.month = 1;
}

std::string OtherRingsText(const ManualLoft& loft) {
    std::string rings;
    for (const std::string& line : loft.otherArrivalLines)
        rings += (rings.empty() ? "" : ", ") + TrimBlanks(Field(line, ReadoutPigeonColumn::Ring));
    return rings;
}

std::string ManualPigeonItem(const ManualPigeon& pigeon) {
    const std::string ring = FormatRingText(PigeonRing(pigeon.record), PigeonRingFormatText(pigeon.record));
    return pigeon.added ? ring + " / OK" : ring;
}

std::string ManualCounterText(std::string_view addedText, std::string_view ofText, const ManualLoft& loft) {
    return std::string(addedText) + std::to_string(loft.AddedCount()) + std::string(ofText) +
           std::to_string(loft.pigeons.size());
}

void RemoveStrayManualFile(const Path& programFolder) { RemoveRaceCalcFile(RaceCalcPath(programFolder, "_wf000.man")); }

} // namespace plumet
