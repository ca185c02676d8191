#include "ui/race/combinedlistdialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/localeforms.h"
#include "common/textcodec.h"
#include "core/app/fixedwidth.h"
#include "core/race/racefields.h"
#include "print/resultpages.h"
#include "ui/app/mainwindow.h"
#include "ui/app/writelock.h"
#include "ui/race/fixedlist.h"
#include "ui/race/resultexportdialog.h"
#include "ui/race/resultprint.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {
namespace {

constexpr int kHeadLines = 7;

} // namespace

void LinesModel::SetLines(std::vector<std::string> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

int LinesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant LinesModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || static_cast<std::size_t>(index.row()) >= lines_.size()) return {};
    return ToQt(lines_[static_cast<std::size_t>(index.row())]);
}

// ---- frmCombined ----------------------------------------------------------------------------

CombinedListDialog::CombinedListDialog(QWidget* parent) : DialogBase("frmCombined", parent) {
    auto* layout = new QVBoxLayout(this);
    const ChooserRow chooser = AddChooserRow(layout, "Combined list:");
    lists_ = chooser.chooser;
    alter_ = chooser.alter;
    delete_ = chooser.remove;
    const HeadGrid head = AddHeadGrid(layout, kHeadLines);
    head_ = head.labels;
    for (QLabel* label : head_) label->setWordWrap(true);
    // The list's state, then each club race's own, under the head.
    auto* stateCaption = new QLabel("State:", this);
    stateCaption->setObjectName("lblState");
    state_ = DataLabel(this, "lblStateValue");
    head.grid->addWidget(stateCaption, kHeadLines, 0);
    head.grid->addWidget(state_, kHeadLines, 1, 1, 3);
    raceStates_ = DataLabel(this, "lblRaceStates");
    head.grid->addWidget(raceStates_, kHeadLines + 1, 1, 1, 3);

    // A model/view list: a federation's 100 000 pigeons scroll without an item each.
    const QFont fixed = FixedListFont();
    heads_ = DataLabel(this, "Label40");
    heads_->setFont(fixed);
    layout->addWidget(heads_);
    view_ = new QListView(this);
    view_->setObjectName("List1");
    view_->setFont(fixed);
    view_->setUniformItemSizes(true);
    view_->setMinimumHeight(240);
    view_->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(110, 'M')));
    model_ = new LinesModel(view_);
    view_->setModel(model_);
    layout->addWidget(view_, 1);
    // The heads stand over the rows' text and scroll sideways with it.
    const int textStart = view_->frameWidth() + view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 1;
    heads_->setContentsMargins(textStart, 0, 0, 0);
    connect(view_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this, textStart](int value) { heads_->setContentsMargins(textStart - value, 0, 0, 0); });
    warnings_ = DataLabel(this, "Label41");
    warnings_->setWordWrap(true);
    layout->addWidget(warnings_);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch(1);
    auto* close = AddButton(buttons, "Command1", "Close");
    print_ = AddButton(buttons, "Command2", "Print");
    export_ = AddButton(buttons, "Command3", "Export...");
    connect(close, &QPushButton::clicked, this, &CombinedListDialog::accept);
    connect(print_, &QPushButton::clicked, this, &CombinedListDialog::Print);
    connect(export_, &QPushButton::clicked, this, &CombinedListDialog::Export);
    connect(chooser.add, &QPushButton::clicked, this, &CombinedListDialog::NewList);
    connect(alter_, &QPushButton::clicked, this, &CombinedListDialog::AlterList);
    connect(delete_, &QPushButton::clicked, this, &CombinedListDialog::DeleteList);
    connect(lists_, &QComboBox::currentIndexChanged, this, &CombinedListDialog::ShowChosen);
    Load();
    heads_->setFont(view_->font()); // the size rule gives labels the dialog's font; the heads must stand over the rows
    FillLists({});
}

void CombinedListDialog::FillLists(const QString& select) {
    files_ = LoadCombinedLists(App().programFolder);
    std::vector<std::pair<std::string, Path>> names;
    for (const CombinedFile& file : files_) names.emplace_back(file.list ? file.list->name : std::string(), file.file);
    FillChooser(lists_, names, Texts().Text("NoLists"), select);
    ShowChosen();
}

void CombinedListDialog::ChooseList(const QString& name) { FillLists(name); }

