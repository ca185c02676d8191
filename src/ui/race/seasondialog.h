#pragma once
// frmSeason: the club's seasons, chosen one at a time: its races with what each gives, the ace
// pigeons and the loft championship, printed and exported; frmSeasonEdit defines a season.
#include <QStringList>
#include <optional>
#include <vector>

#include "core/race/season.h"
#include "ui/app/dialogbase.h"
#include "ui/race/fixedlist.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace plumet::ui {

class FixedField;

class SeasonDialog : public DialogBase {
    Q_OBJECT
public:
    explicit SeasonDialog(QWidget* parent);

    // Shows the season of that name (as the season files stand now).
    void ChooseSeason(const QString& name);
    const std::optional<SeasonStandings>& Shown() const { return standings_; }
    // The lines of the races' (List3), the pigeons' (List1) and the lofts' list (List2).
    QStringList Lines(const QString& listName) const;

    void NewSeason();    // Command4
    void AlterSeason();  // Command5
    void DeleteSeason(); // Command6
    void Print();        // Command2
    void Export();       // Command3

private:
    void FillSeasons(const QString& select);
    void ShowChosen();
    const SeasonFile* ChosenFile() const;

    std::vector<SeasonFile> files_;
    std::optional<SeasonStandings> standings_;
    QComboBox* seasons_ = nullptr; // Combo1
    std::vector<QLabel*> head_;
    QTabWidget* tabs_ = nullptr;   // TabStrip1
    FixedList races_, pigeons_, lofts_;
    QLabel* warnings_ = nullptr;   // Label20
    QPushButton *alter_ = nullptr, *delete_ = nullptr, *print_ = nullptr, *export_ = nullptr;
};

class SeasonEditDialog : public DialogBase {
    Q_OBJECT
public:
    // A new season, or `altered`.
    SeasonEditDialog(QWidget* parent, const std::optional<Season>& altered);

    // Command1; the dialog closes once the season is stored.
    void Store();
    const Season& Stored() const { return stored_; }

private:
    Season Collect() const;

    std::optional<std::string> alteredName_;
    Season stored_;
    FixedField* name_ = nullptr;    // Text1
    FixedField* ratio_ = nullptr;   // Text2
    FixedField* counted_ = nullptr; // Text3
    QDateEdit* first_ = nullptr;    // DTPicker1
    QDateEdit* last_ = nullptr;     // DTPicker2
    QListWidget* races_ = nullptr;  // List1
};

} // namespace plumet::ui
