#include "ui/app/mainwindow.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/fixedwidth.h"
#include "core/clock/portlist.h"
#include "serial/serialports.h"
#include "ui/app/infodialog.h"
#include "ui/app/registerlists.h"
#include "ui/app/scaleform.h"
#include "ui/app/settingsdialog.h"
#include "ui/clock/loftgetdialog.h"
#include "ui/clock/loftsenddialog.h"
#include "ui/clock/printrelaydialog.h"
#include "ui/clock/racedatagetdialog.h"
#include "ui/clock/racepointssenddialog.h"
#include "ui/clock/sendtimedialog.h"
#include "ui/clock/terminalprogramloaddialog.h"
#include "ui/exchange/exchangedialog.h"
#include "ui/race/clocktimesmandialog.h"
#include "ui/race/enterdistancesdialog.h"
#include "ui/race/racedataexportdialog.h"
#include "ui/race/raceeditdialog.h"
#include "ui/race/raceselectdialog.h"
#include "ui/race/combinedlistdialog.h"
#include "ui/race/seasondialog.h"
#include "ui/registers/clubchangedialog.h"
#include "ui/registers/clubdialog.h"
#include "ui/registers/fancierdialog.h"
#include "ui/registers/pigeondialog.h"
#include "ui/releasepoints/racepointdialog.h"

namespace plumet::ui {
namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;

enum Flags { kNone = 0, kHidden = 1, kDisabled = 2, kSeparator = 4 };

struct Item {
    const char* name;
    const char* caption;
    int flags = kNone;
    const char* key = nullptr; // when the catalogue key is not the item's own
};

const char* const kCommunicationGroup[] = {"mnuTerminal", "mnuCommunication", "mnuSendTime",
                                           "mnuPrintOverPC", "mnuPrintToFile", "mnuPrintToScreen"};

const char* const kRegisterMenus[] = {"mnuClubAdd",      "mnuClubAlter",     "mnuClubDelete",      "mnuFancierAdd",
                                      "mnuFancierAlter", "mnuFancierDelete", "mnuFancierShow",     "mnuClubChange",
                                      "mnuPigeonAdd",    "mnuPigeonAlter",   "mnuPigeonDelete",    "mnuPigeonShow",
                                      "mnuLoftSend",     "mnuRacePointsAdd", "mnuRacePointsAlter", "mnuRacePointsDelete"};

const Item kSeparatorItem{"", "", kSeparator};

// Every menu dialog is modal; the dialog itself refreshes the list before it closes.
template <typename Dialog, typename... Args>
void Open(MainWindow* mainWindow, Args... args) {
    {
        Dialog dialog(mainWindow, args...);
        dialog.exec();
    }
    mainWindow->TakeFocus();
}

// The terminal menu's entries: item, load code, and the menu whose caption names the group.
struct TerminalItem {
    const char* name;
    const char* code;
    const char* group;
};

const TerminalItem kTerminalItems[] = {
    {"mnuVeloxanLoad", "C", "mnuTerminal"},
    {"mnu1FancierLoadVP", "11", "mnuVeloxanP"},       {"mnu2FancierLoadVP", "12", "mnuVeloxanP"},
    {"mnu3FancierLoadVP", "13", "mnuVeloxanP"},       {"mnu4FancierLoadVP", "14", "mnuVeloxanP"},
    {"mnu1FancierLoadVPPAD", "21", "mnuVeloxanPPAD"}, {"mnu2FancierLoadVPPAD", "22", "mnuVeloxanPPAD"},
    {"mnu3FancierLoadVPPAD", "23", "mnuVeloxanPPAD"}, {"mnu4FancierLoadVPPAD", "24", "mnuVeloxanPPAD"},
    {"mnu1FancierLoadVPPGD", "31", "mnuVeloxanPPGD"}, {"mnu2FancierLoadVPPGD", "32", "mnuVeloxanPPGD"},
    {"mnu3FancierLoadVPPGD", "33", "mnuVeloxanPPGD"}, {"mnu4FancierLoadVPPGD", "34", "mnuVeloxanPPGD"},
};

const TerminalItem* FindTerminalItem(const QString& name) {
    for (const TerminalItem& item : kTerminalItems)
        if (name == item.name) return &item;
    return nullptr;
}

QFont FixedPitchFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

} // namespace

