#pragma once
// The race chooser's door to the evaluation: calculating a race, showing and printing its
// result list. Tests put their own routines in.
#include <QStringList>
#include <cstddef>
#include <functional>
#include <optional>

#include "core/race/distances.h"
#include "core/race/racelog.h"
#include "core/race/races.h"

class QWidget;

namespace plumet::ui {

struct CalculationReport {
    QStringList warnings;     // input files whose reading ended early
    bool listChanged = false; // the race changed since `races` was read: nothing was calculated
};

struct RaceEvaluation {
    // Calculates race `number` of `races` with its club's distance table loaded, and writes the
    // race file (the counters) and the race's result file; `races` becomes the list written.
    std::function<CalculationReport(QWidget* parent, RaceList& races, std::size_t number, const DistanceTable& distances)>
        calculate;
    // Read the race's result file, which exists, and show it in the result window (with the
    // calculation's warnings) or print it.
    std::function<void(QWidget* parent, const Race& race, const QStringList& warnings)> showResults;
    std::function<void(QWidget* parent, const Race& race)> printResults;
};

// Who changes the race, now; with the reason asked for when its list is final or amended.
// Nothing when the user cancels. A log that cannot be read asks nothing: core refuses then.
std::optional<RaceLogAuthor> AskChangeReason(QWidget* parent, const Race& race);

// The program's own evaluation.
RaceEvaluation DefaultRaceEvaluation();
RaceEvaluation& RaceEvaluationHooks();

} // namespace plumet::ui
