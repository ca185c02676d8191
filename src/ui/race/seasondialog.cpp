#include "ui/race/seasondialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <tuple>

#include "common/appcontext.h"
#include "common/localeforms.h"
#include "common/textcodec.h"
#include "core/app/fixedwidth.h"
#include "core/race/combinedlist.h"
#include "core/race/racefields.h"
#include "core/race/seasonlayout.h"
#include "ui/app/mainwindow.h"
#include "ui/app/writelock.h"
#include "ui/race/resultexportdialog.h"
#include "ui/race/resultprint.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {
namespace {

constexpr int kHeadPairs = 3;

QStringList ToQtList(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list << ToQt(line);
    return list;
}

QDate ToQDate(const SeasonDate& date) { return QDate(date.year, date.month, date.day); }
SeasonDate FromQDate(const QDate& date) { return {date.year(), date.month(), date.day()}; }

QDateEdit* DatePicker(const QString& name, QWidget* parent) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat("dd.MM.yyyy");
    return picker;
}

// A refusal in the window's words, with the names it is about.
void ShowRefusal(QWidget* parent, const FormTexts& texts, const SeasonStore& store) {
    const QString number = QString::number(store.message);
    QString text = ToQt(FillPlaceholders(ToBytes(texts.Text("MsgBoxText" + number)), store.names));
    if (store.message == kSeasonFileDamaged)
        text = ToQt(SeasonProblemText(LoadCatalogue(), App().programFolder, store.problem)) + "\n" + text;
    ShowMessage(parent, store.message == kSeasonFileDamaged ? MessageIcon::Critical : MessageIcon::Exclamation,
                texts.Text("MsgBoxName" + number), text);
}

} // namespace

// ---- frmSeason ------------------------------------------------------------------------------

SeasonDialog::SeasonDialog(QWidget* parent) : DialogBase("frmSeason", parent) {
    auto* layout = new QVBoxLayout(this);
    const ChooserRow chooser = AddChooserRow(layout, "Season:");
    seasons_ = chooser.chooser;
    alter_ = chooser.alter;
    delete_ = chooser.remove;
    head_ = AddHeadGrid(layout, kHeadPairs).labels;

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("TabStrip1");
    layout->addWidget(tabs_, 1);
    const auto tab = [this](const QString& headsName, const QString& listName) {
        auto* page = new QWidget(tabs_);
        auto* pageLayout = new QVBoxLayout(page);
        tabs_->addTab(page, {});
        return AddFixedList(pageLayout, page, headsName, listName, 76);
    };
    pigeons_ = tab("Label14", "List1");
    lofts_ = tab("Label15", "List2");
    races_ = tab("Label16", "List3");
    // The tab bar's scroll buttons are Qt's own.
    for (QAbstractButton* button : tabs_->findChildren<QAbstractButton*>()) button->setProperty(kNoCaptionProperty, true);
    warnings_ = DataLabel(this, "Label20");
    warnings_->setWordWrap(true);
    layout->addWidget(warnings_);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddStatusLine(buttons);
    auto* close = AddButton(buttons, "Command1", "Close");
    print_ = AddButton(buttons, "Command2", "Print");
    export_ = AddButton(buttons, "Command3", "Export...");
    connect(close, &QPushButton::clicked, this, &SeasonDialog::accept);
    connect(print_, &QPushButton::clicked, this, &SeasonDialog::Print);
    connect(export_, &QPushButton::clicked, this, &SeasonDialog::Export);
    connect(chooser.add, &QPushButton::clicked, this, &SeasonDialog::NewSeason);
    connect(alter_, &QPushButton::clicked, this, &SeasonDialog::AlterSeason);
    connect(delete_, &QPushButton::clicked, this, &SeasonDialog::DeleteSeason);
    connect(seasons_, &QComboBox::currentIndexChanged, this, &SeasonDialog::ShowChosen);
    Load();
    FillSeasons({});
}

void SeasonDialog::FillSeasons(const QString& select) {
    files_ = LoadSeasons(App().programFolder);
    std::vector<std::pair<std::string, Path>> names;
    for (const SeasonFile& file : files_) names.emplace_back(file.season ? file.season->name : std::string(), file.file);
    FillChooser(seasons_, names, Texts().Text("NoSeasons"), select);
    ShowChosen();
}

const SeasonFile* SeasonDialog::ChosenFile() const {
    const int index = seasons_->currentIndex();
    return index >= 0 && static_cast<std::size_t>(index) < files_.size() ? &files_[static_cast<std::size_t>(index)] : nullptr;
}

void SeasonDialog::ChooseSeason(const QString& name) {
    FillSeasons(name);
}

