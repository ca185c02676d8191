#include "ui/registers/pigeondialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/fixedwidth.h"
#include "ui/app/mainwindow.h"
#include "ui/app/writelock.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {
namespace {

struct FieldInfo {
    PigeonField field;
    const char* name;
    const char* label;
    const char* caption;
    int width;
    KeyFilter keys;
};

constexpr int WidthOf(Column column) { return static_cast<int>(column.width()); }

constexpr FieldInfo kRingFields[] = {
    {PigeonField::Nation, "Text1", "Label1", "Land :", WidthOf(PigeonColumn::Nation), NationKey},
    {PigeonField::Year, "Text2", "Label2", "Year :", WidthOf(PigeonColumn::Year), YearKey},
    {PigeonField::Organisation, "Text3", "Label3", "Federation :", WidthOf(PigeonColumn::Organisation),
     OrganisationKey},
    {PigeonField::RingNumber, "Text4", "Label4", "Current No. :", WidthOf(PigeonColumn::RingNumber), RingNumberKey},
    {PigeonField::Sex, "Text5", "Label5", "Sex:", WidthOf(PigeonColumn::Sex), SexKey},
};
constexpr FieldInfo kColourField = {PigeonField::Colour, "Text7", "Label7", "Colour :", WidthOf(PigeonColumn::Colour),
                                    ColourKey};
constexpr FieldInfo kCountField = {PigeonField::Count, "Text6", "Label6", "Count :", 4, CountKey};

bool Editable(PigeonDialogMode mode, PigeonField field) {
    if (mode == PigeonDialogMode::Add) return true;
    return mode == PigeonDialogMode::Alter && (field == PigeonField::Sex || field == PigeonField::Colour);
}

QFont FixedPitchFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QLabel* DataLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setProperty(kNoCaptionProperty, true);
    label->setTextFormat(Qt::PlainText);
    label->setFont(FixedPitchFont());
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString(kRingTextLength + 2, QChar('W'))));
    return label;
}

} // namespace

PigeonDialog::PigeonDialog(MainWindow* mainWindow, PigeonDialogMode mode, int currentYear)
    : DialogBase(RegisterFormName("frmPigeons", mode), mainWindow),
      main_(mainWindow),
      mode_(mode),
      currentYear_(currentYear) {
    sexes_ = SexCharactersFromTexts(ToBytes(main_->Text("MaleSex")), ToBytes(main_->Text("FemaleSex")),
                                    ToBytes(main_->Text("NoSex")));
    UseSexCharacters(sexes_);

    auto* layout = new QGridLayout(this);
    auto* column = new QVBoxLayout;
    layout->addLayout(column, 0, 0);
    BuildRingFields(column);
    if (mode_ == PigeonDialogMode::Add) BuildFormatFrame(layout);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    layout->addLayout(buttons, 1, 0, 1, layout->columnCount());
    const char* const confirm[] = {"Add", "Save", "Delete"};
    auto* command1 = AddButton(buttons, "Command1", confirm[static_cast<int>(mode_)]);
    command1->setDefault(true);
    connect(AddButton(buttons, "Command2", "Cancel"), &QPushButton::clicked, this, &PigeonDialog::reject);
    switch (mode_) {
    case PigeonDialogMode::Add: connect(command1, &QPushButton::clicked, this, &PigeonDialog::Add); break;
    case PigeonDialogMode::Alter: connect(command1, &QPushButton::clicked, this, &PigeonDialog::Save); break;
    case PigeonDialogMode::Delete: connect(command1, &QPushButton::clicked, this, &PigeonDialog::Delete); break;
    }

    file_ = PigeonFilePath(App().programFolder, main_->SelectedClubNumber, main_->SelectedFancierNumber);
    LoadPigeons(table_, file_);
    if (mode_ == PigeonDialogMode::Add) {
        ShowFields(NewPigeonFields(currentYear_));
    } else {
        const auto number = ParseInteger(main_->SelectedPigeonNumber);
        if (number && *number >= 1 && static_cast<std::size_t>(*number) <= table_.Count()) {
            slot_ = static_cast<std::size_t>(*number);
            ShowFields(PigeonFieldsOf(table_.Record(slot_)));
        }
    }
    Load();
    AlignFieldColumns();
}

