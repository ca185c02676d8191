#pragma once
// The read-out file of one race week and release point, "race\W" + region + federation +
// week + ".d" + point: a date line, then for every clock read its loft line, its timer line
// and one arrival line per kept arrival. Also the fields of the read-out dialog that name it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/files.h"
#include "core/app/options.h"
#include "core/app/timesource.h"
#include "core/clock/clockstate.h"
#include "core/clock/pigeonsconvert.h"
#include "core/clock/readoutcolumns.h"

namespace plumet {

inline constexpr std::size_t kReadoutLineLimit = 100000;
inline constexpr std::size_t kDateLineLength = ReadoutDateColumn::Year.last;
inline constexpr std::size_t kLoftLineLength = ReadoutFancierColumn::Longitude.last;
inline constexpr std::size_t kTimerLineLength = ReadoutTimerColumn::ClockFlag.last;
inline constexpr std::size_t kArrivalLineLength = ReadoutPigeonColumn::RingFormat.last;
inline constexpr char kDateLineKind = '0';
inline constexpr char kLoftLineKind = '1';
inline constexpr char kTimerLineKind = '2';
inline constexpr char kArrivalLineKind = '3';

// Bytes 0-4 basketing master day (low 5 bits), month, hour, minute, second; 5-9 read-out
// master time likewise; 10 flags; 11 unused; 12-14 the clock's own hour, minute, second.
using TimerBlock = std::array<std::uint8_t, 15>;

// ---- The dialog's fields, all two digits ----

struct ReadoutFields {
    std::string point = "00"; // "00": every release point
    std::string week;
    std::string day;
    std::string month;
    std::string year;
    bool operator==(const ReadoutFields&) const = default;
};

// What the dialog opens with: point "00", today's week and date.
ReadoutFields ReadoutFieldsFor(const DateTime& today);
// What leaving each field does (an empty field counts as "00"): the point is padded; week
// "00" becomes today's week and one above the last week a race read out on the read-out date
// can carry (LastRaceWeekOn) becomes that week; day "00" or 32 and more, month "00" or 13 and
// more, and year "00" become today's.
std::string ReadoutPointOnLeave(std::string_view text);
std::string ReadoutWeekOnLeave(std::string_view text, const DateTime& today, int readoutYear, int readoutMonth);
std::string ReadoutDayOnLeave(std::string_view text, const DateTime& today);
std::string ReadoutMonthOnLeave(std::string_view text, const DateTime& today);
std::string ReadoutYearOnLeave(std::string_view text, const DateTime& today);
// The four-digit year of the date field's two digits.
int ReadoutYear(std::string_view yearField);
// Every field as after leaving it.
ReadoutFields ReadoutFieldsOnLeave(const ReadoutFields& fields, const DateTime& today);

// Clock dates carry no year: the year that puts day.month within six months of the reference
// date (the race's date, or a read-out file's date line). The reference year itself when
// either date is no calendar date.
int ClockDateYear(int day, int month, int referenceDay, int referenceMonth, int referenceYear);

// The clock's own time at read-out carries no date: it lies on the master's read-out day, the
// day before or the day after, whichever puts it nearest the master time (a clock read out
// within its deviation of midnight is on the other side of it). Gives -1, 0 or +1 days; both
// times are seconds from midnight.
int ClockReadoutDayOffset(long long masterSecondsOfDay, long long clockSecondsOfDay);

// ---- The file ----

// "W" + region (3) + federation (2) + week + ".d" + point, e.g. "W0120523.d07".
std::string ReadoutFileName(const Settings& settings, std::string_view week, std::string_view point);
// The file under "race" of the program folder, matched to an existing one of any letter case.
Path ReadoutFilePath(const Path& programFolder, const Settings& settings, std::string_view week,
                     std::string_view point);

struct ReadoutFile {
    ReadStatus status = ReadStatus::Missing;
    std::vector<std::string> lines; // empty unless read
    FileProblem problem;            // why, when Unreadable
};
// A missing file gives no lines.
ReadoutFile LoadReadoutFile(const Path& file);
// Replaces the file as a whole; on failure the old one stays as it was.
SaveResult SaveReadoutFile(const Path& file, const std::vector<std::string>& lines);
// A copy under `folder` with the name `fileName`.
SaveResult StoreReadoutCopy(const std::vector<std::string>& lines, const Path& folder, std::string_view fileName);

// One list entry per loft line: its running number (3 digits) + ":" + four blanks + club +
// " " + fancier + " " + name.
std::vector<std::string> ReadoutListLines(const std::vector<std::string>& lines);

// Whether a loft line of `lines` carries this club and fancier (compared as numbers).
bool HoldsLoft(const std::vector<std::string>& lines, int club, int fancier);

// ---- The lines ----

// "0" + day + month + year.
std::string ReadoutDateLine(const ReadoutFields& fields);
// `fancierRecord` is the fancier's register record: name, latitude and longitude come from it.
// The count is written modulo 1000.
std::string ReadoutLoftLine(int club, int fancier, std::size_t arrivalCount, std::string_view fancierRecord);
std::string ReadoutTimerLine(int club, int fancier, const TimerBlock& timer);
// Whether an arrival belongs in the file of release point `point` ("00" takes all).
bool ArrivalKept(const ArrivalRecord& arrival, std::string_view point);
// Month of an arrival: the read-out month, or the one before when the arrival day lies after
// the read-out day (December before January); "00" when the arrival has no day.
std::string ArrivalMonth(int arrivalDay, int readoutDay, int readoutMonth);
std::string ReadoutArrivalLine(int club, int fancier, const ArrivalRecord& arrival, const TimerBlock& timer,
                               const PigeonsConvert& convert);

} // namespace plumet