void SeasonDialog::ShowChosen() {
    const TextCatalogue catalogue = LoadCatalogue();
    const SeasonTexts texts = LoadSeasonTexts(catalogue);
    const SeasonFile* file = ChosenFile();
    standings_.reset();
    QStringList notes;
    if (file && file->season) standings_ = CalculateSeason(App().programFolder, *file->season, files_);
    else if (file) notes << ToQt(SeasonProblemText(catalogue, App().programFolder, file->problem));
    SeasonStandings shown = standings_.value_or(SeasonStandings{});
    const SeasonTables tables = SeasonTablesOf(shown, texts, catalogue, ShortDate, LocaleSeparator());
    for (std::size_t i = 0; i < head_.size(); ++i) {
        const HeadLine* line = standings_ && i / 4 < tables.head.size() ? &tables.head[i / 4] : nullptr;
        const HeadPair* pair = line ? (i % 4 < 2 ? &line->left : &line->right) : nullptr;
        head_[i]->setText(pair ? ToQt(i % 2 == 0 ? pair->label : pair->value) : QString());
    }
    for (const auto& [list, table, index] : {std::tuple{&pigeons_, &tables.pigeons, 0}, std::tuple{&lofts_, &tables.lofts, 1},
                                             std::tuple{&races_, &tables.races, 2}}) {
        const QStringList lines = ToQtList(FixedWidthLines(*table));
        list->Show({lines.value(0)}, lines.mid(1));
        tabs_->setTabText(index, ToQt(table->title));
    }
    if (standings_)
        for (const std::string& note : SeasonNotWhole(catalogue, App().programFolder, *standings_)) notes << ToQt(note);
    warnings_->setText(notes.join('\n'));
    warnings_->setVisible(!notes.isEmpty());
    for (QPushButton* button : {alter_, delete_, print_, export_}) button->setEnabled(standings_.has_value());
}

QStringList SeasonDialog::Lines(const QString& listName) const {
    for (const FixedList* list : {&pigeons_, &lofts_, &races_})
        if (list->list->objectName() == listName) return list->Lines();
    return {};
}

void SeasonDialog::NewSeason() {
    SeasonEditDialog editor(this, std::nullopt);
    if (editor.exec() == QDialog::Accepted) FillSeasons(ToQt(editor.Stored().name));
}

void SeasonDialog::AlterSeason() {
    if (!standings_) return;
    SeasonEditDialog editor(this, standings_->season);
    if (editor.exec() == QDialog::Accepted) FillSeasons(ToQt(editor.Stored().name));
}

void SeasonDialog::DeleteSeason() {
    if (!standings_) return;
    const std::string name = standings_->season.name;
    AskAndRemove(name, [&] { return plumet::DeleteSeason(App().programFolder, name); });
    FillSeasons({});
}

void SeasonDialog::Print() {
    if (!standings_) return;
    const TextCatalogue catalogue = LoadCatalogue();
    const SeasonTexts texts = LoadSeasonTexts(catalogue);
    SeasonTables tables = SeasonTablesOf(*standings_, texts, catalogue, ShortDate, LocaleSeparator());
    tables.notes = SeasonNotWhole(catalogue, App().programFolder, *standings_);
    PrintPages(this, ToQt(standings_->season.name), SeasonPages(tables, texts));
}

void SeasonDialog::Export() {
    if (!standings_) return;
    const auto chosen = AskExportFile(this, Texts().Text("ExportTitle"), ToQt(standings_->season.name));
    if (!chosen) return;
    const TextCatalogue catalogue = LoadCatalogue();
    const auto saved = UnderWriteLock(this, [&] {
        // What the files hold now, once no other writer is at work.
        const auto now = CurrentStandings(App().programFolder, standings_->season.name);
        if (!now) return SaveFailed(CatalogueText("frmSeason.NoSuchSeason", {standings_->season.name}));
        return ExportSeason(App().programFolder, *now, LoadSeasonTexts(catalogue), catalogue, ShortDate,
                            {{chosen->format, Path(chosen->file.toStdU16String())}});
    });
    if (saved && !*saved) ShowMessage(this, MessageIcon::Critical, Texts().Text("ExportTitle"), ToQt(saved->error));
    else if (saved) TellWritten(this, chosen->file);
}

// ---- frmSeasonEdit --------------------------------------------------------------------------

