#pragma once
// frmRacePointsAdd, frmRacePointsAlter and frmRacePointsDelete: one form, three modes.
#include "core/releasepoints/releasepoints.h"
#include "ui/app/dialogbase.h"

namespace plumet::ui {

class CoordinateRow;
class FixedField;
class MainWindow;

class RacePointDialog : public DialogBase {
    Q_OBJECT
public:
    using Mode = RegisterMode;

    RacePointDialog(MainWindow* mainWindow, Mode mode);

    // Command1: Add, Save, or Delete.
    void Confirm();

protected:
    void showEvent(QShowEvent* event) override;

private:
    RacePointFields TypedFields() const;
    void ShowFields(const RacePointFields& fields, bool withNumber);
    void NumberChanged();
    void ScrollToSaved();

    MainWindow* main_;
    Mode mode_;
    RacePointTable table_;
    std::string loadProblem_;
    bool problemShown_ = false;
    FixedField* number_;
    FixedField* name_;
    FixedField* place_;
    CoordinateRow* latitude_;
    CoordinateRow* longitude_;
};

} // namespace plumet::ui