void CombinedListDialog::ShowChosen() {
    const TextCatalogue catalogue = LoadCatalogue();
    const int index = lists_->currentIndex();
    const CombinedFile* file =
        index >= 0 && static_cast<std::size_t>(index) < files_.size() ? &files_[static_cast<std::size_t>(index)] : nullptr;
    result_.reset();
    season_.reset();
    QStringList notes;
    if (file && file->list) {
        result_ = CalculateCombined(App().programFolder, *file->list, files_, LoadRaces(App().programFolder));
        season_ = SeasonOfCombined(App().programFolder, *result_);
        for (const std::string& note : CombinedNotes(catalogue, *result_)) notes << ToQt(note);
        for (const std::string& warning : RaceSeasonWarnings(catalogue, App().programFolder, *season_))
            notes << ToQt(warning);
    } else if (file) {
        notes << ToQt(file->problem);
    }
    const RacePrizes* prizes = season_ ? season_->Prizes() : nullptr;
    const std::vector<HeadLine> lines =
        result_ ? ResultHeadLines(result_->head, LoadPrintTexts(catalogue), RaceShortDate(result_->head), prizes)
                : std::vector<HeadLine>{};
    for (std::size_t i = 0; i < head_.size(); ++i) {
        const HeadLine* line = i / 4 < lines.size() ? &lines[i / 4] : nullptr;
        const HeadPair* pair = line ? (i % 4 < 2 ? &line->left : &line->right) : nullptr;
        head_[i]->setText(pair ? ToQt(i % 2 == 0 ? pair->label : TrimBlanks(pair->value)) : QString());
    }
    const ResultWindowTexts texts = LoadResultWindowTexts(catalogue, result_ ? result_->head.distanceUnit : kRaceInKm);
    const std::string clubHead = catalogue.LookupText("Combined.ClubHead");
    const auto heads = CombinedWindowHeads(clubHead, texts.columns, texts.units, texts.PrizeHeads(prizes));
    heads_->setText(ToQt(heads[0] + "\n" + heads[1]));
    model_->SetLines(result_ ? CombinedWindowLines(*result_, LocaleSeparator(), prizes,
                                                   catalogue.LookupText("TxtPrnPrizeMark"),
                                                   ResultWindowSpreadOf(texts.columns, texts.units, texts.PrizeHeads(prizes)), clubHead)
                             : std::vector<std::string>{});
    state_->setText(result_ ? ToQt(result_->state) : QString());
    QStringList raceStates;
    if (result_)
        for (const std::string& line : CombinedRaceStates(catalogue, *result_)) raceStates << ToQt(line);
    raceStates_->setText(raceStates.join('\n'));
    if (result_ && !result_->Complete()) notes.prepend(Texts().Text("IncompleteMark"));
    warnings_->setText(notes.join('\n'));
    warnings_->setVisible(!notes.isEmpty());
    for (QPushButton* button : {alter_, delete_, print_, export_}) button->setEnabled(result_.has_value());
}

QStringList CombinedListDialog::ListLines() const {
    QStringList lines = heads_->text().split('\n');
    for (int row = 0; row < model_->rowCount(); ++row) lines << model_->data(model_->index(row), Qt::DisplayRole).toString();
    return lines;
}

QString CombinedListDialog::Warnings() const { return warnings_->text(); }

QStringList CombinedListDialog::StateLines() const {
    return QStringList{state_->text()} + raceStates_->text().split('\n', Qt::SkipEmptyParts);
}

bool CombinedListDialog::MayGoOut() {
    if (!result_) return false;
    const std::vector<std::string> notes = CombinedNotes(LoadCatalogue(), *result_);
    if (notes.empty()) return true;
    ShowMessage(this, MessageIcon::Exclamation, windowTitle(),
                ToQt(FillPlaceholders(LoadCatalogue().LookupText("Combined.Incomplete"), {result_->list.name, notes.front()})));
    return false;
}

void CombinedListDialog::NewList() {
    CombinedEditDialog editor(this, std::nullopt);
    if (editor.exec() == QDialog::Accepted) FillLists(ToQt(editor.Stored().name));
}

void CombinedListDialog::AlterList() {
    if (!result_) return;
    CombinedEditDialog editor(this, result_->list);
    if (editor.exec() == QDialog::Accepted) FillLists(ToQt(editor.Stored().name));
}

void CombinedListDialog::DeleteList() {
    if (!result_) return;
    const std::string name = result_->list.name;
    AskAndRemove(name, [&] { return DeleteCombinedList(App().programFolder, name); });
    FillLists({});
}

void CombinedListDialog::Print() {
    if (!MayGoOut()) return;
    PrintPages(this, ToQt(result_->list.name), CombinedPagesFor(*result_, season_ ? season_->Prizes() : nullptr));
}