SeasonEditDialog::SeasonEditDialog(QWidget* parent, const std::optional<Season>& altered)
    : DialogBase("frmSeasonEdit", parent) {
    if (altered) alteredName_ = altered->name;
    setProperty("captionByMode", true);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    const auto caption = [this](const char* name, const char* text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        return label;
    };
    name_ = new FixedField({static_cast<int>(kSeasonNameLength), RaceNameKey, nullptr, true}, this);
    name_->setObjectName("Text1");
    ratio_ = new FixedField(FixedField::Digits(2), this);
    ratio_->setObjectName("Text2");
    counted_ = new FixedField(FixedField::Digits(2), this);
    counted_->setObjectName("Text3");
    for (FixedField* box : {ratio_, counted_}) box->SetSizing(FixedField::Sizing::Compact);
    first_ = DatePicker("DTPicker1", this);
    last_ = DatePicker("DTPicker2", this);
    grid->addWidget(caption("Label1", "Name:"), 0, 0);
    grid->addWidget(name_, 0, 1, 1, 3);
    grid->addWidget(caption("Label2", "One prize per"), 1, 0);
    grid->addWidget(ratio_, 1, 1);
    grid->addWidget(caption("Label3", "pigeons entered"), 1, 2, 1, 2);
    grid->addWidget(caption("Label4", "Prizes counted per loft and race:"), 2, 0);
    grid->addWidget(counted_, 2, 1);
    grid->addWidget(caption("Label5", "First race:"), 3, 0);
    grid->addWidget(first_, 3, 1, 1, 2);
    grid->addWidget(caption("Label6", "Last race:"), 4, 0);
    grid->addWidget(last_, 4, 1, 1, 2);
    grid->setColumnStretch(3, 1);
    layout->addWidget(caption("Label7", "Races of the season:"));
    races_ = new QListWidget(this);
    races_->setObjectName("List1");
    layout->addWidget(races_, 1);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch(1);
    auto* store = AddButton(buttons, "Command1", "Store");
    store->setProperty("captionByMode", true);
    store->setDefault(true);
    auto* cancel = AddButton(buttons, "CancelButton", "Cancel");
    connect(store, &QPushButton::clicked, this, &SeasonEditDialog::Store);
    connect(cancel, &QPushButton::clicked, this, &SeasonEditDialog::reject);
    Load(altered ? "Alter" : "Add");

    const int year = LocalNow().year;
    const Season shown = altered.value_or(Season{{}, kDefaultPrizeRatio, kDefaultCountedPrizes, {year, 1, 1}, {year, 12, 31}, {}});
    name_->SetBytes(shown.name);
    ratio_->SetBytes(ZeroPadded(shown.prizeRatio, 2));
    counted_->SetBytes(ZeroPadded(shown.countedPrizes, 2));
    first_->setDate(ToQDate(shown.firstRace));
    last_->setDate(ToQDate(shown.lastRace));
    // Every race of the race list, those of the season checked; then what the season lists
    // that the race list no longer has, so it can be taken out.
    std::vector<std::string> listed;
    for (const Race& race : LoadRaces(App().programFolder).races) {
        const std::string name = TrimmedRaceName(race);
        auto* item = new QListWidgetItem(ToQt(name) + "  " + ToQt(ShortDate(DateOfRace(race))), races_);
        item->setData(Qt::UserRole, ToQt(name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(shown.Lists(name) ? Qt::Checked : Qt::Unchecked);
        listed.push_back(name);
    }
    // The federation's combined lists count in a season as races do.
    for (const CombinedFile& file : LoadCombinedLists(App().programFolder)) {
        if (!file.list) continue;
        auto* item = new QListWidgetItem(ToQt(file.list->name), races_);
        item->setData(Qt::UserRole, ToQt(file.list->name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(shown.Lists(file.list->name) ? Qt::Checked : Qt::Unchecked);
        listed.push_back(file.list->name);
    }
    for (const std::string& name : shown.races) {
        const Season known{{}, 0, 0, {}, {}, listed};
        if (known.Lists(name)) continue;
        auto* item = new QListWidgetItem(Texts().Text("NotInRaceList").replace("%1", ToQt(name)), races_);
        item->setData(Qt::UserRole, ToQt(name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
}

Season SeasonEditDialog::Collect() const {
    Season season;
    season.name = TrimBlanks(name_->Bytes());
    season.prizeRatio = static_cast<int>(ParseInteger(ratio_->Bytes()).value_or(0));
    season.countedPrizes = static_cast<int>(ParseInteger(counted_->Bytes()).value_or(0));
    season.firstRace = FromQDate(first_->date());
    season.lastRace = FromQDate(last_->date());
    for (int i = 0; i < races_->count(); ++i)
        if (races_->item(i)->checkState() == Qt::Checked)
            season.races.push_back(ToBytes(races_->item(i)->data(Qt::UserRole).toString()));
    return season;
}

void SeasonEditDialog::Store() {
    const Season season = Collect();
    // Under the lock from reading the other seasons to the save, so no writer slips a race in between.
    const auto stored = UnderWriteLock(this, [&] { return StoreSeason(App().programFolder, season, alteredName_); });
    if (!stored) return;
    const SeasonStore& store = *stored;
    if (store.message != 0) {
        ShowRefusal(this, Texts(), store);
        if (auto* field = findChild<QWidget*>(ToQt(store.focusField))) {
            field->setFocus();
            if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
        }
        return;
    }
    if (!store.saved) {
        ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(store.saved.error));
        return;
    }
    stored_ = season;
    accept();
}

} // namespace plumet::ui
