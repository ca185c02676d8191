#pragma once
// The columns of a race line of "racecalc\races.dat" and of the default race. Texts are
// blank-padded, numbers zero-padded.
#include "core/app/fixedwidth.h"

namespace plumet::RaceColumn {

inline constexpr Column Name{1, 30};
inline constexpr Column Day{31, 32};
inline constexpr Column Month{33, 34};
inline constexpr Column Year{35, 38};
inline constexpr Column ClubName{39, 68};
inline constexpr Column ReleasePointName{69, 111};
inline constexpr Column ReleaseHour{112, 113};
inline constexpr Column ReleaseMinute{114, 115};
inline constexpr Column DistanceUnit{116, 117};
inline constexpr Column OverNight{118, 119}; // "01" or "00"
inline constexpr Column ClosedFromHour{120, 121};
inline constexpr Column ClosedFromMinute{122, 123};
inline constexpr Column ClosedToHour{124, 125};
inline constexpr Column ClosedToMinute{126, 127};
inline constexpr Column HeaderComment{128, 187};
inline constexpr Column FooterComment{188, 247};
inline constexpr Column ClubNumber{248, 250};
inline constexpr Column ReleasePointNumber{251, 252};
inline constexpr Column ReleaseLatitude{253, 261};
inline constexpr Column ReleaseLongitude{262, 271};
inline constexpr Column MeanDistance{272, 275};
inline constexpr Column PigeonsEntered{276, 279};
inline constexpr Column PigeonsClassified{280, 283};
inline constexpr Column FanciersEntered{284, 286};
inline constexpr Column Nights{287, 287};
inline constexpr Column FlightWeek{288, 289};

} // namespace plumet::RaceColumn
