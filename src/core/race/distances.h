#pragma once
// The distance table of one club: for every pair of fancier and release point the distance
// the officials entered by hand, used when a loft or a release point has no coordinates.
// File "racecalc\dist" + club "000" + ".dat": the counts N and M, then N x M lines of
// fancier "000", release point "00", blank, unit flag, blank, kilometres "0000.0000".
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/files.h"
#include "core/records/registertable.h"

namespace plumet {

// Unit flags of a table entry.
inline constexpr int kEnteredInKm = 0;
inline constexpr int kEnteredInMiles = 1;

// Fancier numbers are three digits (000 to 999) and release points two; the table takes
// 0 to 1000 and 0 to 100 so that no stored number is turned away.
inline constexpr int kHighestDistanceFancier = 1000;
inline constexpr int kHighestDistanceRacePoint = 100;

// Each used exactly where the comment says; they are not interchangeable.
inline constexpr double kLoadKmToMiles = 0.621371; // loading a table entry entered in miles
inline constexpr double kSaveMilesToKm = 1.609344; // writing a table entry entered in miles

class DistanceTable {
public:
    DistanceTable();

    // Every distance 0, every flag kEnteredInMiles: a pair never entered.
    void Reset();
    // In the unit of its flag: kilometres or miles. 0 and miles outside the table.
    double Distance(int fancier, int racePoint) const;
    int UnitFlag(int fancier, int racePoint) const;
    // False, and nothing changed, outside the table.
    bool Set(int fancier, int racePoint, double distance, int unitFlag);

    LoadOutcome LastLoad() const { return outcome_; }

private:
    friend LoadOutcome LoadDistanceTable(DistanceTable& table, const Path& programFolder, int clubNumber);
    friend SaveResult SaveDistanceTable(const DistanceTable& table, const Path& programFolder, int clubNumber,
                                        const std::vector<int>& fanciers, const std::vector<int>& racePoints,
                                        char decimalSeparator);
    static std::size_t Index(int fancier, int racePoint);

    std::vector<double> distance_;
    std::vector<unsigned char> flag_;
    // The kilometres a miles entry was read with, NaN once it is entered anew: written back as
    // they were, so that loading and saving with the two factors does not wear a distance down.
    std::vector<double> kmAsRead_;
    LoadOutcome outcome_ = LoadOutcome::Missing;
    Path loadedFrom_;
};

// "racecalc\dist007.dat" for club 7.
Path DistanceFilePath(const Path& programFolder, int clubNumber);

// Resets the table and reads the club's file. An entry entered in miles is held in miles
// (kilometres x kLoadKmToMiles) and, while it is not entered anew, written back with the
// kilometres it was read with. Reading stops at the first line that is not an entry; what
// was read stays. A file that is there but broken is reported as Unreadable and is then never
// saved over, so a damaged file does not take the distances of the good lines with it.
LoadOutcome LoadDistanceTable(DistanceTable& table, const Path& programFolder, int clubNumber);

// Writes the club's file for the given fancier and release point numbers (the lists of the
// entry dialog, in their order), in kilometres with `decimalSeparator`.
SaveResult SaveDistanceTable(const DistanceTable& table, const Path& programFolder, int clubNumber,
                             const std::vector<int>& fanciers, const std::vector<int>& racePoints,
                             char decimalSeparator);

// One line of the file: "001" "05" " " flag " " "0020.1168".
std::string DistanceLine(int fancier, int racePoint, int unitFlag, double km, char decimalSeparator);

// ---- Unit conversions of the calculation and the result list --------------------------

double KmToMiles(double km);                                     // x (1 / 1.609)
double MilesToKm(double miles);                                  // x 1.609
double MetresPerMinuteToYardsPerMinute(double metresPerMinute);  // x (1760 / 1609)

// ---- The entry dialog's two boxes -------------------------------------------------------

inline constexpr int kMetresPerKm = 1000;
inline constexpr int kYardsPerMile = 1760;

// Text1 whole kilometres or miles (5 digits), Text2 metres (3 digits) or yards (4 digits).
inline constexpr int kWholeBoxWidth = 5;
struct DistanceBoxes {
    std::string whole;
    std::string part;
    bool operator==(const DistanceBoxes&) const = default;
};

// What the boxes show for a stored distance in the unit of `unitFlag`: the whole part and the
// rest in metres "000" or yards "0000". A rest that rounds up to a whole unit carries over; a
// distance beyond the boxes (only a damaged file holds one) shows as the largest they take.
DistanceBoxes DistanceForBoxes(double distance, int unitFlag);
// The boxes as a distance in the unit of `unitFlag`: whole + part / 1000 or whole + part / 1760.
double DistanceFromBoxes(std::string_view whole, std::string_view part, int unitFlag);
// The box of the rest: 3 digits for metres, 4 for yards.
int PartBoxWidth(int unitFlag);

} // namespace plumet
