#pragma once
// frmRaceResultsShow: the result list of a race on screen, with its head, a print button and
// the export for spreadsheets and web pages; beside the list, its check sheet. Print and export
// take the tab shown.
#include <QStringList>
#include <functional>
#include <vector>

#include "core/app/catalogue.h"
#include "core/race/checksheet.h"
#include "core/race/distances.h"
#include "core/race/racecalc.h"
#include "core/race/races.h"
#include "core/race/resultfile.h"
#include "ui/app/dialogbase.h"
#include "ui/race/raceevaluation.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QTabWidget;
class QVBoxLayout;

namespace plumet::ui {

class RaceResultsDialog : public DialogBase {
    Q_OBJECT
public:
    // `warnings` stand below the list: input that the calculation could not read to its end.
    RaceResultsDialog(QWidget* parent, const Race& race, std::vector<ResultLine> lines,
                      const QStringList& warnings = {});

    QStringList ListLines() const;
    QStringList CheckSheetLines() const;

    // Command2 and Command3: of the tab shown.
    void Print();
    // cmdMakeFinal: appends a Final entry, unless the result file changed since the window read it.
    void MakeFinal();
    void Export();

private:
    struct Tab {
        QWidget* page;
        QString key; // its caption's, set once the catalogue is loaded
        std::function<void()> print;
        std::function<void()> exportTo;
    };
    QVBoxLayout* AddTab(const QString& key, std::function<void()> print, std::function<void()> exportTo);
    const Tab& Current() const;

    Race race_;
    std::vector<ResultLine> lines_;
    std::vector<std::string> notes_; // what the list was not read whole from, printed with it
    CheckSheet sheet_;
    QTabWidget* tabs_ = nullptr;  // resultTabs
    std::vector<Tab> tabPages_;
    QListWidget* list_ = nullptr; // List1
    std::string shownResult_;     // the result file as the window read it
    QLabel* state_ = nullptr;     // lblStateValue
    QPlainTextEdit* log_ = nullptr; // txtLog, on the log's tab

    void ShowState();
    QListWidget* checkSheet_ = nullptr; // checkSheetView
};

// What the chooser's hooks do: calculate a race, show or print its stored result.
CalculationReport CalculateRaceAndReport(QWidget* parent, RaceList& races, std::size_t number,
                                         const DistanceTable& distances);
void ShowRaceResults(QWidget* parent, const Race& race, const QStringList& warnings);
void PrintRaceResults(QWidget* parent, const Race& race);

} // namespace plumet::ui