QString MainWindow::Title() { return QStringLiteral("Plumet Rederivevizo ZK-ORT  " PLUMET_VERSION "      -RO"); }

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), texts_(this, "frmMain") {
    setObjectName("frmMain");
    BuildMenus();
    BuildControls();
    resize(720, 480);

    // Start-up: the program folder, folders and options are prepared before the window exists.
    texts_.Apply();
    setWindowTitle(Title());
    SchnittstelleZeigen();
    ShowSettingMenus();
    ResetRegisterMenus();
    VereineAnzeigen();
    App().ports = ListComPorts(App().settings.comPort);
    timer1_->start(1000);
    ScaleFormBySettings(this, ScaleKind::MainWindow);
    // An empty status bar would shrink to a line; it keeps the room of the message to come.
    statusBar()->setFont(portLine_->font());
    statusBar()->setMinimumHeight(statusBar()->fontMetrics().height() + 6);
}

void MainWindow::BuildMenus() {
    auto addMenu = [this](QMenu* parentMenu, const char* name, const char* caption, int flags,
                          std::initializer_list<Item> items, const char* key = nullptr) {
        QMenu* menu = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
        menu->setObjectName(name);
        if (key) menu->setProperty(kCaptionKeyProperty, key);
        menu->menuAction()->setVisible(!(flags & kHidden));
        for (const Item& item : items) {
            if (item.flags & kSeparator) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(item.caption);
            action->setObjectName(item.name);
            if (item.key) action->setProperty(kCaptionKeyProperty, item.key);
            action->setVisible(!(item.flags & kHidden));
            action->setEnabled(!(item.flags & kDisabled));
            const QString itemName = item.name;
            connect(action, &QAction::triggered, this, [this, itemName] { OpenMenuDialog(itemName); });
        }
        return menu;
    };

    addMenu(nullptr, "mnuProgram", "Program", kNone, {{"mnuProgramSet", "Set"}, kSeparatorItem, {"mnuProgramExit", "Exit"}});
    addMenu(nullptr, "mnuClub", "Club", kNone,
            {{"mnuClubAdd", "Add"}, {"mnuClubAlter", "Alter"}, {"mnuClubDelete", "Delete"}, kSeparatorItem,
             {"mnuClubShow", "Show"}});
    addMenu(nullptr, "mnuFancier", "Fancier", kNone,
            {{"mnuFancierAdd", "Add"}, {"mnuFancierAlter", "Alter"}, {"mnuFancierDelete", "Delete"}, kSeparatorItem,
             {"mnuFancierShow", "Show"}});
    addMenu(nullptr, "mnuPigeon", "Pigeon", kNone,
            {{"mnuPigeonAdd", "Add"}, {"mnuPigeonAlter", "Alter"}, {"mnuPigeonDelete", "Delete"}, kSeparatorItem,
             {"mnuPigeonShow", "Show"}});
    addMenu(nullptr, "mnuRacePoints", "Race points", kNone,
            {{"mnuRacePointsAdd", "Add", kDisabled}, {"mnuRacePointsAlter", "Alter", kDisabled},
             {"mnuRacePointsDelete", "Delete", kDisabled}, kSeparatorItem, {"mnuRacePointsShow", "Show"}});
    addMenu(nullptr, "mnuCommunication", "Communication", kNone,
            {{"mnuLoftSend", "Send loft (PC -> terminal)"}, {"mnuLoftGet", "Get loft (terminal -> PC)"}, kSeparatorItem,
             {"mnuSendRacePoints", "Send race points (PC -> Terminal)"}, kSeparatorItem,
             {"mnuRacedataGet", "Get Racedata (terminal -> PC)"},
             {"mnuClockTimesManEnter", "Manually enter clock times", kHidden}});
    addMenu(nullptr, "mnuExchangedata", "Exchangedata", kNone,
            {{"mnuFancierBuild", "Build fancierdata"}, {"mnuLoftBuild", "Build loftdata"}, kSeparatorItem,
             {"mnuFancierRead", "Read fancierdata"}, {"mnuLoftRead", "Read loftdata"}, kSeparatorItem,
             {"mnuExportRaceDataToXML", "Export race data to XML"}},
            "frmMain.mnuExchangeData.Caption");
    QMenu* terminal = addMenu(nullptr, "mnuTerminal", "Terminal", kHidden, {{"mnuVeloxanLoad", "Veloxan Load", kHidden | kDisabled}});
    const char* const loadKeys[] = {"frmMain.mnu1FancierLoad.Caption", "frmMain.mnu2FancierLoad.Caption",
                                    "frmMain.mnu3FancierLoad.Caption", "frmMain.mnu4FancierLoad.Caption"};
    const char* const loadCaptions[] = {"Load 1 fancier", "Load 2 fanciers", "Load 3 fanciers", "Load 4 fanciers"};
    const char* const models[][2] = {{"mnuVeloxanP", "Load Veloxan+"}, {"mnuVeloxanPPAD", "Load Veloxan++ AD"},
                                     {"mnuVeloxanPPGD", "Load Veloxan++ GD"}};
    const char* const suffixes[] = {"VP", "VPPAD", "VPPGD"};
    for (int m = 0; m < 3; ++m) {
        QMenu* sub = addMenu(terminal, models[m][0], models[m][1], kNone, {});
        for (int n = 0; n < 4; ++n) {
            QAction* action = sub->addAction(loadCaptions[n]);
            const QString name = QString("mnu%1FancierLoad%2").arg(n + 1).arg(suffixes[m]);
            action->setObjectName(name);
            action->setProperty(kCaptionKeyProperty, loadKeys[n]);
            connect(action, &QAction::triggered, this, [this, name] { OpenMenuDialog(name); });
        }
    }
    addMenu(nullptr, "mnuExtras", "Extras", kNone,
            {{"mnuClubChange", "Change club"}, kSeparatorItem, {"mnuSendTime", "Send time (PC -> terminal)"},
             kSeparatorItem, {"mnuPrintOverPC", "Print over PC (Terminal -> PC/LPT1) "},
             {"mnuPrintToFile", "Print to file (Terminal -> PC/File) "},
             {"mnuPrintToScreen", "Print to screen (Terminal -> PC/Screen)"}});
    addMenu(nullptr, "mnuRaceCalc", "Race calculation", kHidden,
            {{"mnuRaceEnterDistances", "Enter distances"}, kSeparatorItem, {"mnuRaceAdd", "Add"},
             {"mnuRaceAlter", "Alter"}, {"mnuRaceDelete", "Delete"}, {"mnuRaceShow", "Show"},
             {"mnuRacePrint", "Print"}, {"mnuRaceCalculate", "Calculate"}, kSeparatorItem,
             {"mnuRaceSeason", "Seasons..."}, {"mnuRaceCombined", "Combined lists..."}});
    addMenu(nullptr, "mnuHelp", "Help", kNone, {{"mnuInfo", "Info"}});
}

