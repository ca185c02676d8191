#include "ui/race/clocktimesmandialog.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/fieldrules.h"
#include "core/app/catalogue.h"
#include "core/app/files.h"
#include "core/app/fixedwidth.h"
#include "core/race/racefields.h"
#include "core/registers/fanciers.h"
#include "ui/app/actionoutcome.h"
#include "ui/app/writelock.h"
#include "ui/widgets/rangefield.h"

namespace plumet::ui {
namespace {

constexpr const char* kAddKey = "frmClocktimesManAdd.Command1.Caption(Add)";
constexpr const char* kRemoveKey = "frmClocktimesManAdd.Command1.Caption(Remove)";

// Day, month, hour, minute, second: the columns of the boxes.
const RangeField::Check kColumnChecks[] = {IsDayText, IsMonthText, IsHourText, IsMinuteText, IsMinuteText};

QLabel* Caption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

int NumberIn(const RangeField* box) { return static_cast<int>(ParseInteger(box->Bytes()).value_or(0)); }

} // namespace

ClockTimesManDialog::ClockTimesManDialog(QWidget* parent) : DialogBase("frmClocktimesManAdd", parent) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    race_ = new QComboBox(this);
    race_->setObjectName("Combo1");
    fancier_ = new QComboBox(this);
    fancier_->setObjectName("Combo2");
    pigeon_ = new QComboBox(this);
    pigeon_->setObjectName("Combo3");
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    pigeon_->setFont(fixed);
    grid->addWidget(Caption("Label1", "Racename:", this), 0, 0);
    grid->addWidget(race_, 0, 1, 1, 6);
    grid->addWidget(Caption("Label2", "Fancier:", this), 1, 0);
    grid->addWidget(fancier_, 1, 1, 1, 6);
    grid->addWidget(Caption("Label3", "Pigeon:", this), 2, 0);
    grid->addWidget(pigeon_, 2, 1, 1, 6);

    const char* const columns[][2] = {{"Label5", "day"}, {"Label6", "month"}, {"Label7", "hour"},
                                      {"Label8", "minute"}, {"Label9", "second"}};
    for (int c = 0; c < 5; ++c)
        grid->addWidget(Caption(columns[c][0], columns[c][1], this), 3, c + 1, Qt::AlignHCenter);

    auto makeBox = [this](int textNumber, RangeField::Check check) {
        auto* box = new RangeField(FixedField::Rules{2, DigitKey, ZeroFilledOnLeave, false}, check, this);
        box->setObjectName(QString("Text%1").arg(textNumber));
        box->setAlignment(Qt::AlignRight);
        box->setMaximumWidth(box->fontMetrics().horizontalAdvance("00000") + 16);
        return box;
    };
    grid->addWidget(Caption("Label4", "Arrival:", this), 4, 0);
    for (int c = 0; c < 5; ++c) {
        arrival_[static_cast<std::size_t>(c)] = makeBox(c + 1, kColumnChecks[c]);
        grid->addWidget(arrival_[static_cast<std::size_t>(c)], 4, c + 1);
    }
    addRemove_ = new QPushButton("Add", this);
    addRemove_->setObjectName("Command1");
    addRemove_->setAutoDefault(false);
    addRemove_->setProperty(kCaptionKeyProperty, kAddKey);
    grid->addWidget(addRemove_, 4, 6, Qt::AlignLeft);

    auto* heading = Caption("Label21", "Clock data of the loft", this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    grid->addWidget(heading, 5, 0, 1, 7);
    const char* const rows[][2] = {
        {"Label10", "Clock set:"}, {"Label11", "Clock control:"}, {"Label12", "Clock shows:"}};
    const char* const notes[] = {"Label13", "Label14", "Label15"};
    std::size_t next = 0;
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(Caption(rows[r][0], rows[r][1], this), 6 + r, 0);
        const int first = r < 2 ? 0 : 2; // the clock's own time has hour, minute and second only
        for (int c = first; c < 5; ++c, ++next) {
            timer_[next] = makeBox(6 + static_cast<int>(next), kColumnChecks[c]);
            grid->addWidget(timer_[next], 6 + r, c + 1);
        }
        grid->addWidget(Caption(notes[r], "", this), 6 + r, 6);
    }
    grid->addWidget(Caption("Label25", "", this), 9, 0, 1, 7);
    grid->setColumnStretch(6, 1);

    auto* bottom = new QHBoxLayout;
    layout->addLayout(bottom);
    counter_ = new QLabel(this);
    counter_->setObjectName("Label16");
    counter_->setProperty(kNoCaptionProperty, true);
    counter_->setTextFormat(Qt::PlainText);
    bottom->addWidget(counter_, 1);
    auto* done = AddButton(bottom, "OKButton", "done");
    connect(done, &QPushButton::clicked, this, &ClockTimesManDialog::Done);
    connect(addRemove_, &QPushButton::clicked, this, &ClockTimesManDialog::AddOrRemove);
    connect(race_, &QComboBox::currentIndexChanged, this, &ClockTimesManDialog::ChooseRace);
    connect(fancier_, &QComboBox::currentIndexChanged, this, &ClockTimesManDialog::ChooseFancier);
    connect(pigeon_, &QComboBox::currentIndexChanged, this, &ClockTimesManDialog::ShowPigeon);

    Load();
    races_ = LoadRaces(App().programFolder);
    {
        const QSignalBlocker block(race_);
        for (const Race& race : races_.races) race_->addItem(ToQt(TrimBlanks(race.name)));
        race_->setCurrentIndex(races_.Count() > 0 ? 0 : -1);
    }
    ChooseRace();
}

