#include "ui/race/raceresultsdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QAbstractButton>
#include <QFontDatabase>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/catalogues.h"
#include "common/localeforms.h"
#include "common/textcodec.h"
#include "core/race/racecalc.h"
#include "core/race/racelog.h"
#include "core/race/resultexport.h"
#include "core/race/resultlayout.h"
#include "ui/app/writelock.h"
#include "ui/race/fixedlist.h"
#include "ui/race/resultexportdialog.h"
#include "ui/race/resultprint.h"

namespace plumet::ui {

RaceResultsDialog::RaceResultsDialog(QWidget* parent, const Race& race, std::vector<ResultLine> lines,
                                     const QStringList& warnings)
    : DialogBase("frmRaceResultsShow", parent), race_(race), lines_(std::move(lines)) {
    shownResult_ = ReadWholeFile(ResultFilePath(App().programFolder, race_.name)).bytes;
    const TextCatalogue catalogue = LoadCatalogue();
    const RaceSeason season = SeasonOfRace(App().programFolder, race_);
    const RacePrizes* prizes = season.Prizes();
    QStringList notes = warnings;
    for (const std::string& warning : RaceSeasonWarnings(catalogue, App().programFolder, season)) notes << ToQt(warning);
    for (const QString& note : warnings) notes_.push_back(ToBytes(note));
    for (const SeasonFileProblem& problem : season.damaged)
        notes_.push_back(SeasonProblemText(catalogue, App().programFolder, problem));

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    const char* const defaults[] = {"Race:",         "Club:",          "Race point:",
                                    "Date:",         "Release time:",  "Closed period:",
                                    "Mean distance:", "Pigeons entered:", "Pigeons classified:"};
    std::array<QLabel*, 9> values{};
    for (int i = 0; i < 9; ++i) {
        values[i] = DataLabel(this, "Label" + QString::number(2 * i + 2));
        auto* caption = new QLabel(defaults[i], this);
        caption->setObjectName("Label" + QString::number(2 * i + 1));
        const int row = i < 5 ? i : i - 5;
        const int column = i < 5 ? 0 : 3;
        grid->addWidget(caption, row, column);
        grid->addWidget(values[i], row, column + 1);
    }
    auto* unit = DataLabel(this, "Label19");
    grid->addWidget(unit, 1, 5);
    // A race of a season: the season and its prizes.
    if (prizes) {
        auto* caption = new QLabel("Season:", this);
        caption->setObjectName("Label22");
        auto* value = DataLabel(this, "Label23");
        value->setText(ToQt(RaceSeasonText(catalogue, *prizes)));
        grid->addWidget(caption, 5, 0);
        grid->addWidget(value, 5, 1, 1, 6);
    }
    // Provisional, final or amended, under the head.
    auto* stateCaption = new QLabel("State:", this);
    stateCaption->setObjectName("lblState");
    state_ = DataLabel(this, "lblStateValue");
    grid->addWidget(stateCaption, 6, 0);
    grid->addWidget(state_, 6, 1, 1, 6);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(6, 1);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("resultTabs");
    layout->addWidget(tabs_, 1);
    QVBoxLayout* listTab = AddTab("TabList", [this] { PrintResultList(this, race_, lines_, notes_); },
                                  [this] { ExportResultList(this, race_); });
    list_ = AddFixedList(listTab, tabPages_.back().page, "Label20", "List1", prizes ? 101 : 84).list;
    list_->setMinimumHeight(360);
    auto* warningLines = DataLabel(tabPages_.back().page, "Label21");
    warningLines->setText(notes.join('\n'));
    warningLines->setWordWrap(true);
    warningLines->setVisible(!notes.isEmpty());
    listTab->addWidget(warningLines);

    // Worked out afresh from the race's files each time the window opens.
    DistanceTable distances;
    LoadDistanceTable(distances, App().programFolder, race_.clubNumber);
    sheet_ = CheckSheetOf(App().programFolder, App().settings, race_, distances, LocaleSeparator());
    QVBoxLayout* checkTab = AddTab("TabCheckSheet", [this] { PrintCheckSheet(this, race_, sheet_); },
                                   [this] { ExportCheckSheetAsked(this, race_, sheet_); });
    const FixedList sheetList = AddFixedList(checkTab, tabPages_.back().page, "Label24", "checkSheetView", 100);
    checkSheet_ = sheetList.list;
    QStringList sheetLines;
    for (const std::string& line : plumet::CheckSheetLines(sheet_)) sheetLines << ToQt(line);
    // A sheet with flags has a head line over them; one without says why in its only line.
    const bool headed = sheet_.refusal.empty() && !sheet_.flags.empty();
    sheetList.Show(headed ? sheetLines.mid(0, 1) : QStringList(), headed ? sheetLines.mid(1) : sheetLines);
    // The log's tab prints and exports the list, whose pages end with the log.
    QVBoxLayout* logTab = AddTab("LogTab", [this] { PrintResultList(this, race_, lines_, notes_); },
                                 [this] { ExportResultList(this, race_); });
    log_ = new QPlainTextEdit(tabPages_.back().page);
    log_->setObjectName("txtLog");
    log_->setReadOnly(true);
    log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    logTab->addWidget(log_);
    // The tab bar's own scroll buttons take no caption.
    for (QAbstractButton* button : tabs_->findChildren<QAbstractButton*>()) button->setProperty(kNoCaptionProperty, true);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddStatusLine(buttons);
    auto* close = AddButton(buttons, "Command1", "Close");
    auto* print = AddButton(buttons, "Command2", "Print");
    auto* exportList = AddButton(buttons, "Command3", "Export...");
    auto* makeFinal = AddButton(buttons, "cmdMakeFinal", "Make final");
    connect(makeFinal, &QPushButton::clicked, this, &RaceResultsDialog::MakeFinal);
    connect(close, &QPushButton::clicked, this, &RaceResultsDialog::accept);
    connect(print, &QPushButton::clicked, this, &RaceResultsDialog::Print);
    connect(exportList, &QPushButton::clicked, this, &RaceResultsDialog::Export);
    Load();
    for (std::size_t i = 0; i < tabPages_.size(); ++i)
        tabs_->setTabText(static_cast<int>(i), Texts().Text(tabPages_[i].key));

    const bool miles = race_.distanceUnit == kRaceInMiles;
    const auto head = ResultHeadValues(race_, RaceShortDate(race_), ToBytes(Texts().Text("frmRaceResultsShowNoOffTime")));
    for (std::size_t i = 0; i < head.size(); ++i) values[i]->setText(ToQt(head[i]));
    unit->setText(Texts().Text(miles ? "Label19.Caption(Miles)" : "Label19.Caption(Km)"));
    const ResultWindowTexts heads = LoadResultWindowTexts(catalogue, race_.distanceUnit);
    const auto headLines = ResultWindowHeads(heads.columns, heads.units, heads.PrizeHeads(prizes));
    QStringList shown;
    for (const std::string& line : ResultWindowLines(lines_, race_.distanceUnit, LocaleSeparator(), prizes,
                                                     catalogue.LookupText("TxtPrnPrizeMark"),
                                                     ResultWindowSpreadOf(heads.columns, heads.units, heads.PrizeHeads(prizes))))
        shown << ToQt(line);
    FixedList{findChild<QLabel*>("Label20"), list_}.Show({ToQt(headLines[0]), ToQt(headLines[1])}, shown);
    ShowState();
}

void RaceResultsDialog::ShowState() {
    const RaceLog log = ReadRaceLog(App().programFolder, race_.name);
    state_->setText(ToQt(RaceStateText(log)));
    QStringList lines;
    for (const std::string& line : SplitLines(log.bytes)) lines << ToQt(line);
    log_->setPlainText(lines.join('\n'));
}

void RaceResultsDialog::MakeFinal() {
    const auto who = AskText(this, windowTitle(), ToQt(CatalogueText("frmRaceResultsShow.ByPrompt")));
    if (!who) return;
    const RaceLogAuthor author{ToBytes(*who), {}, SystemTimeSource().Now()};
    const auto saved = UnderWriteLock(this, [&] { return FinaliseRace(App().programFolder, race_, author, shownResult_); });
    if (saved && !*saved) ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(saved->error));
    ShowState();
}