void MainWindow::BuildControls() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    headline_ = new QLabel(central);
    headline_->setObjectName("Label3");
    list_ = new QListWidget(central);
    list_->setObjectName("List1");
    list_->setFont(FixedPitchFont());
    list_->setMinimumSize(560, 280);
    selection_ = new QLabel(central);
    selection_->setObjectName("Label1");
    portLine_ = new QLabel(central);
    portLine_->setObjectName("Label2");
    for (QLabel* label : {headline_, selection_, portLine_}) {
        label->setProperty(kNoCaptionProperty, true);
        label->setTextFormat(Qt::PlainText);
    }
    selection_->setFont(FixedPitchFont());
    portLine_->setFont(FixedPitchFont());
    layout->addWidget(headline_);
    layout->addWidget(list_, 1);
    layout->addWidget(selection_);
    layout->addWidget(portLine_);
    setCentralWidget(central);

    statusBar()->setObjectName("StatusBar");
    statusBar()->setSizeGripEnabled(false);

    // F10 opens the first menu, as on other desktops; Alt and a letter open the one it marks.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        for (QAction* menu : menuBar()->actions())
            if (menu->isVisible() && menu->isEnabled()) return menuBar()->setActiveAction(menu);
    });

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setSingleShot(true);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::StartupPortCheck);

    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { SelectLine(list_->row(item)); });
    // A line that is only current (as the list makes the first one when it gets the focus) is
    // no choice of the user's: only a selected line is what the dialogs act on.
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && list_->item(row)->isSelected()) SelectLine(row);
    });
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        if (const QListWidgetItem* current = list_->currentItem(); current && current->isSelected())
            SelectLine(list_->currentRow());
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { Descend(); });
    list_->installEventFilter(this);
}

QAction* MainWindow::MenuItem(const QString& name) const { return findChild<QAction*>(name); }
QMenu* MainWindow::Menu(const QString& name) const { return findChild<QMenu*>(name); }

