#include "ui/race/raceevaluation.h"

#include "ui/race/raceresultsdialog.h"

namespace plumet::ui {

RaceEvaluation DefaultRaceEvaluation() { return {CalculateRaceAndReport, ShowRaceResults, PrintRaceResults}; }

RaceEvaluation& RaceEvaluationHooks() {
    static RaceEvaluation hooks = DefaultRaceEvaluation();
    return hooks;
}

} // namespace plumet::ui
