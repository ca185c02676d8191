#include "ui/race/enterdistancesdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"
#include "core/race/decimals.h"
#include "ui/app/writelock.h"
#include "ui/widgets/choicelist.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {
namespace {

char32_t SystemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? U'.' : static_cast<char32_t>(point.toUcs4().value(0, '.'));
}

std::vector<int> Numbers(const std::vector<ListItem>& items) {
    std::vector<int> numbers;
    for (const ListItem& item : items) numbers.push_back(item.number);
    return numbers;
}

} // namespace

EnterDistancesDialog::EnterDistancesDialog(QWidget* parent) : EnterDistancesDialog(parent, SystemDecimalSeparator()) {}

EnterDistancesDialog::EnterDistancesDialog(QWidget* parent, char32_t decimalSeparator)
    : DialogBase("frmEnterDistances", parent), separator_(FileDecimalSeparator(decimalSeparator)) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    club_ = new QComboBox(this);
    club_->setObjectName("Combo1");
    fancier_ = new QComboBox(this);
    fancier_->setObjectName("Combo2");
    racePoint_ = new QComboBox(this);
    racePoint_->setObjectName("Combo3");
    racePoint_->setMinimumContentsLength(30);
    AddLabelled(grid, 0, "Label1", "Club", club_);
    AddLabelled(grid, 1, "Label2", "Fancier", fancier_);
    AddLabelled(grid, 2, "Label3", "Auflassort", racePoint_);

    km_ = new QRadioButton("km", this);
    km_->setObjectName("Option3");
    miles_ = new QRadioButton("miles", this);
    miles_->setObjectName("Option4");
    auto* units = new QHBoxLayout;
    units->addWidget(km_);
    units->addWidget(miles_);
    units->addStretch(1);
    grid->addLayout(units, 3, 1);

    whole_ = new FixedField(FixedField::Rules{kWholeBoxWidth, DigitKey, nullptr, false}, this);
    whole_->setObjectName("Text1");
    part_ = new FixedField(FixedField::Rules{4, DigitKey, nullptr, false}, this);
    part_->setObjectName("Text2");
    for (FixedField* box : {whole_, part_}) {
        box->setAlignment(Qt::AlignRight);
        box->setMaximumWidth(box->fontMetrics().horizontalAdvance("0000000") + 16);
    }
    wholeUnit_ = new QLabel("miles", this);
    wholeUnit_->setObjectName("Label6");
    partUnit_ = new QLabel("yards", this);
    partUnit_->setObjectName("Label7");
    for (QLabel* label : {wholeUnit_, partUnit_}) {
        label->setProperty(kNoCaptionProperty, true);
        label->setTextFormat(Qt::PlainText);
    }
    auto* distance = new QHBoxLayout;
    distance->addWidget(whole_);
    distance->addWidget(wholeUnit_);
    distance->addSpacing(12);
    distance->addWidget(part_);
    distance->addWidget(partUnit_);
    distance->addStretch(1);
    auto* label4 = new QLabel("Entfernung", this);
    label4->setObjectName("Label4");
    grid->addWidget(label4, 4, 0);
    grid->addLayout(distance, 4, 1);

    nextFancier_ = new QCheckBox(QString::fromUtf8("Auto Z\u00fcchter"), this);
    nextFancier_->setObjectName("Check1");
    nextPoint_ = new QCheckBox("Auto Auflassort", this);
    nextPoint_->setObjectName("Check2");
    grid->addWidget(nextFancier_, 5, 1);
    grid->addWidget(nextPoint_, 6, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch(1);
    store_ = AddButton(buttons, "Command1", "speichern");
    store_->setDefault(true);
    auto* done = AddButton(buttons, "OKButton", "done");
    connect(store_, &QPushButton::clicked, this, &EnterDistancesDialog::StoreAndAdvance);
    connect(done, &QPushButton::clicked, this, &EnterDistancesDialog::StoreAndClose);

    connect(club_, &QComboBox::currentIndexChanged, this, &EnterDistancesDialog::ChooseClub);
    connect(fancier_, &QComboBox::currentIndexChanged, this, &EnterDistancesDialog::ShowPair);
    connect(racePoint_, &QComboBox::currentIndexChanged, this, &EnterDistancesDialog::ShowPair);
    connect(km_, &QRadioButton::clicked, this, [this] { ChooseUnit(kEnteredInKm); });
    connect(miles_, &QRadioButton::clicked, this, [this] { ChooseUnit(kEnteredInMiles); });
    // The two automatic moves exclude each other.
    connect(nextFancier_, &QCheckBox::toggled, this, [this](bool on) {
        if (on) nextPoint_->setChecked(false);
    });
    connect(nextPoint_, &QCheckBox::toggled, this, [this](bool on) {
        if (on) nextFancier_->setChecked(false);
    });
    connect(whole_, &QLineEdit::returnPressed, this, &EnterDistancesDialog::StoreAndAdvance);
    connect(part_, &QLineEdit::returnPressed, this, &EnterDistancesDialog::StoreAndAdvance);
    connect(part_, &FixedField::left, this, [this] {
        part_->SetBytes(PadLeft(part_->Bytes(), static_cast<std::size_t>(PartBoxWidth(CurrentUnit())), '0'));
    });

    Load();
    ChooseUnit(kEnteredInMiles);
    ClubTable clubs;
    LoadClubs(clubs, ClubFilePath(App().programFolder));
    clubs_ = ClubItems(clubs);
    RacePointTable points;
    LoadRacePoints(points, RacePointFilePath(App().programFolder));
    racePoints_ = RacePointItems(points);
    FillChoices(club_, clubs_);
    FillChoices(racePoint_, racePoints_);
    ChooseClub();
}

