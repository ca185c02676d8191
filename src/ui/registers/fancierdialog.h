#pragma once
// frmFancierAdd, frmFancierAlter and frmFancierDelete: one form, three modes, on the
// fanciers of the main window's current club.
#include "core/registers/fanciers.h"
#include "ui/app/dialogbase.h"

class QCheckBox;

namespace plumet::ui {

class CoordinateRow;
class FixedField;
class MainWindow;

class FancierDialog : public DialogBase {
    Q_OBJECT
public:
    using Mode = RegisterMode;

    FancierDialog(MainWindow* mainWindow, Mode mode);

    // Command1: Save, or Delete.
    void Confirm();
    // Add shows the fancier list again however it closes.

private:
    FancierFields TypedFields() const;
    void ShowFields(const FancierFields& fields);
    void DeleteSelected();

    MainWindow* main_;
    Mode mode_;
    FancierTable table_;
    FixedField* number_;
    FixedField* name_;
    CoordinateRow* latitude_;
    CoordinateRow* longitude_;
    QCheckBox* manualClocking_;
    FixedField* note_;
};

} // namespace plumet::ui
