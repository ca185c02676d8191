#pragma once
// frmRaceSelect: the race chooser, opened to alter, delete, show, print or calculate a race.
#include <QStringList>
#include <cstddef>

#include "core/race/races.h"
#include "ui/app/dialogbase.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace plumet::ui {

class RaceSelectDialog : public DialogBase {
    Q_OBJECT
public:
    enum class Mode { Alter = 0, Delete = 1, ShowResults = 2, PrintResults = 3, Calculate = 4 };

    RaceSelectDialog(QWidget* parent, Mode mode);

    Mode SelectMode() const { return mode_; }
    const RaceList& Races() const { return races_; }
    // The race number of the chosen item; 0 when there is no race to choose.
    std::size_t ChosenNumber() const;

    // OKButton: what the mode does with the chosen race.
    void Choose();

private:
    void FillList();
    void ShowChosen();
    void AlterChosen(std::size_t number);
    void DeleteChosen(std::size_t number);
    // The list as the file holds it now, after another task changed the chosen race.
    void ShowListAgain();
    // The race of that name in `races` (its counters as calculated), or `race` itself.
    static Race RaceNamed(const RaceList& races, const Race& race);
    // Shows or prints the race's result list when its result file is there.
    void Present(const Race& race, bool print, const QStringList& warnings = {});

    Mode mode_;
    RaceList races_;
    QComboBox* list_ = nullptr;  // Combo1
    QLabel* date_ = nullptr;     // Label3
    QLabel* place_ = nullptr;    // Label5
    QPushButton* ok_ = nullptr;  // OKButton
};

} // namespace plumet::ui
