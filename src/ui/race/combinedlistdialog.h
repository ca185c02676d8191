#pragma once
// frmCombined: the federation's combined lists, chosen one at a time and shown like a race's
// result list with a club column, printed and exported; frmCombinedEdit defines one.
#include <QAbstractListModel>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/race/combinedlist.h"
#include "ui/app/dialogbase.h"

class QComboBox;
class QLabel;
class QListView;
class QListWidget;
class QPushButton;

namespace plumet::ui {

class FixedField;

// Lines of a long list, made into texts only as they scroll into view.
class LinesModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    void SetLines(std::vector<std::string> lines);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<std::string> lines_;
};

class CombinedListDialog : public DialogBase {
    Q_OBJECT
public:
    explicit CombinedListDialog(QWidget* parent);

    void ChooseList(const QString& name);
    const std::optional<CombinedResult>& Shown() const { return result_; }
    // The head lines and the list's lines as the window shows them.
    QStringList ListLines() const;
    QString Warnings() const;
    // The list's state, then each club race's with its own.
    QStringList StateLines() const;

    void NewList();    // Command4
    void AlterList();  // Command5
    void DeleteList(); // Command6
    void Print();      // Command2
    void Export();     // Command3

private:
    void FillLists(const QString& select);
    void ShowChosen();
    // Refuses an incomplete list, naming the race; true when it may go out.
    bool MayGoOut();

    std::vector<CombinedFile> files_;
    std::optional<CombinedResult> result_;
    std::optional<RaceSeason> season_;
    QComboBox* lists_ = nullptr; // Combo1
    std::vector<QLabel*> head_;
    QLabel* heads_ = nullptr;    // Label20
    QListView* view_ = nullptr;  // List1
    LinesModel* model_ = nullptr;
    QLabel* warnings_ = nullptr; // Label21
    QLabel* state_ = nullptr;
    QLabel* raceStates_ = nullptr;
    QPushButton *alter_ = nullptr, *delete_ = nullptr, *print_ = nullptr, *export_ = nullptr;
};

class CombinedEditDialog : public DialogBase {
    Q_OBJECT
public:
    // A new list, or `altered`.
    CombinedEditDialog(QWidget* parent, const std::optional<CombinedList>& altered);

    // Command1; the dialog closes once the list is stored.
    void Store();
    const CombinedList& Stored() const { return stored_; }
    // Shows only the races that can fly with those ticked.
    void FilterRaces();

private:
    std::optional<std::string> alteredName_;
    CombinedList stored_;
    RaceList races_;
    FixedField* name_ = nullptr;   // Text1
    QListWidget* list_ = nullptr;  // List1
};

} // namespace plumet::ui
