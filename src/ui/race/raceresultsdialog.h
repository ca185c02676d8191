#pragma once
// frmRaceResultsShow: the result list of a race on screen, with its head, a print button and
// the export for spreadsheets and web pages.
#include <QStringList>
#include <vector>

#include "app/dialogbase.h"
#include "race/distances.h"
#include "race/races.h"
#include "race/resultfile.h"

class QListWidget;

namespace plumet::ui {

class RaceResultsDialog : public DialogBase {
    Q_OBJECT
public:
    RaceResultsDialog(QWidget* parent, const Race& race, std::vector<ResultLine> lines);

    QStringList ListLines() const;

    // Command2
    void Print();

private:
    Race race_;
    std::vector<ResultLine> lines_;
    QListWidget* list_ = nullptr; // List1
};

// What the chooser's hooks do: calculate a race, show or print its stored result.
void CalculateRaceAndReport(QWidget* parent, RaceList& races, std::size_t number, const DistanceTable& distances);
void ShowRaceResults(QWidget* parent, const Race& race);
void PrintRaceResults(QWidget* parent, const Race& race);

} // namespace plumet::ui