void PigeonDialog::AlignFieldColumns() {
    // The frames lay out their fields apart; one label width lines them up across the frames.
    QList<QLabel*> labels;
    int width = 0;
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7"})
        if (auto* label = findChild<QLabel*>(name)) {
            labels << label;
            width = qMax(width, label->sizeHint().width());
        }
    for (QLabel* label : labels) label->setMinimumWidth(width);
    // Fields of one to seven characters look their size; the fonts are final only now.
    for (FixedField* field : fields_)
        if (field)
            field->setMaximumWidth(qMax(field->minimumWidth(),
                                        field->fontMetrics().horizontalAdvance(QString(field->maxLength() + 1, 'W')) + 12));
}

void PigeonDialog::BuildRingFields(QVBoxLayout* column) {
    auto addFrame = [this, column](const QString& name, const QString& caption) {
        auto* frame = new QGroupBox(caption, this);
        frame->setObjectName(name);
        column->addWidget(frame);
        auto* grid = new QGridLayout(frame);
        grid->setColumnStretch(1, 1);
        return grid;
    };
    auto addField = [this](QGridLayout* grid, int row, const FieldInfo& info) {
        const bool editable = Editable(mode_, info.field);
        auto* field = new FixedField({info.width, info.keys, nullptr, editable}, this);
        field->setObjectName(info.name);
        field->setReadOnly(!editable);
        AddLabelled(grid, row, info.label, info.caption, field);
        grid->setAlignment(field, Qt::AlignLeft); // as wide as its few characters, not the frame
        fields_[static_cast<std::size_t>(info.field)] = field;
        if (!editable) return;
        connect(field, &FixedField::left, this, [this, which = info.field] { FieldLeft(which); });
        // The previews follow every key; the format waits for the field to be left, or a nation
        // retyped through its prefixes ("", "X" …) would end on a format the user never chose.
        if (mode_ == PigeonDialogMode::Add)
            connect(field, &QLineEdit::textEdited, this, [this] { RefreshPreviews(false); });
    };

    QGridLayout* ring = addFrame("Frame1", "Federation ring");
    int row = 0;
    for (const FieldInfo& info : kRingFields) addField(ring, row++, info);
    addField(addFrame("Frame3", "Colour of the pigeon"), 0, kColourField);
    if (mode_ == PigeonDialogMode::Add) addField(addFrame("Frame2", "Row"), 0, kCountField);
    column->addStretch();
}

void PigeonDialog::BuildFormatFrame(QGridLayout* layout) {
    auto* frame = new QGroupBox("Availiable ringformats", this);
    frame->setObjectName("Frame4");
    layout->addWidget(frame, 0, 1);
    auto* grid = new QGridLayout(frame);
    auto* group = new QButtonGroup(this);
    for (int format = 0; format < kRingFormatCount; ++format) {
        auto* option = new QRadioButton(ToQt(RingFormatTemplate(format)), frame);
        option->setObjectName(QString("Option%1").arg(format + 1));
        option->setFont(FixedPitchFont());
        option->setEnabled(false); // until the first refresh
        // The catalogue names captions for the first ten; the last keeps its template.
        if (format == kRingFormatCount - 1) option->setProperty(kNoCaptionProperty, true);
        group->addButton(option, format);
        grid->addWidget(option, format, 0);
        options_[static_cast<std::size_t>(format)] = option;
    }
    connect(group, &QButtonGroup::idClicked, this, &PigeonDialog::ChooseFormat);

    const char* const legend[][2] = {{"Label10", "N = Nation"}, {"Label12", "J = Year"}, {"Label13", "V = Organization"},
                                     {"Label14", "L = Ringnumber"}, {"Label15", "G = Sex"}};
    int row = 0;
    for (const auto& [name, caption] : legend) {
        auto* label = new QLabel(caption, frame);
        label->setObjectName(name);
        grid->addWidget(label, row++, 1);
    }
    auto* previewLabel = new QLabel("Preview :", frame);
    previewLabel->setObjectName("Label8");
    grid->addWidget(previewLabel, 7, 1);
    displayPreview_ = DataLabel("Label9", frame);
    templatePreview_ = DataLabel("Label11", frame);
    grid->addWidget(displayPreview_, 8, 1);
    grid->addWidget(templatePreview_, 9, 1);
    grid->setColumnStretch(1, 1);
}

PigeonFields PigeonDialog::ReadFields() const {
    PigeonFields f;
    const auto text = [this](PigeonField which) { return Field(which) ? Field(which)->Bytes() : std::string(); };
    f.nation = text(PigeonField::Nation);
    f.year = text(PigeonField::Year);
    f.organisation = text(PigeonField::Organisation);
    f.ringNumber = text(PigeonField::RingNumber);
    f.sex = text(PigeonField::Sex);
    f.colour = text(PigeonField::Colour);
    f.count = text(PigeonField::Count);
    f.ringFormat = selectedFormat_;
    return f;
}

