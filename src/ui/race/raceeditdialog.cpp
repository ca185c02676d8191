#include "ui/race/raceevaluation.h"
#include "ui/race/raceeditdialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"
#include "core/race/racefields.h"
#include "ui/app/writelock.h"
#include "ui/widgets/choicelist.h"
#include "ui/widgets/fixedfield.h"
#include "ui/widgets/rangefield.h"

namespace plumet::ui {
namespace {

// The unit list holds these two texts as the form carries them.
const char* const kUnitItems[] = {"km, Meter", "Miles, Yards"};

QLabel* DataLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setProperty(kNoCaptionProperty, true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* Caption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

RangeField* TimeBox(const QString& name, RangeField::Check check, QWidget* parent) {
    auto* box = new RangeField(FixedField::Rules{2, DigitKey, ZeroFilledOnLeave, false}, check, parent);
    box->setObjectName(name);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance("0000") + 16);
    return box;
}

FixedField* Box(const QString& name, const FixedField::Rules& rules, QWidget* parent) {
    auto* box = new FixedField(rules, parent);
    box->setObjectName(name);
    return box;
}

// The hour and minute boxes of one time, with the colon between them.
QHBoxLayout* TimeRow(RangeField* hour, RangeField* minute, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->addWidget(hour);
    row->addWidget(DataLabel(QString(), ":", parent));
    row->addWidget(minute);
    return row;
}

} // namespace

RaceEditDialog::RaceEditDialog(QWidget* parent) : DialogBase("frmRaceAdd", parent), mode_(Mode::Add) {
    races_ = LoadRaces(App().programFolder);
    Build();
    Show(NewRaceValues(LoadDefaultRace(App().programFolder), LocalNow()));
}

RaceEditDialog::RaceEditDialog(QWidget* parent, RaceList races, std::size_t number)
    : DialogBase("frmRaceAdd", parent), mode_(Mode::Alter), races_(std::move(races)), number_(number) {
    Build();
    if (number_ >= 1 && number_ <= races_.Count()) Show(races_.races[number_ - 1]);
}

void RaceEditDialog::Build() {
    setProperty("captionByMode", true);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    name_ = Box("Text1", {30, RaceNameKey, nullptr, false}, this);
    grid->addWidget(Caption("Label1", "Flugname:", this), 0, 0);
    grid->addWidget(name_, 0, 1, 1, 4);

    date_ = new QDateEdit(this);
    date_->setObjectName("DTPicker1");
    date_->setCalendarPopup(true);
    date_->setDisplayFormat("dd.MM.yyyy");
    // The weeks of the year of the race's date.
    week_ = new RangeField(FixedField::Rules{2, DigitKey, nullptr, false},
                           [this](std::string_view text) { return IsRaceWeekText(text, date_->date().year(), date_->date().month()); }, this);
    week_->setObjectName("Text9");
    week_->setMaximumWidth(week_->fontMetrics().horizontalAdvance("0000") + 16);
    grid->addWidget(Caption("Label2", "Datum:", this), 1, 0);
    grid->addWidget(date_, 1, 1);
    grid->addWidget(Caption("Label16", "Flugwoche:", this), 1, 2, Qt::AlignRight);
    grid->addWidget(week_, 1, 3);

    club_ = new QComboBox(this);
    club_->setObjectName("Combo1");
    racePoint_ = new QComboBox(this);
    racePoint_->setObjectName("Combo2");
    grid->addWidget(Caption("Label3", "Club:", this), 2, 0);
    grid->addWidget(club_, 2, 1, 1, 4);
    grid->addWidget(Caption("Label4", "Auflassort:", this), 3, 0);
    grid->addWidget(racePoint_, 3, 1, 1, 4);

    releaseHour_ = TimeBox("Text2", IsHourText, this);
    releaseMinute_ = TimeBox("Text3", IsMinuteText, this);
    grid->addWidget(Caption("Label5", "Auflasszeit:", this), 4, 0);
    grid->addLayout(TimeRow(releaseHour_, releaseMinute_, this), 4, 1, Qt::AlignLeft);

    nights_ = Box("Text8", {1, DigitKey, ZeroFilledOnLeave, false}, this);
    nights_->setMaximumWidth(nights_->fontMetrics().horizontalAdvance("000") + 16);
    auto* nightsRow = new QHBoxLayout;
    nightsRow->addWidget(nights_);
    nightsRow->addWidget(Caption("Label9", QString::fromUtf8("N\u00e4chte"), this));
    nightsRow->addStretch(1);
    grid->addWidget(Caption("Label8", QString::fromUtf8("Flug geht \u00fcber"), this), 5, 0);
    grid->addLayout(nightsRow, 5, 1, 1, 4);

    fromHour_ = TimeBox("Text4", IsHourText, this);
    fromMinute_ = TimeBox("Text5", IsMinuteText, this);
    toHour_ = TimeBox("Text6", IsHourText, this);
    toMinute_ = TimeBox("Text7", IsMinuteText, this);
    grid->addWidget(Caption("Label15", "Sperrzeit:", this), 6, 0);
    auto* closedRow = new QHBoxLayout;
    closedRow->addWidget(Caption("Label6", "von [hh:mm]", this));
    closedRow->addLayout(TimeRow(fromHour_, fromMinute_, this));
    closedRow->addSpacing(12);
    closedRow->addWidget(Caption("Label7", "bis [hh:mm]", this));
    closedRow->addLayout(TimeRow(toHour_, toMinute_, this));
    closedRow->addStretch(1);
    grid->addLayout(closedRow, 6, 1, 1, 4);

    unit_ = new QComboBox(this);
    unit_->setObjectName("Combo3");
    for (const char* item : kUnitItems) unit_->addItem(item);
    meanDistance_ = Box("Text14", {4, DigitKey, nullptr, false}, this);
    meanDistance_->setMaximumWidth(meanDistance_->fontMetrics().horizontalAdvance("000000") + 16);
    unitLabel_ = DataLabel("Label13", "miles", this);
    grid->addWidget(Caption("Label12", "Entfernungen in:", this), 7, 0);
    grid->addWidget(unit_, 7, 1);
    auto* meanRow = new QHBoxLayout;
    meanRow->addWidget(Caption("Label14", "mittl. Entfernung:", this));
    meanRow->addWidget(meanDistance_);
    meanRow->addWidget(unitLabel_);
    meanRow->addStretch(1);
    grid->addLayout(meanRow, 7, 2, 1, 3);

    header_ = Box("Text12", {60, nullptr, nullptr, false}, this);
    footer_ = Box("Text13", {60, nullptr, nullptr, false}, this);
    grid->addWidget(Caption("Label10", "Kommentar (erscheint im Kopf) ", this), 8, 0, 1, 5);
    grid->addWidget(header_, 9, 0, 1, 5);
    grid->addWidget(Caption("Label11", "Kommentar (erscheint unterhalb der Tabelle) ", this), 10, 0, 1, 5);
    grid->addWidget(footer_, 11, 0, 1, 5);
    grid->setColumnStretch(4, 1);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    store_ = AddButton(buttons, "Command2", "Add");
    store_->setProperty("captionByMode", true);
    store_->setDefault(true);
    saveDefault_ = AddButton(buttons, "Command1", "Save as default");
    buttons->addStretch(1);
    auto* cancel = AddButton(buttons, "CancelButton", "Cancel");
    connect(store_, &QPushButton::clicked, this, &RaceEditDialog::Store);
    connect(saveDefault_, &QPushButton::clicked, this, &RaceEditDialog::SaveAsDefault);
    connect(cancel, &QPushButton::clicked, this, &RaceEditDialog::reject);
    connect(unit_, &QComboBox::currentIndexChanged, this, &RaceEditDialog::ShowUnit);
    connect(nights_, &QLineEdit::textChanged, this, &RaceEditDialog::FollowNights);

    ClubTable clubs;
    LoadClubs(clubs, ClubFilePath(App().programFolder));
    clubs_ = ClubItems(clubs);
    LoadRacePoints(points_, RacePointFilePath(App().programFolder));
    racePoints_ = RacePointItems(points_);
    FillChoices(club_, clubs_);
    FillChoices(racePoint_, racePoints_);

    Load(mode_ == Mode::Add ? "Add" : "Alter");

    // No race without a club and a release point; defaults only for a new race.
    const bool listsFilled = !clubs_.empty() && !racePoints_.empty();
    store_->setEnabled(listsFilled);
    saveDefault_->setEnabled(listsFilled && mode_ == Mode::Add);
    saveDefault_->setVisible(mode_ == Mode::Add);
}

void RaceEditDialog::Show(const Race& race) {
    const RaceEditorFields fields = RaceEditorFieldsOf(race);
    name_->SetBytes(fields.name);
    const QDate date(fields.year, fields.month, fields.day);
    date_->setDate(date.isValid() ? date : QDate(LocalNow().year, LocalNow().month, LocalNow().day));
    week_->SetBytes(fields.flightWeek);
    club_->setCurrentIndex(static_cast<int>(IndexOfItemText(clubs_, fields.club.text)));
    racePoint_->setCurrentIndex(static_cast<int>(IndexOfItemText(racePoints_, fields.racePoint.text)));
    releaseHour_->SetBytes(fields.releaseHour);
    releaseMinute_->SetBytes(fields.releaseMinute);
    nights_->SetBytes(fields.nights);
    fromHour_->SetBytes(fields.closedFromHour);
    fromMinute_->SetBytes(fields.closedFromMinute);
    toHour_->SetBytes(fields.closedToHour);
    toMinute_->SetBytes(fields.closedToMinute);
    header_->SetBytes(fields.headerComment);
    footer_->SetBytes(fields.footerComment);
    meanDistance_->SetBytes(fields.meanDistance);
    unit_->setCurrentIndex(fields.distanceUnit == kRaceInMiles ? 1 : 0);
    ShowUnit(unit_->currentIndex());
    FollowNights();
}

void RaceEditDialog::ShowUnit(int unit) {
    unitLabel_->setText(Texts().Key(unit == kRaceInMiles ? "frmRaceAdd.Label13(miles).Caption"
                                                          : "frmRaceAdd.Label13(Km).Caption"));
}

void RaceEditDialog::FollowNights() {
    const bool closed = ClosedPeriodApplies(ToBytes(nights_->text()));
    for (const char* name : {"Text4", "Text5", "Text6", "Text7", "Label15", "Label6", "Label7"})
        if (auto* control = findChild<QWidget*>(name)) control->setEnabled(closed);
}

RaceEditorFields RaceEditDialog::Fields() const {
    RaceEditorFields fields;
    fields.name = name_->Bytes();
    const QDate date = date_->date();
    fields.day = date.day();
    fields.month = date.month();
    fields.year = date.year();
    if (club_->currentIndex() >= 0) fields.club = clubs_[static_cast<std::size_t>(club_->currentIndex())];
    if (racePoint_->currentIndex() >= 0)
        fields.racePoint = racePoints_[static_cast<std::size_t>(racePoint_->currentIndex())];
    fields.releaseHour = releaseHour_->Bytes();
    fields.releaseMinute = releaseMinute_->Bytes();
    fields.closedFromHour = fromHour_->Bytes();
    fields.closedFromMinute = fromMinute_->Bytes();
    fields.closedToHour = toHour_->Bytes();
    fields.closedToMinute = toMinute_->Bytes();
    fields.nights = nights_->Bytes();
    fields.flightWeek = week_->Bytes();
    fields.headerComment = header_->Bytes();
    fields.footerComment = footer_->Bytes();
    fields.distanceUnit = unit_->currentIndex() == 1 ? kRaceInMiles : kRaceInKm;
    fields.meanDistance = meanDistance_->Bytes();
    return fields;
}

bool RaceEditDialog::FieldsAcceptable() const {
    return AllAcceptable({releaseHour_, releaseMinute_, fromHour_, fromMinute_, toHour_, toMinute_, week_});
}

void RaceEditDialog::Store() {
    if (!store_->isEnabled() || !FieldsAcceptable()) return;
    const Race race = CollectRace(Fields(), points_);
    const std::optional<std::size_t> altered = mode_ == Mode::Alter ? std::optional(number_) : std::nullopt;
    std::optional<RaceLogAuthor> author = RaceLogAuthor{};
    if (altered && *altered >= 1 && *altered <= races_.Count() && !DefinitionChanges(races_.races[*altered - 1], race).empty())
        author = AskChangeReason(this, races_.races[*altered - 1]);
    if (!author) return;
    const auto stored =
        UnderWriteLock(this, [&] { return StoreRace(races_, App().programFolder, race, altered, &*author); });
    if (!stored) return;
    const ActionResult& result = *stored;
    if (result.message != 0) {
        const int text = 2 * result.message - 1;
        ShowMessage(this, MessageIcon::Exclamation, Texts().Text(QString("frmRaceAddMsgBoxHelp%1").arg(text + 1)),
                    Texts().Text(QString("frmRaceAddMsgBoxHelp%1").arg(text)));
        auto* field = findChild<FixedField*>(ToQt(result.focusField));
        if (!field) field = name_;
        field->setFocus();
        field->selectAll();
        return;
    }
    if (!result.saved) {
        ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(result.saved.error));
        // Nothing of the edit is put back over the other task's change.
        listChanged_ = result.saved.reason == FileReason::Changed;
        if (listChanged_) {
            reject();
        } else if (auto* field = findChild<FixedField*>(ToQt(result.focusField))) {
            field->setFocus();
            field->selectAll();
        }
        return;
    }
    accept();
}

void RaceEditDialog::SaveAsDefault() {
    if (!saveDefault_->isEnabled() || !FieldsAcceptable()) return;
    const auto saved =
        UnderWriteLock(this, [&] { return SaveDefaultRace(App().programFolder, CollectRace(Fields(), points_)); });
    if (!saved) return;
    if (!*saved) {
        ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(saved->error));
        return;
    }
    accept();
}

} // namespace plumet::ui
