#include "ui/registers/clubdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "ui/app/actionoutcome.h"
#include "ui/app/mainwindow.h"
#include "ui/app/writelock.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {

ClubDialog::ClubDialog(MainWindow* mainWindow, Mode mode)
    : DialogBase(RegisterFormName("frmClub", mode), mainWindow), main_(mainWindow), mode_(mode) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    number_ = new FixedField({static_cast<int>(kClubNumberLength), DigitKey, NumberOnLeave, true}, this);
    name_ = new FixedField(FixedField::Text(static_cast<int>(kClubNameLength), true), this);
    note_ = new FixedField(FixedField::Text(static_cast<int>(kClubNoteLength), true), this);
    number_->setObjectName("Text1");
    name_->setObjectName("Text2");
    note_->setObjectName("Text3");
    number_->SetSizing(FixedField::Sizing::Compact);
    for (FixedField* text : {name_, note_}) text->SetSizing(FixedField::Sizing::Whole);
    AddLabelled(grid, 0, "Label1", "Number :", number_);
    AddLabelled(grid, 1, "Label2", "Name :", name_);
    AddLabelled(grid, 2, "Label3", "Note :", note_);

    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    layout->addLayout(buttons);
    QPushButton* confirm = AddButton(buttons, "Command1", mode == Mode::Delete ? "Delete" : "Save");
    confirm->setDefault(true);
    connect(confirm, &QPushButton::clicked, this, &ClubDialog::Confirm);
    connect(AddButton(buttons, "Command2", "Cancel"), &QPushButton::clicked, this, &ClubDialog::reject);

    LoadClubs(table_, ClubFilePath(App().programFolder));
    if (mode != Mode::Add) {
        const ClubFields shown = CurrentClubFields(table_, main_->SelectedClubNumber).value_or(ClubFields{});
        number_->SetBytes(shown.number);
        name_->SetBytes(shown.name);
        note_->SetBytes(shown.note);
    }
    if (mode == Mode::Delete)
        for (FixedField* field : {number_, name_, note_}) field->setReadOnly(true);
    Load();
}

ClubFields ClubDialog::TypedFields() const { return {number_->Bytes(), name_->Bytes(), note_->Bytes()}; }

void ClubDialog::Confirm() {
    const Path& folder = App().programFolder;
    switch (mode_) {
    case Mode::Add: {
        const auto result = UnderWriteLock(this, [&] { return SaveAddedClub(table_, folder, TypedFields()); });
        if (!result || !ReportOutcome(this, *result)) return;
        main_->VereineAnzeigen();
        break;
    }
    case Mode::Alter: {
        main_->RememberListPosition();
        const auto result = UnderWriteLock(
            this, [&] { return SaveAlteredClub(table_, folder, main_->SelectedClubNumber, TypedFields()); });
        if (!result || !ReportOutcome(this, *result)) return;
        main_->VereineAnzeigen();
        main_->RestoreListPosition();
        break;
    }
    case Mode::Delete: {
        main_->RememberListPosition();
        const auto result =
            UnderWriteLock(this, [&] { return DeleteCurrentClub(table_, folder, main_->SelectedClubNumber); });
        if (!result || !ReportOutcome(this, *result)) return;
        main_->VereineAnzeigen();
        main_->RestoreListPosition();
        break;
    }
    }
    accept();
}

} // namespace plumet::ui
