#pragma once
// frmRaceAdd: the race editor, in mode Add (a new race from the defaults) or Alter (one race
// of the list).
#include <cstddef>
#include <vector>

#include "core/race/raceentry.h"
#include "core/race/races.h"
#include "core/releasepoints/releasepoints.h"
#include "ui/app/dialogbase.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

namespace plumet::ui {

class FixedField;
class RangeField;

class RaceEditDialog : public DialogBase {
    Q_OBJECT
public:
    enum class Mode { Add, Alter };

    // Add: the values a new race starts with, and the race list if there is one.
    explicit RaceEditDialog(QWidget* parent);
    // Alter: race `number` of `races`.
    RaceEditDialog(QWidget* parent, RaceList races, std::size_t number);

    Mode EditMode() const { return mode_; }
    const RaceList& Races() const { return races_; }
    // Whether Store was refused because another task changed the race meanwhile.
    bool ListChanged() const { return listChanged_; }

    // Command2: stores the race in the list; Command1: saves it as the default race.
    void Store();
    void SaveAsDefault();

private:
    void Build();
    void Show(const Race& race);
    RaceEditorFields Fields() const;
    bool FieldsAcceptable() const;
    void ShowUnit(int unit);
    void FollowNights();

    Mode mode_;
    RaceList races_;
    std::size_t number_ = 0;
    bool listChanged_ = false;
    RacePointTable points_;
    std::vector<ListItem> clubs_;
    std::vector<ListItem> racePoints_;

    FixedField* name_ = nullptr;          // Text1
    QDateEdit* date_ = nullptr;           // DTPicker1
    QComboBox* club_ = nullptr;           // Combo1
    QComboBox* racePoint_ = nullptr;      // Combo2
    RangeField* releaseHour_ = nullptr;   // Text2
    RangeField* releaseMinute_ = nullptr; // Text3
    RangeField* fromHour_ = nullptr;      // Text4
    RangeField* fromMinute_ = nullptr;    // Text5
    RangeField* toHour_ = nullptr;        // Text6
    RangeField* toMinute_ = nullptr;      // Text7
    FixedField* nights_ = nullptr;        // Text8
    RangeField* week_ = nullptr;          // Text9
    FixedField* header_ = nullptr;        // Text12
    FixedField* footer_ = nullptr;        // Text13
    QComboBox* unit_ = nullptr;           // Combo3
    FixedField* meanDistance_ = nullptr;  // Text14
    QLabel* unitLabel_ = nullptr;         // Label13
    QPushButton* store_ = nullptr;        // Command2
    QPushButton* saveDefault_ = nullptr;  // Command1
};

} // namespace plumet::ui
