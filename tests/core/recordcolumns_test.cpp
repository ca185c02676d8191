#include <gtest/gtest.h>

#include <vector>

#include "core/race/distancecolumns.h"
#include "core/race/distances.h"
#include "core/race/racecolumns.h"
#include "core/race/races.h"
#include "core/race/readoutcolumns.h"
#include "core/race/readoutfile.h"
#include "core/race/resultcolumns.h"
#include "core/race/resultfile.h"

using namespace plumet;

TEST(RecordColumns, EachRecordKindIsCoveredByItsFieldsWithoutGapOrOverlap) {
    // Fields listed in record order that must cover columns `first` to `last` without gap or overlap.
    struct Tiling {
        const char* what;
        std::vector<Column> fields;
        std::size_t first, last;
    };
    namespace date = ReadoutDateColumn;
    namespace loft = ReadoutFancierColumn;
    namespace timer = ReadoutTimerColumn;
    namespace pigeon = ReadoutPigeonColumn;
    namespace race = RaceColumn;
    namespace result = ResultColumn;
    namespace distance = DistanceColumn;
    const Tiling tilings[] = {
        {"date line", {date::Kind, date::Day, date::Month, date::Year}, 1, kDateLineLength},
        {"loft line",
         {loft::Kind, loft::Club, loft::Fancier, loft::ArrivalCount, loft::Name, loft::Latitude, loft::Longitude},
         1, kLoftLineLength},
        // The export drops the last hundredth of each coordinate.
        {"latitude parts",
         {loft::LatitudeDegrees, loft::LatitudeMinutes, loft::LatitudeSeconds, loft::LatitudeTenths},
         loft::Latitude.first, loft::Latitude.last - 1},
        {"longitude parts",
         {loft::LongitudeDegrees, loft::LongitudeMinutes, loft::LongitudeSeconds, loft::LongitudeTenths},
         loft::Longitude.first, loft::Longitude.last - 1},
        {"timer line",
         {timer::Kind, timer::Club, timer::Fancier, timer::Flag, timer::BasketingDay, timer::BasketingMonth,
          timer::BasketingHour, timer::BasketingMinute, timer::BasketingSecond, timer::ReadoutDay,
          timer::ReadoutMonth, timer::ReadoutHour, timer::ReadoutMinute, timer::ReadoutSecond, timer::ClockHour,
          timer::ClockMinute, timer::ClockSecond, timer::ClockFlag},
         1, kTimerLineLength},
        {"pigeon line",
         {pigeon::Kind, pigeon::Club, pigeon::Fancier, pigeon::Ring, pigeon::ReleasePoint, pigeon::Valid,
          pigeon::ArrivalDay, pigeon::ArrivalMonth, pigeon::ArrivalHour, pigeon::ArrivalMinute, pigeon::ArrivalSecond,
          pigeon::Flags, pigeon::PackedDigits, pigeon::Reserved, pigeon::Colour, pigeon::RingFormat},
         1, kArrivalLineLength},
        {"race line",
         {race::Name, race::Day, race::Month, race::Year, race::ClubName, race::ReleasePointName, race::ReleaseHour,
          race::ReleaseMinute, race::DistanceUnit, race::OverNight, race::ClosedFromHour, race::ClosedFromMinute,
          race::ClosedToHour, race::ClosedToMinute, race::HeaderComment, race::FooterComment, race::ClubNumber,
          race::ReleasePointNumber, race::ReleaseLatitude, race::ReleaseLongitude, race::MeanDistance,
          race::PigeonsEntered, race::PigeonsClassified, race::FanciersEntered, race::Nights, race::FlightWeek},
         1, kRaceLineLength},
        {"result line",
         {result::FancierName, result::Ring, result::Colour, result::FlightHours, result::FlightMinutes,
          result::FlightSeconds, result::Distance, result::Speed},
         1, kResultLineLength},
        {"distance line",
         {distance::Fancier, distance::ReleasePoint, distance::Separator, distance::UnitFlag, distance::Gap,
          distance::Distance},
         1, DistanceLine(1, 1, kEnteredInKm, 12.5, '.').size()},
    };
    for (const Tiling& tiling : tilings) {
        SCOPED_TRACE(tiling.what);
        std::size_t next = tiling.first;
        for (const Column& field : tiling.fields) {
            EXPECT_EQ(field.first, next);
            EXPECT_LE(field.first, field.last);
            next = field.last + 1;
        }
        EXPECT_EQ(next, tiling.last + 1);
    }
}
