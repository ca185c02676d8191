#include "ui/registers/clubchangedialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/registers/clubchange.h"
#include "ui/app/mainwindow.h"
#include "ui/app/writelock.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {

ClubChangeDialog::ClubChangeDialog(MainWindow* mainWindow) : DialogBase("frmClubChange", mainWindow), main_(mainWindow) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    const FixedField::Rules number{3, DigitKey, ClubChangeNumberOnLeave, false};
    club_ = new FixedField(number, this);
    club_->setObjectName("Text1");
    fancier_ = new FixedField(number, this);
    fancier_->setObjectName("Text2");
    AddLabelled(grid, 0, "Label1", "New club number :", club_);
    AddLabelled(grid, 1, "Label2", "New fancier number :", fancier_);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch();
    QPushButton* save = AddButton(buttons, "Command1", "Save");
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, &ClubChangeDialog::Save);
    connect(AddButton(buttons, "Command2", "Cancel"), &QPushButton::clicked, this, &ClubChangeDialog::reject);

    club_->SetBytes(main_->SelectedClubNumber);
    fancier_->SetBytes(main_->SelectedFancierNumber);
    Load();
}

void ClubChangeDialog::Save() {
    club_->ApplyLeaveRule();
    fancier_->ApplyLeaveRule();
    const auto changed = UnderWriteLock(this, [&] {
        return ChangeClub(App().programFolder, main_->SelectedClubNumber, main_->SelectedFancierNumber,
                          {club_->Bytes(), fancier_->Bytes()});
    });
    if (!changed) return;
    const ClubChangeResult& result = *changed;
    if (result.message != 0) {
        texts_.ShowNumbered(result.message);
        if (auto* field = findChild<FixedField*>(QString::fromStdString(result.focusField))) {
            field->setFocus();
            field->selectAll();
        }
        return;
    }
    if (!result.saved) ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(result.saved.error));
    if (!result.moved) return;
    main_->VereineAnzeigen();
    accept();
}

} // namespace plumet::ui
