#pragma once
// frmClocktimesManAdd: clock times typed in by hand, per race and fancier.
#include <array>
#include <vector>

#include "core/race/manualtimes.h"
#include "core/race/racelists.h"
#include "core/race/races.h"
#include "ui/app/dialogbase.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace plumet::ui {

class RangeField;

class ClockTimesManDialog : public DialogBase {
    Q_OBJECT
public:
    explicit ClockTimesManDialog(QWidget* parent);

    const ManualLoft& Loft() const { return loft_; }

    // Command1: adds the chosen pigeon with the arrival in Text1 to Text5, or removes it.
    void AddOrRemove();
    // OKButton: keeps the current fancier's times by the save rule and closes.
    void Done();

private:
    void ChooseRace();
    void ChooseFancier();
    void ShowPigeon();
    void ShowTimer();
    void ShowCounter();
    // The save rule for the fancier shown, with the timer as the boxes hold it.
    bool SaveCurrent();
    const Race* CurrentRace() const;

    RaceList races_;
    std::vector<std::string> fancierRecords_;
    ManualLoft loft_;
    bool hasLoft_ = false;
    int shownRace_ = -1;

    QComboBox* race_ = nullptr;    // Combo1
    QComboBox* fancier_ = nullptr; // Combo2
    QComboBox* pigeon_ = nullptr;  // Combo3
    std::array<RangeField*, 5> arrival_{};                // Text1 to Text5
    std::array<RangeField*, kTimerValueCount> timer_{};   // Text6 to Text18
    QPushButton* addRemove_ = nullptr; // Command1
    QLabel* counter_ = nullptr;        // Label16
};

} // namespace plumet::ui
