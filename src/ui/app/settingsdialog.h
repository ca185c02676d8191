#pragma once
// frmSet: region, federation, port, window size, which of the hidden menus to show, and the
// limits of the race check sheet.
#include "ui/app/dialogbase.h"

class QCheckBox;
class QListWidget;
class QRadioButton;
class QSpinBox;

namespace plumet::ui {

class FixedField;
class MainWindow;

class SettingsDialog : public DialogBase {
    Q_OBJECT
public:
    explicit SettingsDialog(MainWindow* mainWindow);

    // The id of the ticked port entry; "" when none is ticked.
    std::string SelectedPort() const;
    float CurrentFactor() const { return currentFactor_; }

    void Save();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CheckStoredPort();
    void TickOnly(int row);
    void ChooseSize(int choice);

    MainWindow* main_;
    FixedField* regionNumber_;
    FixedField* regionName_;
    FixedField* federationNumber_;
    FixedField* federationName_;
    QListWidget* ports_;
    QRadioButton* sizes_[3];
    QCheckBox* showRaceEvaluation_;      // Check1
    QCheckBox* showTerminalProgramLoad_; // Check2
    QSpinBox* limits_[3];                // Text5 to Text7: clock deviation, slowest and fastest speed
    int sizeChoice_ = 1;
    float currentFactor_ = 1.0F;
    bool portChecked_ = false;
};

} // namespace plumet::ui
