#include "ui/race/pagestoprintdialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/textcodec.h"
#include "core/app/fieldrules.h"
#include "core/race/resultlayout.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {

PagesToPrintDialog::PagesToPrintDialog(QWidget* parent) : DialogBase("frmRaceCalcPagesToPrint", parent) {
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox("Print range", this);
    frame->setObjectName("Frame1");
    layout->addWidget(frame);
    auto* grid = new QGridLayout(frame);
    const FixedField::Rules pageBox{4, DigitKey, nullptr, false};
    first_ = new FixedField(pageBox, frame);
    first_->setObjectName("Text1");
    last_ = new FixedField(pageBox, frame);
    last_->setObjectName("Text2");
    for (FixedField* box : {first_, last_}) box->SetSizing(FixedField::Sizing::Compact);
    AddLabelled(grid, 0, "Label1", "From page:", first_);
    AddLabelled(grid, 1, "Label2", "To page:", last_);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch(1);
    auto* print = AddButton(buttons, "Command1", "Print");
    print->setDefault(true);
    auto* cancel = AddButton(buttons, "Command2", "Cancel");
    connect(print, &QPushButton::clicked, this, &PagesToPrintDialog::Confirm);
    connect(cancel, &QPushButton::clicked, this, &PagesToPrintDialog::reject);
    Load();
}

void PagesToPrintDialog::SetPageRange(std::size_t lowest, std::size_t highest) {
    lowest_ = lowest;
    highest_ = highest;
    first_->setText(QString::number(lowest));
    last_->setText(QString::number(highest));
}

void PagesToPrintDialog::Confirm() {
    const PageRangeCheck check = CheckPageRange(first_->Bytes(), last_->Bytes(), lowest_, highest_);
    if (check.message != 0) {
        QString text = Texts().Text("MsgBoxText" + QString::number(check.message));
        if (check.message >= 3) text += "\n" + ToQt(PageRangeHint(lowest_, highest_));
        ShowMessage(this, MessageIcon::Critical, Texts().Text("MsgBoxName" + QString::number(check.message)), text);
        FixedField* focus = check.focus == 2 ? last_ : first_;
        focus->setFocus();
        return;
    }
    chosen_ = {check.first, check.last, true};
    accept();
}

} // namespace plumet::ui
