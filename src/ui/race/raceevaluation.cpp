#include "ui/race/raceevaluation.h"

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/catalogue.h"
#include "ui/app/messages.h"
#include "ui/race/raceresultsdialog.h"

namespace plumet::ui {

std::optional<RaceLogAuthor> AskChangeReason(QWidget* parent, const Race& race) {
    RaceLogAuthor author{{}, {}, SystemTimeSource().Now()};
    const RaceLog log = ReadRaceLog(App().programFolder, race.name);
    if (!log.Sound() || log.State() == RaceState::Provisional) return author;
    const auto reason = AskText(parent, ToQt(CatalogueText("frmRaceResultsShow.ReasonTitle")),
                                ToQt(CatalogueText("frmRaceResultsShow.ReasonPrompt", {TrimmedRaceName(race)})));
    if (!reason) return std::nullopt;
    author.reason = ToBytes(*reason);
    return author;
}

RaceEvaluation DefaultRaceEvaluation() { return {CalculateRaceAndReport, ShowRaceResults, PrintRaceResults}; }

RaceEvaluation& RaceEvaluationHooks() {
    static RaceEvaluation hooks = DefaultRaceEvaluation();
    return hooks;
}

} // namespace plumet::ui