const Race* ClockTimesManDialog::CurrentRace() const {
    if (shownRace_ < 0 || static_cast<std::size_t>(shownRace_) >= races_.Count()) return nullptr;
    return &races_.races[static_cast<std::size_t>(shownRace_)];
}

bool ClockTimesManDialog::SaveCurrent() {
    const Race* race = CurrentRace();
    if (!hasLoft_ || !race) return true;
    for (std::size_t v = 0; v < kTimerValueCount; ++v) loft_.timer[v] = NumberIn(timer_[v]);
    const auto saved = UnderWriteLock(this, [&] { return ApplyManualSaveRule(App().programFolder, *race, loft_); });
    if (saved && !*saved) ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(saved->error));
    return saved && saved->ok;
}

void ClockTimesManDialog::ChooseRace() {
    SaveCurrent();
    hasLoft_ = false;
    shownRace_ = race_->currentIndex();
    fancierRecords_.clear();
    if (const Race* race = CurrentRace()) {
        FancierTable fanciers;
        LoadFanciers(fanciers, FancierFilePath(App().programFolder, ZeroPadded(race->clubNumber, 3)));
        fancierRecords_ = fanciers.Records();
    }
    {
        const QSignalBlocker block(fancier_);
        fancier_->clear();
        for (const std::string& record : fancierRecords_)
            fancier_->addItem(ToQt(TrimRightBlanks(FancierNameOf(record))));
        fancier_->setCurrentIndex(fancierRecords_.empty() ? -1 : 0);
    }
    ChooseFancier();
}

void ClockTimesManDialog::ChooseFancier() {
    SaveCurrent();
    hasLoft_ = false;
    loft_ = ManualLoft{};
    const Race* race = CurrentRace();
    const int index = fancier_->currentIndex();
    if (race && index >= 0) {
        const std::string& record = fancierRecords_[static_cast<std::size_t>(index)];
        PigeonTable pigeons;
        const std::string club = ZeroPadded(race->clubNumber, 3);
        LoadPigeons(pigeons, PigeonFilePath(App().programFolder, club, FancierNumberOf(record)));
        loft_ = ManualLoftOf(record, pigeons);
        const ManualFileRead read = ReadManualFile(App().programFolder, *race, loft_);
        hasLoft_ = read.status != ReadStatus::Unreadable;
        if (!hasLoft_)
            ShowMessage(this, MessageIcon::Critical, windowTitle(),
                        ToQt(CatalogueText("frmClocktimesManAdd.Unreadable", {PathText(read.file), ReasonText(read.problem)})));
        else if (!loft_.otherArrivalLines.empty())
            ShowMessage(this, MessageIcon::Information, windowTitle(),
                        ToQt(CatalogueText("frmClocktimesManAdd.OtherRings", {PathText(read.file), OtherRingsText(loft_)})));
    }
    for (RangeField* box : timer_) box->setEnabled(hasLoft_);
    {
        const QSignalBlocker block(pigeon_);
        pigeon_->clear();
        for (const ManualPigeon& pigeon : loft_.pigeons) pigeon_->addItem(ToQt(ManualPigeonItem(pigeon)));
        pigeon_->setCurrentIndex(loft_.pigeons.empty() ? -1 : 0);
    }
    ShowTimer();
    ShowPigeon();
    ShowCounter();
}

void ClockTimesManDialog::ShowTimer() {
    for (std::size_t v = 0; v < kTimerValueCount; ++v) timer_[v]->SetBytes(ZeroPadded(loft_.timer[v], 2));
}

void ClockTimesManDialog::ShowPigeon() {
    const int index = pigeon_->currentIndex();
    const bool chosen = index >= 0 && static_cast<std::size_t>(index) < loft_.pigeons.size();
    const ManualPigeon pigeon = chosen ? loft_.pigeons[static_cast<std::size_t>(index)] : ManualPigeon{};
    const Arrival& at = pigeon.arrival;
    const int values[] = {at.day, at.month, at.hour, at.minute, at.second};
    for (std::size_t c = 0; c < arrival_.size(); ++c) arrival_[c]->SetBytes(ZeroPadded(values[c], 2));
    addRemove_->setText(Texts().Key(pigeon.added ? kRemoveKey : kAddKey));
    addRemove_->setEnabled(chosen && hasLoft_);
}

void ClockTimesManDialog::ShowCounter() {
    const std::string added = ToBytes(Texts().Text("PigeonsAdded"));
    const std::string of = ToBytes(Texts().Text("PigeonsAddedOf"));
    counter_->setText(ToQt(ManualCounterText(added, of, loft_)));
}

void ClockTimesManDialog::AddOrRemove() {
    const int index = pigeon_->currentIndex();
    if (!hasLoft_ || index < 0 || static_cast<std::size_t>(index) >= loft_.pigeons.size()) return;
    const auto slot = static_cast<std::size_t>(index);
    if (loft_.pigeons[slot].added) {
        RemoveManualArrival(loft_, slot);
    } else {
        if (!AllAcceptable({arrival_[0], arrival_[1], arrival_[2], arrival_[3], arrival_[4]})) return;
        const ActionResult added = AddManualArrival(loft_, slot, {NumberIn(arrival_[0]), NumberIn(arrival_[1]),
                                                                  NumberIn(arrival_[2]), NumberIn(arrival_[3]),
                                                                  NumberIn(arrival_[4])});
        if (!ReportOutcome(this, added)) return;
    }
    pigeon_->setItemText(index, ToQt(ManualPigeonItem(loft_.pigeons[slot])));
    ShowPigeon();
    ShowCounter();
}

void ClockTimesManDialog::Done() {
    if (!SaveCurrent()) return;
    hasLoft_ = false;
    accept();
    RemoveStrayManualFile(App().programFolder);
}

} // namespace plumet::ui
