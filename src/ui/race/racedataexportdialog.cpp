#include "ui/race/racedataexportdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/fieldrules.h"
#include "core/app/timesource.h"
#include "core/app/weeks.h"
#include "core/race/xmlexport.h"
#include "core/app/catalogue.h"
#include "ui/app/mainwindow.h"
#include "ui/app/writelock.h"
#include "ui/clock/storepathselect.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {
namespace {

const FixedField::Rules kTwoDigits{2, DigitKey, ZeroFilledOnLeave, false};

} // namespace

RaceDataExportDialog::RaceDataExportDialog(MainWindow* mainWindow)
    : DialogBase("frmRaceDataExportToXML", mainWindow), week_(new FixedField(kTwoDigits, this)),
      point_(new FixedField(kTwoDigits, this)) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    week_->setObjectName("Text1");
    point_->setObjectName("Text2");
    for (FixedField* field : {week_, point_})
        field->setMaximumWidth(field->fontMetrics().horizontalAdvance("0000") + 16);
    AddLabelled(grid, 0, "Label1", "Week :", week_);
    AddLabelled(grid, 1, "Label2", "Racepoint :", point_);
    grid->setAlignment(week_, Qt::AlignLeft);
    grid->setAlignment(point_, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    QPushButton* exportHere = AddButton(buttons, "Command1", "Export");
    exportHere->setDefault(true);
    connect(exportHere, &QPushButton::clicked, this, &RaceDataExportDialog::ExportHere);
    connect(AddButton(buttons, "Command3", "Export to ..."), &QPushButton::clicked, this,
            &RaceDataExportDialog::ExportToFolder);
    connect(AddButton(buttons, "Command2", "Close"), &QPushButton::clicked, this, &QDialog::reject);

    Load();
    week_->SetBytes(WeekText(SystemTimeSource().Now()));
    point_->SetBytes("00");
}

std::optional<Path> RaceDataExportDialog::Source() {
    week_->ApplyLeaveRule();
    point_->ApplyLeaveRule();
    const auto source = XmlExportSource(App().programFolder, App().settings, week_->Bytes(), point_->Bytes());
    if (!source) texts_.ShowNumbered(kXmlNoSourceFile);
    return source;
}

void RaceDataExportDialog::ExportHere() {
    if (const auto source = Source()) Export(*source, App().programFolder);
}

void RaceDataExportDialog::ExportToFolder() {
    const auto source = Source();
    if (!source) return;
    const QString folder =
        StoreRacedataPathSelect::Choose(this, QString::fromStdU16String(App().programFolder.u16string()));
    if (folder.isEmpty()) {
        texts_.ShowNumbered(kXmlNoFolderChosen, MessageIcon::Information);
        return;
    }
    Export(*source, Path(folder.toStdU16String()));
}

void RaceDataExportDialog::Export(const Path& source, const Path& folder) {
    const auto exported =
        UnderWriteLock(this, [&] { return ExportReadoutToXml(source, folder, LocalUtcOffsetMinutes); });
    if (!exported) return;
    if (!exported->saved) {
        ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(exported->saved.error));
        return;
    }
    TellWritten(this, QString::fromStdU16String(exported->output.u16string()));
    texts_.ShowNumbered(kXmlExported, MessageIcon::Information);
}

} // namespace plumet::ui
