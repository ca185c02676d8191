#pragma once
// frmEnterDistances: the distance table of a club, pair by pair of fancier and release point.
#include <vector>

#include "core/race/distances.h"
#include "core/race/racelists.h"
#include "ui/app/dialogbase.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace plumet::ui {

class FixedField;

class EnterDistancesDialog : public DialogBase {
    Q_OBJECT
public:
    // `decimalSeparator`: the decimal symbol of the user's locale, written into the file.
    explicit EnterDistancesDialog(QWidget* parent, char32_t decimalSeparator);
    explicit EnterDistancesDialog(QWidget* parent);

    const DistanceTable& Table() const { return table_; }

    // Command1: stores the shown distance, then moves on as the check boxes say.
    void StoreAndAdvance();
    // OKButton: stores and closes.
    void StoreAndClose();

private:
    void ChooseClub();
    void ShowPair();
    void ChooseUnit(int unitFlag);
    void SetUnitTexts(int unitFlag);
    bool Store();
    int CurrentUnit() const;
    void FollowLists();

    char separator_;
    DistanceTable table_;
    std::vector<ListItem> clubs_;
    std::vector<ListItem> fanciers_;
    std::vector<ListItem> racePoints_;

    QComboBox* club_ = nullptr;        // Combo1
    QComboBox* fancier_ = nullptr;     // Combo2
    QComboBox* racePoint_ = nullptr;   // Combo3
    QRadioButton* km_ = nullptr;       // Option3
    QRadioButton* miles_ = nullptr;    // Option4
    FixedField* whole_ = nullptr;      // Text1
    FixedField* part_ = nullptr;       // Text2
    QLabel* wholeUnit_ = nullptr;      // Label6
    QLabel* partUnit_ = nullptr;       // Label7
    QCheckBox* nextFancier_ = nullptr; // Check1
    QCheckBox* nextPoint_ = nullptr;   // Check2
    QPushButton* store_ = nullptr;     // Command1
};

} // namespace plumet::ui
