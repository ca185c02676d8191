#include "ui/releasepoints/racepointdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/fixedwidth.h"
#include "ui/app/actionoutcome.h"
#include "ui/app/mainwindow.h"
#include "ui/app/writelock.h"
#include "ui/widgets/coordinaterow.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {

RacePointDialog::RacePointDialog(MainWindow* mainWindow, Mode mode)
    : DialogBase(RegisterFormName("frmRacePoints", mode), mainWindow), main_(mainWindow), mode_(mode) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    number_ = new FixedField({static_cast<int>(kRacePointNumberLength), DigitKey, NumberOnLeave, false}, this);
    number_->setObjectName("Text1");
    number_->SetSizing(FixedField::Sizing::Compact);
    name_ = new FixedField({static_cast<int>(kRacePointNameLength), RacePointTextKey, PaddedIfNotEmpty, false}, this);
    name_->setObjectName("Text2");
    place_ = new FixedField({static_cast<int>(kRacePointPlaceLength), RacePointTextKey, PaddedIfNotEmpty, false}, this);
    place_->setObjectName("Text3");
    latitude_ =
        new CoordinateRow({Axis::Latitude, LatitudeSignKey, RacePointSignOnLeave, false, RacePointFieldName}, this);
    longitude_ =
        new CoordinateRow({Axis::Longitude, LongitudeSignKey, RacePointSignOnLeave, false, RacePointFieldName}, this);

    for (FixedField* text : {name_, place_}) text->SetSizing(FixedField::Sizing::Whole);
    AddLabelled(grid, 0, "Label1", "Number :", number_);
    AddLabelled(grid, 1, "Label2", "Name :", name_);
    AddLabelled(grid, 2, "Label3", "Place :", place_);
    AddLabelled(grid, 3, "Label4", "Latitude :", latitude_);
    AddLabelled(grid, 4, "Label5", "Longitude :", longitude_);

    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    layout->addLayout(buttons);
    const char* confirm = mode == Mode::Add ? "Add" : mode == Mode::Alter ? "Save" : "Delete";
    QPushButton* command1 = AddButton(buttons, "Command1", confirm);
    command1->setDefault(true);
    connect(command1, &QPushButton::clicked, this, &RacePointDialog::Confirm);
    connect(AddButton(buttons, "Command2", "Cancel"), &QPushButton::clicked, this, &RacePointDialog::reject);

    loadProblem_ = LoadRacePoints(table_, RacePointFilePath(App().programFolder)).problem;
    if (mode == Mode::Add) {
        ShowFields(NewRacePointFields(), true);
        connect(number_, &QLineEdit::textChanged, this, &RacePointDialog::NumberChanged);
    } else {
        ShowFields(CurrentRacePointFields(table_, main_->SelectedRacePointNumber).value_or(NewRacePointFields()), true);
        number_->setReadOnly(true);
    }
    if (mode == Mode::Delete) {
        for (FixedField* field : {name_, place_}) field->setReadOnly(true);
        latitude_->SetReadOnly(true);
        longitude_->SetReadOnly(true);
    }
    Load();
}

void RacePointDialog::showEvent(QShowEvent* event) {
    DialogBase::showEvent(event);
    // A register file that was refused stays as it is; the user learns why once the form is up.
    if (!problemShown_ && !loadProblem_.empty()) {
        problemShown_ = true;
        QTimer::singleShot(0, this, [this] { ReportSaveError(this, {false, loadProblem_}); });
    }
}

void RacePointDialog::ShowFields(const RacePointFields& fields, bool withNumber) {
    if (withNumber) number_->SetBytes(fields.number);
    name_->SetBytes(fields.name);
    place_->SetBytes(fields.place);
    latitude_->SetFields(fields.position.latitude);
    longitude_->SetFields(fields.position.longitude);
}

void RacePointDialog::NumberChanged() {
    if (const auto shown = RacePointForTypedNumber(table_, ToBytes(number_->text()))) ShowFields(*shown, false);
}

RacePointFields RacePointDialog::TypedFields() const {
    return {number_->Bytes(), name_->Bytes(), place_->Bytes(), {latitude_->Fields(), longitude_->Fields()}};
}

void RacePointDialog::Confirm() {
    const Path& folder = App().programFolder;
    switch (mode_) {
    case Mode::Add:
        if (const auto result = UnderWriteLock(this, [&] { return SaveAddedRacePoint(table_, folder, TypedFields()); });
            !result || !ReportOutcome(this, *result))
            return;
        main_->RacePointsAnzeigen();
        ScrollToSaved();
        return; // stays open for the next release point
    case Mode::Alter:
        main_->RememberListPosition();
        if (const auto result = UnderWriteLock(this, [&] { return SaveAlteredRacePoint(table_, folder, TypedFields()); });
            !result || !ReportOutcome(this, *result))
            return;
        break;
    case Mode::Delete:
        main_->RememberListPosition();
        if (const auto result = UnderWriteLock(
                this, [&] { return DeleteCurrentRacePoint(table_, folder, main_->SelectedRacePointNumber); });
            !result || !ReportOutcome(this, *result))
            return;
        break;
    }
    main_->RacePointsAnzeigen();
    main_->RestoreListPosition();
    accept();
}

void RacePointDialog::ScrollToSaved() {
    const auto number = ParseInteger(number_->Bytes());
    const auto top = RacePointListTopIndex(number ? static_cast<int>(*number) : 0);
    QListWidget* list = main_->List();
    if (top && *top < list->count()) list->scrollToItem(list->item(*top), QAbstractItemView::PositionAtTop);
}

} // namespace plumet::ui
