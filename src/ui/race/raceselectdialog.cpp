#include "ui/race/raceselectdialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/fixedwidth.h"
#include "core/race/distances.h"
#include "core/race/raceentry.h"
#include "core/race/season.h"
#include "ui/app/writelock.h"
#include "ui/race/raceeditdialog.h"
#include "ui/race/raceevaluation.h"

namespace plumet::ui {
namespace {

const char* ModeName(RaceSelectDialog::Mode mode) {
    switch (mode) {
    case RaceSelectDialog::Mode::Alter: return "Alter";
    case RaceSelectDialog::Mode::Delete: return "Delete";
    case RaceSelectDialog::Mode::ShowResults: return "ShowResults";
    case RaceSelectDialog::Mode::PrintResults: return "PrintResults";
    case RaceSelectDialog::Mode::Calculate: return "Calculate";
    }
    return "";
}

// The list text when the race file is there but holds no race, as the form carries it.
const char* const kNoRacesInFile = "No races availiable";

} // namespace

RaceSelectDialog::RaceSelectDialog(QWidget* parent, Mode mode) : DialogBase("frmRaceSelect", parent), mode_(mode) {
    setProperty("captionByMode", true);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    list_ = new QComboBox(this);
    list_->setObjectName("Combo1");
    list_->setMinimumContentsLength(30);
    AddLabelled(grid, 0, "Label1", "Race:", list_);
    date_ = new QLabel(this);
    date_->setObjectName("Label3");
    place_ = new QLabel(this);
    place_->setObjectName("Label5");
    for (QLabel* label : {date_, place_}) {
        label->setProperty(kNoCaptionProperty, true);
        label->setTextFormat(Qt::PlainText);
    }
    AddLabelled(grid, 1, "Label2", "Date:", date_);
    AddLabelled(grid, 2, "Label4", "Race point:", place_);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch(1);
    ok_ = AddButton(buttons, "OKButton", "OK");
    ok_->setProperty("captionByMode", true);
    ok_->setDefault(true);
    auto* cancel = AddButton(buttons, "CancelButton", "Cancel");
    connect(ok_, &QPushButton::clicked, this, &RaceSelectDialog::Choose);
    connect(cancel, &QPushButton::clicked, this, &RaceSelectDialog::reject);
    connect(list_, &QComboBox::currentIndexChanged, this, &RaceSelectDialog::ShowChosen);

    Load(ModeName(mode_));
    races_ = LoadRaces(App().programFolder);
    FillList();
}

void RaceSelectDialog::FillList() {
    const bool fileThere = std::filesystem::exists(RacesFilePath(App().programFolder));
    {
        const QSignalBlocker block(list_);
        list_->clear();
        for (std::size_t number = 1; number <= races_.Count(); ++number)
            list_->addItem(ToQt(TrimBlanks(races_.races[number - 1].name)), static_cast<qulonglong>(number));
        if (races_.Count() == 0)
            list_->addItem(fileThere ? QString(kNoRacesInFile) : Texts().Text("frmRaceSelectNoRacesAvailable"));
        list_->setCurrentIndex(0);
    }
    ok_->setEnabled(races_.Count() > 0);
    ShowChosen();
}

std::size_t RaceSelectDialog::ChosenNumber() const {
    if (races_.Count() == 0 || list_->currentIndex() < 0) return 0;
    return static_cast<std::size_t>(list_->currentData().toULongLong());
}

void RaceSelectDialog::ShowChosen() {
    const std::size_t number = ChosenNumber();
    if (number == 0 || number > races_.Count()) {
        date_->clear();
        place_->clear();
        return;
    }
    const Race& race = races_.races[number - 1];
    date_->setText(ToQt(RaceDateText(race)));
    place_->setText(ToQt(TrimRightBlanks(race.releasePointName)));
}

void RaceSelectDialog::Choose() {
    const std::size_t number = ChosenNumber();
    if (!ok_->isEnabled() || number == 0 || number > races_.Count()) return;
    switch (mode_) {
    case Mode::Alter: AlterChosen(number); return;
    case Mode::Delete: DeleteChosen(number); return;
    case Mode::ShowResults:
    case Mode::PrintResults: {
        const Race race = races_.races[number - 1];
        hide();
        Present(race, mode_ == Mode::PrintResults);
        accept();
        return;
    }
    case Mode::Calculate: {
        const Race chosen = races_.races[number - 1];
        DistanceTable distances;
        LoadDistanceTable(distances, App().programFolder, chosen.clubNumber);
        const CalculationReport report = RaceEvaluationHooks().calculate(parentWidget(), races_, number, distances);
        if (report.listChanged) return ShowListAgain();
        hide();
        Present(RaceNamed(races_, chosen), false, report.warnings);
        accept();
        return;
    }
    }
}

void RaceSelectDialog::AlterChosen(std::size_t number) {
    // The chooser stays open below the editor, to show the list again when the race changed meanwhile.
    RaceEditDialog editor(parentWidget(), races_, number);
    editor.exec();
    if (editor.ListChanged()) return ShowListAgain();
    accept();
}

void RaceSelectDialog::DeleteChosen(std::size_t number) {
    const std::vector<std::string> seasons =
        SeasonsRenamingRace(App().programFolder, TrimmedRaceName(races_.races[number - 1]), "").seasons;
    QString question = Texts().Text("frmRaceSelectMsgBoxHelp1");
    if (!seasons.empty()) {
        QStringList names;
        for (const std::string& season : seasons) names << ToQt(season);
        question += "\n\n" + Texts().Text("DeleteFromSeasons").arg(names.join(", "));
    }
    if (!AskYesNo(this, Texts().Text("frmRaceSelectMsgBoxHelp2"), question)) return;
    const std::optional<RaceLogAuthor> author = AskChangeReason(this, races_.races[number - 1]);
    if (!author) return;
    const auto saved = UnderWriteLock(this, [&] { return DeleteRace(races_, App().programFolder, number, &*author); });
    if (saved && !*saved) ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(saved->error));
    if (saved && saved->reason == FileReason::Changed) return ShowListAgain();
    FillList();
}

void RaceSelectDialog::ShowListAgain() {
    races_ = LoadRaces(App().programFolder);
    FillList();
}

Race RaceSelectDialog::RaceNamed(const RaceList& races, const Race& race) {
    for (const Race& listed : races.races)
        if (SameRaceName(listed.name, race.name)) return listed;
    return race;
}

void RaceSelectDialog::Present(const Race& race, bool print, const QStringList& warnings) {
    if (!std::filesystem::exists(ResultFilePath(App().programFolder, race.name))) {
        ShowMessage(parentWidget(), MessageIcon::Exclamation, Texts().Text("frmRaceSelectMsgBoxRaceNotFound2"),
                    Texts().Text("frmRaceSelectMsgBoxRaceNotFound1"));
        return;
    }
    const RaceEvaluation& hooks = RaceEvaluationHooks();
    if (print) hooks.printResults(parentWidget(), race);
    else hooks.showResults(parentWidget(), race, warnings);
}

} // namespace plumet::ui
