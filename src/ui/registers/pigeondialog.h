#pragma once
// frmPigeonsAdd, frmPigeonsAlter and frmPigeonsDelete: one form for the pigeons of the
// current fancier. Add has the ring format options, the previews and the series count;
// Alter lets only sex and colour change; Delete shows the pigeon.
#include <QDate>
#include <array>
#include <cstddef>
#include <vector>

#include "core/registers/pigeons.h"
#include "ui/app/dialogbase.h"

class QGridLayout;
class QLabel;
class QRadioButton;
class QVBoxLayout;

namespace plumet::ui {

class FixedField;
class MainWindow;

using PigeonDialogMode = RegisterMode;

class PigeonDialog : public DialogBase {
    Q_OBJECT
public:
    PigeonDialog(MainWindow* mainWindow, PigeonDialogMode mode, int currentYear = QDate::currentDate().year());

    FixedField* Field(PigeonField field) const { return fields_[static_cast<std::size_t>(field)]; }
    // The ring format whose option is selected (Add).
    int SelectedFormat() const { return selectedFormat_; }

    // Command1 of each mode.
    void Add();
    void Save();
    void Delete();


private:
    void BuildRingFields(QVBoxLayout* column);
    void BuildFormatFrame(QGridLayout* layout);
    void AlignFieldColumns();
    PigeonFields ReadFields() const;
    void ShowFields(const PigeonFields& fields);
    void FieldLeft(PigeonField field);
    void ChooseFormat(int format);
    // `pickFormat`: a field was left or an option chosen, so a listed nation brings its format.
    void RefreshPreviews(bool pickFormat);
    void ShowFailedSave(const SaveResult& saved);
    void FinishChange(const SaveResult& saved);
    std::vector<std::size_t> SlotsToDelete() const;

    MainWindow* main_;
    PigeonDialogMode mode_;
    int currentYear_;
    SexCharacters sexes_;
    PigeonTable table_;
    Path file_;
    std::size_t slot_ = 0; // the current pigeon (Alter, Delete)
    std::array<FixedField*, 7> fields_{};
    std::array<QRadioButton*, kRingFormatCount> options_{};
    QLabel* displayPreview_ = nullptr;  // Label9
    QLabel* templatePreview_ = nullptr; // Label11
    int selectedFormat_ = 0;
};

} // namespace plumet::ui