void MainWindow::SetMenuEnabled(const QString& name, bool enabled) {
    if (QAction* action = MenuItem(name)) action->setEnabled(enabled);
    else if (QMenu* menu = Menu(name)) menu->menuAction()->setEnabled(enabled);
}

void MainWindow::SchnittstelleZeigen() { portLine_->setText(ToQt(PortEntry(App().settings.comPort))); }

void MainWindow::EnableCOMMenues() {
    for (const char* name : kCommunicationGroup) SetMenuEnabled(name, true);
}

void MainWindow::DisableCOMMenues() {
    for (const char* name : kCommunicationGroup) SetMenuEnabled(name, false);
}

void MainWindow::ResetRegisterMenus() {
    for (const char* name : kRegisterMenus) SetMenuEnabled(name, false);
    for (const char* name : {"mnuClubShow", "mnuRacedataGet", "mnuInfo"}) SetMenuEnabled(name, true);
    listMode_ = ListMode::None;
}

void MainWindow::ShowSettingMenus() {
    const Settings& settings = App().settings;
    Menu("mnuRaceCalc")->menuAction()->setVisible(settings.showRaceEvaluation);
    MenuItem("mnuClockTimesManEnter")->setVisible(settings.showRaceEvaluation);
    Menu("mnuTerminal")->menuAction()->setVisible(settings.showTerminalProgramLoad);
    MenuItem("mnuVeloxanLoad")->setVisible(settings.showTerminalProgramLoad);
}

void MainWindow::FillList(const std::vector<ListEntry>& entries, const QString& emptyTextKey, bool multiSelect) {
    const QSignalBlocker block(list_);
    list_->clear();
    list_->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    if (entries.empty() && !emptyTextKey.isEmpty()) {
        list_->addItem(texts_.Text(emptyTextKey));
        list_->setEnabled(false);
        return;
    }
    list_->setEnabled(true);
    for (const auto& entry : entries) {
        auto* item = new QListWidgetItem(ToQt(entry.line), list_);
        // Bytes as the register holds them, so a key goes back to core unconverted.
        item->setData(kKeyRole, QByteArray::fromStdString(entry.key));
        item->setData(kNameRole, QByteArray::fromStdString(entry.name));
    }
}

void MainWindow::VereineAnzeigen() {
    FillList(ClubListEntries(App().programFolder), "txtNoClub");
    ResetRegisterMenus();
    SetMenuEnabled("mnuClubShow", true);
    SetMenuEnabled("mnuClubAdd", true);
    selection_->clear();
    headline_->setText(texts_.Text("txtHeadlineClubs"));
    listMode_ = ListMode::Clubs;
    SelectEntry(SelectedClubNumber);
}

void MainWindow::ZuechterAnzeigen() {
    FillList(FancierListEntries(App().programFolder, SelectedClubNumber), "txtNoFancier", true);
    ResetRegisterMenus();
    SetMenuEnabled("mnuFancierAdd", true);
    headline_->setText(texts_.Text("txtHeadlineFancier"));
    listMode_ = ListMode::Fanciers;
    SelectEntry(SelectedFancierNumber);
}

void MainWindow::TaubenAnzeigen() {
    FillList(PigeonListEntries(App().programFolder, SelectedClubNumber, SelectedFancierNumber), "txtNoPigeons",
             true);
    ResetRegisterMenus();
    for (const char* name : {"mnuPigeonAdd", "mnuPigeonShow", "mnuFancierShow", "mnuLoftSend"}) SetMenuEnabled(name, true);
    headline_->setText(texts_.Text("txtHeadlinePigeons"));
    listMode_ = ListMode::Pigeons;
    SelectEntry(SelectedPigeonNumber);
}

void MainWindow::RacePointsAnzeigen() {
    std::string problem;
    const std::vector<ListEntry> entries = RacePointListEntries(App().programFolder, problem);
    // An empty list would pass for a register without points; the file stays as it is.
    FillList(entries, problem.empty() ? QString() : QString("txtRacePointsUnreadable"));
    if (!problem.empty())
        ShowMessage(this, MessageIcon::Critical, WithoutAccessKey(texts_.Text("mnuRacePoints.Caption")), ToQt(problem));
    ResetRegisterMenus();
    SetMenuEnabled("mnuRacePointsAdd", true);
    selection_->clear();
    headline_->setText(texts_.Text("txtHeadlineRacePoints"));
    listMode_ = ListMode::RacePoints;
    SelectEntry(SelectedRacePointNumber);
}

