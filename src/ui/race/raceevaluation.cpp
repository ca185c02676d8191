#include "race/raceevaluation.h"

namespace plumet::ui {

RaceEvaluation& RaceEvaluationHooks() {
    static RaceEvaluation hooks;
    return hooks;
}

QString EvaluationNotAvailableText() { return "The race evaluation is not available in this build."; }

} // namespace plumet::ui