void PigeonDialog::ShowFields(const PigeonFields& f) {
    const std::pair<PigeonField, const std::string*> values[] = {
        {PigeonField::Nation, &f.nation},         {PigeonField::Year, &f.year},   {PigeonField::Organisation, &f.organisation},
        {PigeonField::RingNumber, &f.ringNumber}, {PigeonField::Sex, &f.sex},     {PigeonField::Colour, &f.colour},
        {PigeonField::Count, &f.count}};
    for (const auto& [which, value] : values) {
        FixedField* field = Field(which);
        if (field && field->Bytes() != *value) field->SetBytes(*value);
    }
}

void PigeonDialog::FieldLeft(PigeonField which) {
    PigeonFields fields = ReadFields();
    const bool accepted = LeavePigeonField(fields, which, sexes_, currentYear_);
    ShowFields(fields);
    if (!accepted) {
        FixedField* year = Field(PigeonField::Year);
        QTimer::singleShot(0, year, [year] {
            year->setFocus();
            year->selectAll();
        });
    }
    if (mode_ == PigeonDialogMode::Add) RefreshPreviews(true);
}

void PigeonDialog::ChooseFormat(int format) {
    selectedFormat_ = format;
    RefreshPreviews(true);
}

void PigeonDialog::RefreshPreviews(bool pickFormat) {
    if (mode_ != PigeonDialogMode::Add) return;
    const RingParts parts = RingPartsOf(ReadFields());
    const RingPreviews previews =
        pickFormat ? RefreshRingPreviews(parts, selectedFormat_) : RingPreviewsIn(parts, selectedFormat_);
    selectedFormat_ = previews.format;
    for (QRadioButton* option : options_) option->setEnabled(true);
    if (IsRingFormat(previews.format)) options_[static_cast<std::size_t>(previews.format)]->setChecked(true);
    displayPreview_->setText(ToQt(previews.displayForm));
    templatePreview_->setText(ToQt(previews.templateForm));
}

void PigeonDialog::ShowFailedSave(const SaveResult& saved) {
    ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(saved.error));
}

void PigeonDialog::Add() {
    const auto added = UnderWriteLock(this, [&] { return AddPigeons(table_, file_, ReadFields(), sexes_, currentYear_); });
    if (!added) return;
    const AddPigeonsOutcome& outcome = *added;
    PigeonFields shown = ReadFields();
    shown.ringNumber = outcome.ringNumber;
    shown.count = outcome.count;
    ShowFields(shown);
    if (outcome.added > 0) main_->TaubenAnzeigen();
    if (outcome.message != kPigeonDone) texts_.ShowNumbered(outcome.message);
    if (!outcome.saved) ShowFailedSave(outcome.saved);
    RefreshPreviews(true);
}

void PigeonDialog::Save() {
    main_->RememberListPosition();
    const auto outcome = UnderWriteLock(this, [&] { return AlterPigeon(table_, file_, slot_, ReadFields(), sexes_); });
    if (!outcome) return;
    if (outcome->message != kPigeonDone) {
        texts_.ShowNumbered(outcome->message);
        return;
    }
    FinishChange(outcome->saved);
}

// Alter and Delete end alike: a failed save keeps the dialog open, a good one refreshes the list.
void PigeonDialog::FinishChange(const SaveResult& saved) {
    if (!saved) {
        ShowFailedSave(saved);
        return;
    }
    main_->TaubenAnzeigen();
    main_->RestoreListPosition();
    accept();
}

std::vector<std::size_t> PigeonDialog::SlotsToDelete() const {
    std::vector<std::size_t> pigeonSlots;
    if (main_->Mode() == ListMode::Pigeons)
        for (const int row : main_->SelectedLines()) pigeonSlots.push_back(static_cast<std::size_t>(row) + 1);
    if (pigeonSlots.empty() && slot_ != 0) pigeonSlots.push_back(slot_);
    return pigeonSlots;
}

void PigeonDialog::Delete() {
    const std::vector<std::size_t> pigeonSlots = SlotsToDelete();
    if (PigeonsDeleteQuestion(pigeonSlots.size()) == kPigeonsDeleteConfirm) {
        if (texts_.AskInTwoLines(kPigeonsDeleteConfirm) == MessageAnswer::Cancel) {
            reject();
            return;
        }
    }
    main_->RememberListPosition();
    const auto outcome = UnderWriteLock(this, [&] { return DeletePigeons(table_, file_, pigeonSlots); });
    if (outcome) FinishChange(outcome->saved);
}

} // namespace plumet::ui
