#pragma once
// frmClubChange: moves the current fancier to another club or number.
#include "ui/app/dialogbase.h"

namespace plumet::ui {

class FixedField;
class MainWindow;

class ClubChangeDialog : public DialogBase {
    Q_OBJECT
public:
    explicit ClubChangeDialog(MainWindow* mainWindow);

    // Command1.
    void Save();

private:
    MainWindow* main_;
    FixedField* club_;    // Text1
    FixedField* fancier_; // Text2
};

} // namespace plumet::ui
