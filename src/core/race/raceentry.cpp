#include "core/race/raceentry.h"

#include "core/app/fixedwidth.h"
#include "core/app/weeks.h"

namespace plumet {
namespace {

int NumberOf(std::string_view text) { return static_cast<int>(ParseInteger(text).value_or(0)); }

} // namespace

Race NewRaceValues(const std::optional<Race>& defaults, const DateTime& today) {
    Race race;
    if (defaults) {
        race.clubName = defaults->clubName;
        race.releasePointName = defaults->releasePointName;
        race.headerComment = defaults->headerComment;
        race.footerComment = defaults->footerComment;
        race.name = defaults->name;
        race.distanceUnit = defaults->distanceUnit;
        race.releaseHour = defaults->releaseHour;
        race.releaseMinute = defaults->releaseMinute;
        race.overNight = defaults->overNight;
        race.closedFromHour = defaults->closedFromHour;
        race.closedFromMinute = defaults->closedFromMinute;
        race.closedToHour = defaults->closedToHour;
        race.closedToMinute = defaults->closedToMinute;
        race.meanDistance = defaults->meanDistance;
        race.nights = defaults->nights;
    } else {
        race.distanceUnit = kRaceInKm;
        race.releaseHour = 7;
        race.releaseMinute = 0;
        race.closedFromHour = 20;
        race.closedFromMinute = 0;
        race.closedToHour = 6;
        race.closedToMinute = 0;
        race.overNight = false;
        race.meanDistance = "0000";
        race.nights = 0;
    }
    race.day = today.day;
    race.month = today.month;
    race.year = today.year;
    race.flightWeek = WeekNumber(today.year, today.month, today.day);
    return race;
}

RaceEditorFields RaceEditorFieldsOf(const Race& race) {
    RaceEditorFields fields;
    fields.name = race.name;
    fields.day = race.day;
    fields.month = race.month;
    fields.year = race.year;
    fields.club = {race.clubName, race.clubNumber};
    fields.racePoint = {race.releasePointName, race.releasePointNumber};
    fields.releaseHour = ZeroPadded(race.releaseHour, RaceColumn::ReleaseHour.width());
    fields.releaseMinute = ZeroPadded(race.releaseMinute, RaceColumn::ReleaseMinute.width());
    fields.closedFromHour = ZeroPadded(race.closedFromHour, RaceColumn::ClosedFromHour.width());
    fields.closedFromMinute = ZeroPadded(race.closedFromMinute, RaceColumn::ClosedFromMinute.width());
    fields.closedToHour = ZeroPadded(race.closedToHour, RaceColumn::ClosedToHour.width());
    fields.closedToMinute = ZeroPadded(race.closedToMinute, RaceColumn::ClosedToMinute.width());
    fields.nights = ZeroPadded(race.nights, RaceColumn::Nights.width());
    fields.flightWeek = ZeroPadded(race.flightWeek, RaceColumn::FlightWeek.width());
    fields.headerComment = race.headerComment;
    fields.footerComment = race.footerComment;
    fields.distanceUnit = race.distanceUnit;
    fields.meanDistance = race.meanDistance;
    return fields;
}

Race CollectRace(const RaceEditorFields& fields, const RacePointTable& points) {
    Race race;
    race.name = PadRight(fields.name, RaceColumn::Name.width());
    race.headerComment = PadRight(fields.headerComment, RaceColumn::HeaderComment.width());
    race.footerComment = PadRight(fields.footerComment, RaceColumn::FooterComment.width());
    race.meanDistance = PadLeft(TrimBlanks(fields.meanDistance), RaceColumn::MeanDistance.width(), '0');
    race.clubName = fields.club.text;
    race.clubNumber = fields.club.number;
    race.releasePointName = fields.racePoint.text;
    race.releasePointNumber = fields.racePoint.number;
    const int slot = fields.racePoint.number;
    if (slot >= 1 && static_cast<std::size_t>(slot) <= points.Count()) {
        const std::string& record = points.Record(static_cast<std::size_t>(slot));
        race.releaseLatitude = RacePointLatitudeOf(record);
        race.releaseLongitude = RacePointLongitudeOf(record);
    }
    race.releaseLatitude = PadRight(race.releaseLatitude, RaceColumn::ReleaseLatitude.width());
    race.releaseLongitude = PadRight(race.releaseLongitude, RaceColumn::ReleaseLongitude.width());
    race.releaseHour = NumberOf(fields.releaseHour);
    race.releaseMinute = NumberOf(fields.releaseMinute);
    race.closedFromHour = NumberOf(fields.closedFromHour);
    race.closedFromMinute = NumberOf(fields.closedFromMinute);
    race.closedToHour = NumberOf(fields.closedToHour);
    race.closedToMinute = NumberOf(fields.closedToMinute);
    race.nights = TrimBlanks(fields.nights).empty() ? 0 : NumberOf(fields.nights);
    race.overNight = race.nights > 0;
    race.flightWeek = NumberOf(fields.flightWeek);
    race.day = fields.day;
    race.month = fields.month;
    race.year = fields.year;
    race.distanceUnit = fields.distanceUnit;
    return race;
}

std::string RaceDateText(const Race& race) {
    return ZeroPadded(race.day, 2) + "." + ZeroPadded(race.month, 2) + "." + ZeroPadded(race.year, 4);
}

} // namespace plumet
