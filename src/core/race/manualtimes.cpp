#include "core/race/manualtimes.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "core/app/fixedwidth.h"
#include "core/race/racecalcfolder.h"
#include "core/registers/fanciers.h"
#include "core/registers/rings.h"

namespace plumet {
namespace {

std::string Two(int value) { return ZeroPadded(std::clamp(value, 0, 99), 2); }
std::string Three(int value) { return ZeroPadded(std::clamp(value, 0, 999), 3); }

int NumberAt(std::string_view line, std::size_t from, std::size_t to) {
    return static_cast<int>(ParseInteger(Mid(line, from, to)).value_or(0));
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// trimmed name + "_wf" + three characters + ".man", letter case aside.
bool IsManualFileOf(std::string_view fileName, std::string_view trimmedName) {
    const std::size_t length = trimmedName.size() + 3 + 3 + 4;
    if (fileName.size() != length) return false;
    return EqualNoCase(fileName.substr(0, trimmedName.size()), trimmedName) &&
           EqualNoCase(fileName.substr(trimmedName.size(), 3), "_wf") &&
           EqualNoCase(fileName.substr(length - 4), ".man");
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
        if (it->is_regular_file(ec) && IsManualFileOf(NameOf(it->path()), name))
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> ManualFileLines(const Race& race, const ManualLoft& loft) {
    const std::string club = Three(race.clubNumber);
    const std::string fancier = PadLeft(TrimBlanks(loft.fancierNumber), 3, '0').substr(0, 3);
    std::vector<std::string> lines;
    lines.push_back("0" + Two(race.day) + Two(race.month) + Two(((race.year % 100) + 100) % 100));
    lines.push_back("1" + club + fancier + Three(static_cast<int>(loft.AddedCount())) + PadRight(loft.fancierName, 20) +
                    PadRight(loft.latitude, 9) + PadRight(loft.longitude, 10));
    std::string timer = "2" + club + fancier + "0";
    for (const int value : loft.timer) timer += Two(value);
    lines.push_back(timer);
    for (const ManualPigeon& pigeon : loft.pigeons) {
        if (!pigeon.added) continue;
        const Arrival& at = pigeon.arrival;
        lines.push_back("3" + club + fancier + PadRight(PigeonRing(pigeon.record), 23) + Two(race.releasePointNumber) +
                        "0" + Two(at.day) + Two(at.month) + Two(at.hour) + Two(at.minute) + Two(at.second) +
                        std::string(28, '0') + PadRight(PigeonColour(pigeon.record), 4) +
                        PadRight(PigeonRingFormatText(pigeon.record), 2));
    }
    return lines;
}

SaveResult WriteManualFile(const Path& programFolder, const Race& race, const ManualLoft& loft) {
    return SaveRaceCalcLines(ManualFilePath(programFolder, race.name, loft.fancierNumber), ManualFileLines(race, loft));
}

bool ReadManualFile(const Path& programFolder, const Race& race, ManualLoft& loft) {
    const FileContent content = ReadWholeFile(ManualFilePath(programFolder, race.name, loft.fancierNumber));
    if (content.status != ReadStatus::Ok) return false;
    const std::vector<std::string> lines = SplitLines(content.bytes);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty()) continue;
        if (line[0] == '2') {
            if (line.size() < kManualTimerLineLength) return false;
            for (std::size_t v = 0; v < kTimerValueCount; ++v) loft.timer[v] = NumberAt(line, 9 + 2 * v, 10 + 2 * v);
        } else if (line[0] == '3') {
            if (line.size() < 43) return false;
            const std::string ring = Mid(line, 8, 30);
            for (ManualPigeon& pigeon : loft.pigeons) {
                if (pigeon.added || !SameRing(pigeon.record, ring)) continue;
                pigeon.added = true;
                pigeon.arrival = {NumberAt(line, 34, 35), NumberAt(line, 36, 37), NumberAt(line, 38, 39),
                                  NumberAt(line, 40, 41), NumberAt(line, 42, 43)};
                break;
            }
        }
    }
    return true;
}

bool KeepsManualFile(const ManualLoft& loft) {
    const TimerValues& t = loft.timer;
    return loft.AddedCount() > 0 || (t[kSyncDay] >= 1 && t[kSyncMonth] >= 1 && t[kReadDay] >= 1 && t[kReadMonth] >= 1);
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
