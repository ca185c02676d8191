#include "ui/registers/fancierdialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "ui/app/actionoutcome.h"
#include "ui/app/mainwindow.h"
#include "ui/app/writelock.h"
#include "ui/widgets/coordinaterow.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {

FancierDialog::FancierDialog(MainWindow* mainWindow, Mode mode)
    : DialogBase(RegisterFormName("frmFancier", mode), mainWindow), main_(mainWindow), mode_(mode) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    number_ = new FixedField({static_cast<int>(kFancierNumberLength), DigitKey, NumberOnLeave, true}, this);
    number_->setObjectName("Text1");
    number_->SetSizing(FixedField::Sizing::Compact);
    name_ = new FixedField(FixedField::Text(static_cast<int>(kFancierNameLength), true), this);
    name_->setObjectName("Text2");
    latitude_ =
        new CoordinateRow({Axis::Latitude, LoftLatitudeSignKey, LoftLatitudeSignOnLeave, true, FancierFieldName}, this);
    longitude_ = new CoordinateRow(
        {Axis::Longitude, LoftLongitudeSignKey, LoftLongitudeSignOnLeave, true, FancierFieldName}, this);
    manualClocking_ = new QCheckBox("manuell konstatierend", this);
    manualClocking_->setObjectName("Check1");
    note_ = new FixedField(FixedField::Text(static_cast<int>(kFancierNoteLength), true), this);
    note_->setObjectName("Text5");

    for (FixedField* text : {name_, note_}) text->SetSizing(FixedField::Sizing::Whole);
    AddLabelled(grid, 0, "Label1", "Number :", number_);
    AddLabelled(grid, 1, "Label2", "Name :", name_);
    AddLabelled(grid, 2, "Label6", "Latitude :", latitude_);
    AddLabelled(grid, 3, "Label7", "Longitude :", longitude_);
    grid->addWidget(manualClocking_, 4, 1);
    AddLabelled(grid, 5, "Label3", "Note :", note_);

    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    layout->addLayout(buttons);
    QPushButton* confirm = AddButton(buttons, "Command1", mode == Mode::Delete ? "Delete" : "Save");
    confirm->setDefault(true);
    connect(confirm, &QPushButton::clicked, this, &FancierDialog::Confirm);
    connect(AddButton(buttons, "Command2", "Cancel"), &QPushButton::clicked, this, &FancierDialog::reject);

    LoadFanciers(table_, FancierFilePath(App().programFolder, main_->SelectedClubNumber));
    if (mode == Mode::Add) {
        ShowFields(NewFancierFields());
    } else {
        ShowFields(CurrentFancierFields(table_, main_->SelectedFancierNumber).value_or(FancierFields{}));
    }
    if (mode == Mode::Delete) {
        for (FixedField* field : {number_, name_, note_}) field->setReadOnly(true);
        latitude_->SetReadOnly(true);
        longitude_->SetReadOnly(true);
        manualClocking_->setEnabled(false);
    }
    Load();
}

void FancierDialog::ShowFields(const FancierFields& fields) {
    number_->SetBytes(fields.number);
    name_->SetBytes(fields.name);
    latitude_->SetFields(fields.loft.latitude);
    longitude_->SetFields(fields.loft.longitude);
    manualClocking_->setChecked(fields.manualClocking);
    note_->SetBytes(fields.note);
}

FancierFields FancierDialog::TypedFields() const {
    return {number_->Bytes(),
            name_->Bytes(),
            {latitude_->Fields(), longitude_->Fields()},
            manualClocking_->isChecked(),
            note_->Bytes()};
}

void FancierDialog::Confirm() {
    const Path& folder = App().programFolder;
    const std::string& club = main_->SelectedClubNumber;
    switch (mode_) {
    case Mode::Add:
        if (const auto result = UnderWriteLock(this, [&] { return SaveAddedFancier(table_, folder, club, TypedFields()); });
            result && ReportOutcome(this, *result)) {
            main_->ZuechterAnzeigen();
            accept();
        }
        return;
    case Mode::Alter: {
        main_->RememberListPosition();
        const auto result = UnderWriteLock(this, [&] {
            return SaveAlteredFancier(table_, folder, club, main_->SelectedFancierNumber, TypedFields());
        });
        if (!result || !ReportOutcome(this, *result)) return;
        main_->ZuechterAnzeigen();
        main_->RestoreListPosition();
        accept();
        return;
    }
    case Mode::Delete: DeleteSelected(); return;
    }
}

void FancierDialog::DeleteSelected() {
    const std::vector<int> lines = main_->SelectedLines();
    if (FancierDeleteAsks(lines.size())) {
        if (Texts().AskInTwoLines(kFancierDeleteQuestion) == MessageAnswer::Cancel) {
            reject();
            return;
        }
    }
    main_->RememberListPosition();
    const auto result = UnderWriteLock(
        this, [&] { return DeleteSelectedFanciers(table_, App().programFolder, main_->SelectedClubNumber, lines); });
    if (!result) return;
    // The list shows what is on disk now: when only a pigeon file could not be deleted,
    // the fanciers are gone all the same, and a second Delete would hit other lines.
    main_->ZuechterAnzeigen();
    main_->RestoreListPosition();
    ReportOutcome(this, *result);
    accept();
}

} // namespace plumet::ui
