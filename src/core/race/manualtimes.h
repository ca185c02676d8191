#pragma once
// Clock times typed in by hand for a loft whose clock could not be read out. One file per race
// and fancier, "racecalc\" + trimmed race name + "_wf" + fancier "000" + ".man", in the line
// format of the read-out files so that the calculation reads both alike:
//   header "0" dd mm yy; loft line "1" (49); timer line "2" (34); one pigeon line "3" (77) each.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/actionresult.h"
#include "core/app/files.h"
#include "core/race/races.h"
#include "core/clock/readoutcolumns.h"
#include "core/registers/pigeons.h"

namespace plumet {

// The read-out file's lines; a typed-in timer line has no clock flag.
inline constexpr std::size_t kManualLoftLineLength = ReadoutFancierColumn::Longitude.last;
inline constexpr std::size_t kManualTimerLineLength = ReadoutTimerColumn::ClockSecond.last;
inline constexpr std::size_t kManualPigeonLineLength = ReadoutPigeonColumn::RingFormat.last;

// The thirteen numbers of the timer line, in file order (Text6 to Text18 of the dialog).
enum TimerValue : std::size_t {
    kSyncDay, kSyncMonth, kSyncHour, kSyncMinute, kSyncSecond,
    kReadDay, kReadMonth, kReadHour, kReadMinute, kReadSecond,
    kClockHour, kClockMinute, kClockSecond,
    kTimerValueCount
};
using TimerValues = std::array<int, kTimerValueCount>;

struct Arrival {
    int day = 0;
    int month = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const Arrival&) const = default;
};

struct ManualPigeon {
    std::string record; // the pigeon register record (39 characters)
    bool added = false;
    Arrival arrival;
};

// One fancier of the race's club with his pigeons, as the dialog holds him.
struct ManualLoft {
    std::string fancierNumber; // "012"
    std::string fancierName;   // 20
    std::string latitude;      // 9
    std::string longitude;     // 10
    std::vector<ManualPigeon> pigeons;
    TimerValues timer{};
    // Arrival lines of the file whose ring is none of `pigeons` (a pigeon since removed from the
    // register, or a ring clocked twice): written back as they were, since the calculation counts them.
    std::vector<std::string> otherArrivalLines;

    std::size_t AddedCount() const;
};

// The fancier (a fancier register record) and his pigeons, none added, the timer all zero.
ManualLoft ManualLoftOf(std::string_view fancierRecord, const PigeonTable& pigeons);

Path ManualFilePath(const Path& programFolder, std::string_view raceName, std::string_view fancierNumber);
// Every manual file of the race (trimmed name + "_wf???.man", any letter case), by name, of
// whatever kind the entry is.
std::vector<Path> ManualFilesOfRace(const Path& programFolder, std::string_view raceName);

// The lines of the file: the race's date and club and release point, the added pigeons in list order.
std::vector<std::string> ManualFileLines(const Race& race, const ManualLoft& loft);
SaveResult WriteManualFile(const Path& programFolder, const Race& race, const ManualLoft& loft);
struct ManualFileRead {
    Path file;
    ReadStatus status = ReadStatus::Missing;
    FileProblem problem; // why, when Unreadable (a line cut short is Damaged with its number)
};
// Fills the timer and marks every pigeon of a pigeon line (same ring) as added with its
// arrival. A file that cannot be read whole must not be saved over: the loft is then only what
// was read before the fault.
ManualFileRead ReadManualFile(const Path& programFolder, const Race& race, ManualLoft& loft);

// The save rule: a file is kept when a pigeon is added (or a line of another ring kept), or when the clock was set and read out
// on real days (synchronisation and read-out day and month all at least 1).
bool KeepsManualFile(const ManualLoft& loft);
// Writes the file when the rule keeps it, otherwise deletes it if it is there.
SaveResult ApplyManualSaveRule(const Path& programFolder, const Race& race, const ManualLoft& loft);

// Messages of frmClocktimesManAdd.
inline constexpr int kManualArrivalDay = 1;
inline constexpr int kManualArrivalMonth = 2;

// Add marks a pigeon as clocked at `arrival`; a pigeon without a real arrival day (1 to 31,
// Text1) or month (1 to 12, Text2) would be entered but never classified, so it is refused.
// Remove clears the mark and sets day and month to 1.
ActionResult AddManualArrival(ManualLoft& loft, std::size_t index, const Arrival& arrival);
void RemoveManualArrival(ManualLoft& loft, std::size_t index);

// The pigeon's line in the dialog's list: its ring as displayed, " / OK" once added.
std::string ManualPigeonItem(const ManualPigeon& pigeon);
// The rings of the loft's other arrival lines, as written, joined by ", ".
std::string OtherRingsText(const ManualLoft& loft);
// "Pigeons clocked: " + added + " of " + total, the numbers without leading zeros.
std::string ManualCounterText(std::string_view addedText, std::string_view ofText, const ManualLoft& loft);

// A file "racecalc\_wf000.man" belongs to no race; the dialog removes it when it closes.
void RemoveStrayManualFile(const Path& programFolder);

} // namespace plumet
