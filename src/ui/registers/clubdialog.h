#pragma once
// frmClubAdd, frmClubAlter and frmClubDelete: one form, three modes.
#include "core/registers/clubs.h"
#include "ui/app/dialogbase.h"

namespace plumet::ui {

class FixedField;
class MainWindow;

class ClubDialog : public DialogBase {
    Q_OBJECT
public:
    using Mode = RegisterMode;

    ClubDialog(MainWindow* mainWindow, Mode mode);

    // Command1: Save, or Delete.
    void Confirm();

private:
    ClubFields TypedFields() const;

    MainWindow* main_;
    Mode mode_;
    ClubTable table_;
    FixedField* number_;
    FixedField* name_;
    FixedField* note_;
};

} // namespace plumet::ui