void CombinedListDialog::Export() {
    if (!MayGoOut()) return;
    const auto chosen = AskExportFile(this, Texts().Text("ExportTitle"), ToQt(result_->list.name));
    if (!chosen) return;
    const std::string name = result_->list.name;
    const auto saved = UnderWriteLock(this, [&] {
        // What the files hold now, once no other writer is at work.
        const auto now = CurrentCombined(App().programFolder, name);
        if (!now) return ExportOutcome{ExportStatus::NotWritten, CatalogueText("Combined.NoSuchList", {name}), {}};
        const RaceSeason season = SeasonOfCombined(App().programFolder, *now);
        return ExportCombined(App().programFolder, *now, LoadExportTexts(LoadCatalogue()), RaceShortDate(now->head),
                              {{chosen->format, Path(chosen->file.toStdU16String())}}, season.Prizes());
    });
    if (saved && saved->status != ExportStatus::Written)
        ShowMessage(this, MessageIcon::Critical, Texts().Text("ExportTitle"), ToQt(saved->error));
    else if (saved) TellWritten(this, chosen->file);
}

// ---- frmCombinedEdit ------------------------------------------------------------------------

CombinedEditDialog::CombinedEditDialog(QWidget* parent, const std::optional<CombinedList>& altered)
    : DialogBase("frmCombinedEdit", parent), races_(LoadRaces(App().programFolder)) {
    if (altered) alteredName_ = altered->name;
    setProperty("captionByMode", true);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    name_ = new FixedField({static_cast<int>(kSeasonNameLength), RaceNameKey, nullptr, true}, this);
    name_->setObjectName("Text1");
    AddLabelled(grid, 0, "Label1", "Name:", name_);
    auto* caption = new QLabel("Races of the list:", this);
    caption->setObjectName("Label2");
    layout->addWidget(caption);
    list_ = new QListWidget(this);
    list_->setObjectName("List1");
    list_->setMinimumHeight(200);
    layout->addWidget(list_, 1);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch(1);
    auto* store = AddButton(buttons, "Command1", "Store");
    store->setProperty("captionByMode", true);
    store->setDefault(true);
    auto* cancel = AddButton(buttons, "CancelButton", "Cancel");
    connect(store, &QPushButton::clicked, this, &CombinedEditDialog::Store);
    connect(cancel, &QPushButton::clicked, this, &CombinedEditDialog::reject);
    Load(altered ? "Alter" : "Add");

    const CombinedList shown = altered.value_or(CombinedList{});
    name_->SetBytes(shown.name);
    for (std::size_t i = 0; i < races_.races.size(); ++i) {
        const Race& race = races_.races[i];
        const std::string name = TrimmedRaceName(race);
        auto* item = new QListWidgetItem(ToQt(name) + "  " + ToQt(ShortDate(DateOfRace(race))) + "  " +
                                             ToQt(ZeroPadded(race.clubNumber, 3) + " " + TrimRightBlanks(race.clubName)),
                                         list_);
        item->setData(Qt::UserRole, static_cast<int>(i));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(shown.Lists(name) ? Qt::Checked : Qt::Unchecked);
    }
    connect(list_, &QListWidget::itemChanged, this, &CombinedEditDialog::FilterRaces);
    FilterRaces();
}

void CombinedEditDialog::FilterRaces() {
    const Race* first = nullptr;
    for (int i = 0; i < list_->count() && !first; ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            first = &races_.races[static_cast<std::size_t>(list_->item(i)->data(Qt::UserRole).toInt())];
    for (int i = 0; i < list_->count(); ++i) {
        const Race& race = races_.races[static_cast<std::size_t>(list_->item(i)->data(Qt::UserRole).toInt())];
        list_->item(i)->setHidden(first && !CombineRefusal(*first, race).empty());
    }
}

void CombinedEditDialog::Store() {
    CombinedList list{TrimBlanks(name_->Bytes()), {}};
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            list.races.push_back(TrimmedRaceName(races_.races[static_cast<std::size_t>(list_->item(i)->data(Qt::UserRole).toInt())]));
    // Under the lock from reading the other lists to the save, so no writer slips a race in between.
    const auto stored = UnderWriteLock(this, [&] { return StoreCombinedList(App().programFolder, list, alteredName_); });
    if (!stored) return;
    if (!*stored) {
        ShowMessage(this, MessageIcon::Exclamation, windowTitle(), ToQt(stored->error));
        name_->setFocus();
        return;
    }
    stored_ = list;
    accept();
}

} // namespace plumet::ui
