#pragma once
// What the race editor and the race chooser do with a race: the values a new race starts
// with, the editor's boxes for a race and the race built back from them.
#include <optional>
#include <string>

#include "core/app/timesource.h"
#include "core/race/racelists.h"
#include "core/race/races.h"
#include "core/releasepoints/releasepoints.h"

namespace plumet {

// A new race: club, release point, comments, name, unit, times, closed period, mean distance
// and nights from the default race when there is one, otherwise empty names, 07:00, closed
// 20:00 to 06:00, no nights, "0000"; the date is today and the week today's week.
Race NewRaceValues(const std::optional<Race>& defaults, const DateTime& today);

// The editor's controls.
struct RaceEditorFields {
    std::string name;            // Text1
    int day = 1;                 // DTPicker1
    int month = 1;
    int year = 2000;
    ListItem club;               // Combo1
    ListItem racePoint;          // Combo2
    std::string releaseHour;     // Text2
    std::string releaseMinute;   // Text3
    std::string closedFromHour;  // Text4
    std::string closedFromMinute;// Text5
    std::string closedToHour;    // Text6
    std::string closedToMinute;  // Text7
    std::string nights;          // Text8
    std::string flightWeek;      // Text9
    std::string headerComment;   // Text12
    std::string footerComment;   // Text13
    int distanceUnit = kRaceInKm;// Combo3
    std::string meanDistance;    // Text14
    bool operator==(const RaceEditorFields&) const = default;
};

// The boxes for a race: names and comments as stored, hours, minutes and the week "00",
// nights "0"; club and release point carry the race's names and numbers.
RaceEditorFields RaceEditorFieldsOf(const Race& race);

// The race the boxes describe: name padded to 30, comments to 60, mean distance to 4 digits
// with "0" on the left, a blank nights box as 0, overNight when nights > 0, and the release
// point's coordinates from its slot in the register.
Race CollectRace(const RaceEditorFields& fields, const RacePointTable& points);

// The chooser's date line: "dd.mm.yyyy".
std::string RaceDateText(const Race& race);

} // namespace plumet