void MainWindow::SelectEntry(const std::string& key) {
    keptSelection_ = false;
    if (!list_->isEnabled() || list_->count() == 0) return;
    int row = 0;
    for (int i = 0; i < list_->count() && !keptSelection_; ++i)
        if (!key.empty() && list_->item(i)->data(kKeyRole).toByteArray().toStdString() == key) {
            row = i;
            keptSelection_ = true;
        }
    list_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    list_->scrollToItem(list_->item(row));
    SelectLine(row);
}

void MainWindow::Tell(const QString& done) { statusBar()->showMessage(done); }

void TellMainWindow(const QWidget* from, const QString& done) {
    for (const QWidget* w = from; w; w = w->parentWidget())
        if (auto* main = qobject_cast<MainWindow*>(const_cast<QWidget*>(w))) return main->Tell(done);
}

void TellWritten(const QWidget* from, const QString& file) {
    const QString done = ToQt(LoadCatalogue().LookupText("frmMain.txtFileWritten")).arg(QDir::toNativeSeparators(file));
    // The window's own line, wherever its layout put it (a scroll area on a small screen), and
    // not the line of a window opened from it.
    const QWidget* window = from ? from->window() : nullptr;
    for (QLabel* line : window ? window->findChildren<QLabel*>(kStatusLineName) : QList<QLabel*>{}) {
        if (line->window() != window) continue;
        line->setText(done);
        line->setToolTip(done);
        return;
    }
    TellMainWindow(from, done);
}

QString MainWindow::Told() const { return statusBar()->currentMessage(); }

void MainWindow::TakeFocus() {
    activateWindow();
    list_->setFocus();
}

