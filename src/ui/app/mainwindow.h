#pragma once
// frmMain: the menu bar, the one list of clubs, fanciers, pigeons or release points, and
// the current selection that the dialogs read.
#include <QMainWindow>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/records/listposition.h"
#include "ui/app/formtexts.h"

class QLabel;
class QListWidget;
class QTimer;
class QMenu;

namespace plumet::ui {

enum class ListMode { None, Clubs, Fanciers, Pigeons, RacePoints };

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    static QString Title();

    // Selection state (Windows-1252 bytes, "" until chosen).
    std::string SelectedClubNumber;
    std::string SelectedClubName;
    std::string SelectedFancierNumber;
    std::string SelectedFancierName;
    std::string SelectedPigeonNumber;
    std::string SelectedRacePointNumber;
    float PendingScaleRatio = 1.0F;

    ListMode Mode() const { return listMode_; }
    QString Text(const QString& suffix) const { return texts_.Text(suffix); }

    void SchnittstelleZeigen();
    void EnableCOMMenues();
    void DisableCOMMenues();
    void ResetRegisterMenus();
    // Shows or hides the race evaluation and the firmware menus after the program's own
    // settings; their items keep their enabled state.
    void ShowSettingMenus();
    void VereineAnzeigen();
    void ZuechterAnzeigen();
    void TaubenAnzeigen();
    void RacePointsAnzeigen();
    // The line under the port line that says what a dialog did, until the next one does.
    void Tell(const QString& done);
    QString Told() const;
    // The list's focus, as after every dialog.
    void TakeFocus();
    void RememberListPosition();
    void RestoreListPosition();

    // The one-shot check one second after start.
    void StartupPortCheck();
    // Menu item by control name (mnuClubAdd …); nullptr when there is none.
    QAction* MenuItem(const QString& name) const;
    QMenu* Menu(const QString& name) const;
    QListWidget* List() const { return list_; }
    // The selected lines of the list (0-based, ascending); the fancier and pigeon lists
    // allow several.
    std::vector<int> SelectedLines() const;
    QTimer* StartupTimer() const { return timer1_; }

    // Opens the dialog behind a menu item modally.
    void OpenMenuDialog(const QString& menuName);
    void OpenSettings(bool fromMenu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildMenus();
    void BuildControls();
    // Each line keeps its entry's key and name in the item's data: a selection reads them
    // there, never out of the text shown.
    void FillList(const std::vector<ListEntry>& entries, const QString& emptyTextKey, bool multiSelect = false);
    void SetMenuEnabled(const QString& name, bool enabled);
    void SelectLine(int row);
    // Selects the line of `key`, else the first: a shown list always has its chosen line.
    void SelectEntry(const std::string& key);
    void Descend();
    void GoUp();
    void DeleteSelected();
    bool HasEntrySelected() const;
    void UpdateSelectionLine();

    FormTexts texts_;
    QListWidget* list_ = nullptr;
    QLabel* headline_ = nullptr;  // Label3
    QLabel* selection_ = nullptr; // Label1
    QLabel* portLine_ = nullptr;  // Label2
    QTimer* timer1_ = nullptr;
    ListMode listMode_ = ListMode::None;
    ListPosition rememberedPosition_;
    bool keptSelection_ = false; // the last rebuild found the selected entry again
};

// Tells the main window that `from` belongs to, if any, what was done.
void TellMainWindow(const QWidget* from, const QString& done);
// … that `file` was written; a window with a status line of its own says it there.
void TellWritten(const QWidget* from, const QString& file);

} // namespace plumet::ui