QVBoxLayout* RaceResultsDialog::AddTab(const QString& key, std::function<void()> print, std::function<void()> exportTo) {
    auto* page = new QWidget(tabs_);
    tabs_->addTab(page, key);
    tabPages_.push_back({page, key, std::move(print), std::move(exportTo)});
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

const RaceResultsDialog::Tab& RaceResultsDialog::Current() const {
    return tabPages_.at(static_cast<std::size_t>(std::max(tabs_->currentIndex(), 0)));
}

QStringList RaceResultsDialog::ListLines() const { return FixedList{nullptr, list_}.Lines(); }
QStringList RaceResultsDialog::CheckSheetLines() const { return FixedList{nullptr, checkSheet_}.Lines(); }

void RaceResultsDialog::Print() { Current().print(); }
void RaceResultsDialog::Export() { Current().exportTo(); }

CalculationReport CalculateRaceAndReport(QWidget* parent, RaceList& races, std::size_t number,
                                         const DistanceTable& distances) {
    // The race as chosen: the list may come back in another order once it is read afresh.
    const Race chosen = number >= 1 && number <= races.Count() ? races.races[number - 1] : Race{};
    const std::optional<RaceLogAuthor> author = AskChangeReason(parent, chosen);
    if (!author) return {};
    const auto calculated = UnderWriteLock(parent, [&] {
        return CalculateRace(races, number, distances, App().programFolder, App().settings, LocaleSeparator(), &*author);
    });
    if (!calculated) return {};
    const RaceCalcOutcome& outcome = *calculated;
    const TextCatalogue catalogue = LoadCatalogue();
    const QString title = ToQt(catalogue.LookupText("frmRaceSelect.Caption(Calculate)"));
    // Both files are written together, so one reason covers both.
    const SaveResult& saved = outcome.racesSaved.ok ? outcome.resultSaved : outcome.racesSaved;
    if (!saved.ok) ShowMessage(parent, MessageIcon::Critical, title, ToQt(saved.error));
    CalculationReport report;
    report.listChanged = !saved.ok && saved.reason == FileReason::Changed;
    for (const std::string& warning : ReadingEndedWarnings(catalogue, App().programFolder, outcome.readingEnded))
        report.warnings << ToQt(warning);
    if (const std::string why = NoArrivalsText(outcome, chosen); !why.empty()) report.warnings << ToQt(why);
    return report;
}

namespace {

// The race's result file, or nothing when it cannot be read at all (the user has been told why).
// A file that ends early gives what it holds, with the reason among `warnings`.
std::optional<ResultFile> ReadResultsOrSay(QWidget* parent, const Race& race, QStringList* warnings) {
    ResultFile result = ReadResultFile(App().programFolder, race.name);
    const QString reason = ToQt(CannotReadText(ResultFilePath(App().programFolder, race.name), result.problem));
    if (result.status == ReadStatus::Unreadable) {
        ShowMessage(parent, MessageIcon::Critical, ToQt(LoadCatalogue().LookupText("frmRaceSelect.Caption(ShowResults)")),
                    reason);
        return std::nullopt;
    }
    if (!result.whole && warnings) *warnings << reason;
    return result;
}

} // namespace

void ShowRaceResults(QWidget* parent, const Race& race, const QStringList& warnings) {
    QStringList notes = warnings;
    const auto result = ReadResultsOrSay(parent, race, &notes);
    if (!result) return;
    RaceResultsDialog dialog(parent, race, result->lines, notes);
    dialog.exec();
}

void PrintRaceResults(QWidget* parent, const Race& race) {
    const auto result = ReadResultsOrSay(parent, race, nullptr);
    if (result)
        PrintResultList(parent, race, result->lines,
                        ResultListNotes(LoadCatalogue(), App().programFolder, race, *result,
                                        SeasonOfRace(App().programFolder, race)));
}

} // namespace plumet::ui
