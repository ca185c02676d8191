#pragma once
// The columns of the read-out file's lines, which the manual clock-time files share. The first
// character of a line tells its kind; every number is zero-padded to its width.
#include "core/app/fixedwidth.h"

namespace plumet {

// First line of a file: the race date.
namespace ReadoutDateColumn {
inline constexpr Column Kind{1, 1};
inline constexpr Column Day{2, 3};
inline constexpr Column Month{4, 5};
inline constexpr Column Year{6, 7}; // two digits
} // namespace ReadoutDateColumn

// One loft a clock was read for; name and position copied from the fancier register.
namespace ReadoutFancierColumn {
inline constexpr Column Kind{1, 1};
inline constexpr Column Club{2, 4};
inline constexpr Column Fancier{5, 7};
inline constexpr Column ArrivalCount{8, 10}; // arrival lines of this loft, modulo 1000
inline constexpr Column Name{11, 30};
inline constexpr Column Latitude{31, 39};
inline constexpr Column Longitude{40, 49};
// The coordinate's parts as the XML export cuts them: the sign stays with the degrees, and of
// the hundredths only the tenths are kept.
inline constexpr Column LatitudeDegrees{31, 33};
inline constexpr Column LatitudeMinutes{34, 35};
inline constexpr Column LatitudeSeconds{36, 37};
inline constexpr Column LatitudeTenths{38, 38};
inline constexpr Column LongitudeDegrees{40, 43};
inline constexpr Column LongitudeMinutes{44, 45};
inline constexpr Column LongitudeSeconds{46, 47};
inline constexpr Column LongitudeTenths{48, 48};
} // namespace ReadoutFancierColumn

// The clock's synchronisation: basketing master time, read-out master time and the clock's own
// time at the read-out. A manual file's timer line ends before ClockFlag.
namespace ReadoutTimerColumn {
inline constexpr Column Kind{1, 1};
inline constexpr Column Club{2, 4};
inline constexpr Column Fancier{5, 7};
inline constexpr Column Flag{8, 8}; // "1" from a clock, "0" typed in
inline constexpr Column BasketingDay{9, 10};
inline constexpr Column BasketingMonth{11, 12};
inline constexpr Column BasketingHour{13, 14};
inline constexpr Column BasketingMinute{15, 16};
inline constexpr Column BasketingSecond{17, 18};
inline constexpr Column ReadoutDay{19, 20};
inline constexpr Column ReadoutMonth{21, 22};
inline constexpr Column ReadoutHour{23, 24};
inline constexpr Column ReadoutMinute{25, 26};
inline constexpr Column ReadoutSecond{27, 28};
inline constexpr Column ClockHour{29, 30};
inline constexpr Column ClockMinute{31, 32};
inline constexpr Column ClockSecond{33, 34};
inline constexpr Column ClockFlag{35, 35};
} // namespace ReadoutTimerColumn

// One clocked pigeon of the loft line before it.
namespace ReadoutPigeonColumn {
inline constexpr Column Kind{1, 1};
inline constexpr Column Club{2, 4};
inline constexpr Column Fancier{5, 7};
inline constexpr Column Ring{8, 30};
inline constexpr Column ReleasePoint{31, 32};
inline constexpr Column Valid{33, 33};
inline constexpr Column ArrivalDay{34, 35};
inline constexpr Column ArrivalMonth{36, 37};
inline constexpr Column ArrivalHour{38, 39};
inline constexpr Column ArrivalMinute{40, 41};
inline constexpr Column ArrivalSecond{42, 43};
inline constexpr Column Flags{44, 51};        // one "0" or "1" per bit, highest first
inline constexpr Column PackedDigits{52, 63}; // one digit per half-byte
inline constexpr Column Reserved{64, 71};     // always zeros
inline constexpr Column Colour{72, 75};
inline constexpr Column RingFormat{76, 77};
} // namespace ReadoutPigeonColumn

} // namespace plumet