std::vector<int> MainWindow::SelectedLines() const {
    std::vector<int> rows;
    if (!list_->isEnabled()) return rows;
    for (const QListWidgetItem* item : list_->selectedItems()) rows.push_back(list_->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool MainWindow::HasEntrySelected() const {
    return list_->isEnabled() && list_->currentRow() >= 0 && !list_->selectedItems().isEmpty();
}

void MainWindow::SelectLine(int row) {
    if (row < 0 || row >= list_->count() || !list_->isEnabled()) return;
    const QListWidgetItem* item = list_->item(row);
    const std::string key = item->data(kKeyRole).toByteArray().toStdString();
    const std::string entryName = item->data(kNameRole).toByteArray().toStdString();
    switch (listMode_) {
    case ListMode::Clubs:
        // Another club's fanciers and pigeons are not the ones chosen before.
        if (key != SelectedClubNumber) SelectedFancierNumber.clear(), SelectedFancierName.clear(), SelectedPigeonNumber.clear();
        SelectedClubNumber = key;
        SelectedClubName = entryName;
        for (const char* name : {"mnuClubAlter", "mnuClubDelete", "mnuFancierShow"}) SetMenuEnabled(name, true);
        break;
    case ListMode::Fanciers:
        if (key != SelectedFancierNumber) SelectedPigeonNumber.clear();
        SelectedFancierNumber = key;
        SelectedFancierName = entryName;
        for (const char* name : {"mnuPigeonShow", "mnuFancierAdd", "mnuFancierAlter", "mnuFancierDelete", "mnuLoftSend",
                                 "mnuClubChange"})
            SetMenuEnabled(name, true);
        break;
    case ListMode::Pigeons:
        SelectedPigeonNumber = key;
        for (const char* name : {"mnuPigeonAlter", "mnuPigeonDelete", "mnuLoftSend"}) SetMenuEnabled(name, true);
        break;
    case ListMode::RacePoints:
        SelectedRacePointNumber = key;
        for (const char* name : {"mnuRacePointsAlter", "mnuRacePointsDelete"}) SetMenuEnabled(name, true);
        break;
    case ListMode::None: return;
    }
    UpdateSelectionLine();
}

void MainWindow::UpdateSelectionLine() {
    if (listMode_ == ListMode::Clubs)
        selection_->setText(ToQt(SelectedClubNumber + ": " + TrimBlanks(SelectedClubName)));
    else if (listMode_ == ListMode::Fanciers)
        selection_->setText(ToQt(SelectedClubNumber + ": " + TrimBlanks(SelectedClubName) + " / " +
                                 SelectedFancierNumber + ": " + TrimBlanks(SelectedFancierName)));
}

void MainWindow::Descend() {
    if (!HasEntrySelected()) return;
    if (listMode_ == ListMode::Fanciers) TaubenAnzeigen();
    else if (listMode_ == ListMode::Clubs) ZuechterAnzeigen();
}

void MainWindow::GoUp() {
    if (listMode_ == ListMode::Pigeons) ZuechterAnzeigen();
    else if (listMode_ == ListMode::Fanciers) VereineAnzeigen();
}

void MainWindow::DeleteSelected() {
    if (!HasEntrySelected()) return;
    if (listMode_ == ListMode::Fanciers) OpenMenuDialog("mnuFancierDelete");
    else if (listMode_ == ListMode::Pigeons) OpenMenuDialog("mnuPigeonDelete");
    else if (listMode_ == ListMode::Clubs) OpenMenuDialog("mnuClubDelete");
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            key->key() == Qt::Key_Escape) {
            keyPressEvent(key);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Delete: DeleteSelected(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: Descend(); break;
    case Qt::Key_Escape: GoUp(); break;
    default: QMainWindow::keyPressEvent(event); return;
    }
    event->accept();
}

void MainWindow::RememberListPosition() {
    rememberedPosition_ = {HasEntrySelected() ? list_->currentRow() : -1, list_->count()};
}

void MainWindow::RestoreListPosition() {
    if (keptSelection_) return; // the entry is still there, wherever it now stands
    const QString first = list_->count() > 0 ? list_->item(0)->text() : QString();
    const bool emptyText = !list_->isEnabled() && (first == texts_.Text("txtNoClub") ||
                                                   first == texts_.Text("txtNoFancier") ||
                                                   first == texts_.Text("txtNoPigeons"));
    const int row = RestoredListLine(rememberedPosition_, list_->count(), emptyText);
    if (row < 0) return; // the rebuilt list keeps the entry it selected
    list_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    SelectLine(row);
}

void MainWindow::StartupPortCheck() {
    timer1_->stop();
    const Settings& settings = App().settings;
    const bool portUsable = settings.HasPort() && FindComPort(App().ports, settings.comPort) >= 0;
    if (settings.region.empty() || !portUsable) OpenSettings(false);
}

void MainWindow::OpenSettings(bool fromMenu) {
    {
        SettingsDialog dialog(this);
        dialog.exec();
    }
    TakeFocus();
    // Fitted again even unscaled: the menus shown may have changed.
    ScaleForm(this, fromMenu ? PendingScaleRatio : 1.0F, App().settings.sizeChoice, ScaleKind::MainWindow);
}

void MainWindow::OpenMenuDialog(const QString& menuName) {
    using Opener = void (*)(MainWindow*);
    struct MenuDialog {
        const char* item;
        Opener open;
    };
    static const MenuDialog kMenuDialogs[] = {
        {"mnuProgramSet", [](MainWindow* w) { w->OpenSettings(true); }},
        {"mnuProgramExit", [](MainWindow* w) { w->close(); }},
        {"mnuClubShow", [](MainWindow* w) { w->VereineAnzeigen(); }},
        {"mnuFancierShow", [](MainWindow* w) { w->ZuechterAnzeigen(); }},
        {"mnuPigeonShow", [](MainWindow* w) { w->TaubenAnzeigen(); }},
        {"mnuRacePointsShow", [](MainWindow* w) { w->RacePointsAnzeigen(); }},
        {"mnuClubAdd", [](MainWindow* w) { Open<ClubDialog>(w, ClubDialog::Mode::Add); }},
        {"mnuClubAlter", [](MainWindow* w) { Open<ClubDialog>(w, ClubDialog::Mode::Alter); }},
        {"mnuClubDelete", [](MainWindow* w) { Open<ClubDialog>(w, ClubDialog::Mode::Delete); }},
        {"mnuFancierAdd", [](MainWindow* w) { Open<FancierDialog>(w, FancierDialog::Mode::Add); }},
        {"mnuFancierAlter", [](MainWindow* w) { Open<FancierDialog>(w, FancierDialog::Mode::Alter); }},
        {"mnuFancierDelete", [](MainWindow* w) { Open<FancierDialog>(w, FancierDialog::Mode::Delete); }},
        {"mnuPigeonAdd", [](MainWindow* w) { Open<PigeonDialog>(w, PigeonDialogMode::Add); }},
        {"mnuPigeonAlter", [](MainWindow* w) { Open<PigeonDialog>(w, PigeonDialogMode::Alter); }},
        {"mnuPigeonDelete", [](MainWindow* w) { Open<PigeonDialog>(w, PigeonDialogMode::Delete); }},
        {"mnuRacePointsAdd", [](MainWindow* w) { Open<RacePointDialog>(w, RacePointDialog::Mode::Add); }},
        {"mnuRacePointsAlter", [](MainWindow* w) { Open<RacePointDialog>(w, RacePointDialog::Mode::Alter); }},
        {"mnuRacePointsDelete", [](MainWindow* w) { Open<RacePointDialog>(w, RacePointDialog::Mode::Delete); }},
        {"mnuClubChange", [](MainWindow* w) { Open<ClubChangeDialog>(w); }},
        {"mnuLoftSend", [](MainWindow* w) { Open<LoftSendDialog>(w); }},
        {"mnuLoftGet", [](MainWindow* w) { Open<LoftGetDialog>(w); }},
        {"mnuSendRacePoints", [](MainWindow* w) { Open<RacePointsSendDialog>(w); }},
        {"mnuRacedataGet", [](MainWindow* w) { Open<RacedataGetDialog>(w); }},
        {"mnuClockTimesManEnter", [](MainWindow* w) { Open<ClockTimesManDialog>(w); }},
        {"mnuFancierBuild",
         [](MainWindow* w) { Open<ExchangeDialog>(w, ExchangeKind::Fancier, ExchangeDialog::Direction::Build); }},
        {"mnuLoftBuild",
         [](MainWindow* w) { Open<ExchangeDialog>(w, ExchangeKind::Loft, ExchangeDialog::Direction::Build); }},
        {"mnuFancierRead",
         [](MainWindow* w) { Open<ExchangeDialog>(w, ExchangeKind::Fancier, ExchangeDialog::Direction::Read); }},
        {"mnuLoftRead",
         [](MainWindow* w) { Open<ExchangeDialog>(w, ExchangeKind::Loft, ExchangeDialog::Direction::Read); }},
        {"mnuExportRaceDataToXML", [](MainWindow* w) { Open<RaceDataExportDialog>(w); }},
        {"mnuSendTime", [](MainWindow* w) { Open<SendTimeDialog>(w); }},
        {"mnuPrintOverPC", [](MainWindow* w) { Open<PrintRelayDialog>(w, PrintTarget::Printer); }},
        {"mnuPrintToFile", [](MainWindow* w) { Open<PrintRelayDialog>(w, PrintTarget::File); }},
        {"mnuPrintToScreen", [](MainWindow* w) { Open<PrintRelayDialog>(w, PrintTarget::Screen); }},
        {"mnuRaceEnterDistances", [](MainWindow* w) { Open<EnterDistancesDialog>(w); }},
        {"mnuRaceAdd", [](MainWindow* w) { Open<RaceEditDialog>(w); }},
        {"mnuRaceAlter", [](MainWindow* w) { Open<RaceSelectDialog>(w, RaceSelectDialog::Mode::Alter); }},
        {"mnuRaceDelete", [](MainWindow* w) { Open<RaceSelectDialog>(w, RaceSelectDialog::Mode::Delete); }},
        {"mnuRaceShow", [](MainWindow* w) { Open<RaceSelectDialog>(w, RaceSelectDialog::Mode::ShowResults); }},
        {"mnuRacePrint", [](MainWindow* w) { Open<RaceSelectDialog>(w, RaceSelectDialog::Mode::PrintResults); }},
        {"mnuRaceCalculate", [](MainWindow* w) { Open<RaceSelectDialog>(w, RaceSelectDialog::Mode::Calculate); }},
        {"mnuRaceSeason", [](MainWindow* w) { Open<SeasonDialog>(w); }},
        {"mnuRaceCombined", [](MainWindow* w) { Open<CombinedListDialog>(w); }},
        {"mnuInfo", [](MainWindow* w) { Open<InfoDialog>(w); }},
    };
    for (const MenuDialog& entry : kMenuDialogs)
        if (menuName == entry.item) return entry.open(this);
    // The terminal menu's entries share one dialog, told the load code and the captions.
    if (const TerminalItem* item = FindTerminalItem(menuName))
        Open<TerminalProgramLoadDialog>(this, QString(item->code), WithoutAccessKey(Menu(item->group)->title()).left(20),
                                        WithoutAccessKey(MenuItem(menuName)->text()));
}

} // namespace plumet::ui