int EnterDistancesDialog::CurrentUnit() const { return km_->isChecked() ? kEnteredInKm : kEnteredInMiles; }

void EnterDistancesDialog::SetUnitTexts(int unitFlag) {
    const bool km = unitFlag == kEnteredInKm;
    (km ? km_ : miles_)->setChecked(true);
    wholeUnit_->setText(Texts().Text(km ? "Label6Km.Caption" : "Label6Miles.Caption"));
    partUnit_->setText(Texts().Text(km ? "Label7Meter.Caption" : "Label7Yards.Caption"));
    part_->setMaxLength(PartBoxWidth(unitFlag));
}

void EnterDistancesDialog::ChooseUnit(int unitFlag) {
    SetUnitTexts(unitFlag);
    whole_->SetBytes("0");
    part_->SetBytes(std::string(static_cast<std::size_t>(PartBoxWidth(unitFlag)), '0'));
}

void EnterDistancesDialog::ChooseClub() {
    const int index = club_->currentIndex();
    FancierTable fanciers;
    if (index >= 0) {
        const int club = clubs_[static_cast<std::size_t>(index)].number;
        LoadFanciers(fanciers, FancierFilePath(App().programFolder, ZeroPadded(club, 3)));
        LoadDistanceTable(table_, App().programFolder, club);
    } else {
        table_.Reset();
    }
    fanciers_ = FancierItems(fanciers);
    FillChoices(fancier_, fanciers_);
    FollowLists();
    ShowPair();
}

void EnterDistancesDialog::FollowLists() {
    store_->setEnabled(!clubs_.empty() && !fanciers_.empty() && !racePoints_.empty());
}

void EnterDistancesDialog::ShowPair() {
    if (fancier_->currentIndex() < 0 || racePoint_->currentIndex() < 0) return;
    const int fancier = fanciers_[static_cast<std::size_t>(fancier_->currentIndex())].number;
    const int point = racePoints_[static_cast<std::size_t>(racePoint_->currentIndex())].number;
    const int unit = table_.UnitFlag(fancier, point);
    const DistanceBoxes boxes = DistanceForBoxes(table_.Distance(fancier, point), unit);
    SetUnitTexts(unit);
    whole_->SetBytes(boxes.whole);
    part_->SetBytes(boxes.part);
    whole_->setFocus();
    whole_->selectAll();
}

bool EnterDistancesDialog::Store() {
    if (!store_->isEnabled()) return false;
    const int fancier = fanciers_[static_cast<std::size_t>(fancier_->currentIndex())].number;
    const int point = racePoints_[static_cast<std::size_t>(racePoint_->currentIndex())].number;
    const int club = clubs_[static_cast<std::size_t>(club_->currentIndex())].number;
    const int unit = CurrentUnit();
    table_.Set(fancier, point, DistanceFromBoxes(whole_->Bytes(), part_->Bytes(), unit), unit);
    const auto saved = UnderWriteLock(this, [&] {
        return SaveDistanceTable(table_, App().programFolder, club, Numbers(fanciers_), Numbers(racePoints_), separator_);
    });
    if (!saved) return false;
    if (!*saved) {
        ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(saved->error));
        return false;
    }
    return true;
}

void EnterDistancesDialog::StoreAndAdvance() {
    if (!Store()) return;
    if (nextFancier_->isChecked() && fancier_->currentIndex() < fancier_->count() - 1)
        fancier_->setCurrentIndex(fancier_->currentIndex() + 1);
    else if (nextPoint_->isChecked() && racePoint_->currentIndex() < racePoint_->count() - 1)
        racePoint_->setCurrentIndex(racePoint_->currentIndex() + 1);
}

void EnterDistancesDialog::StoreAndClose() {
    if (store_->isEnabled() && !Store()) return;
    accept();
}

} // namespace plumet::ui
