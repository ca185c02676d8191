#pragma once
// What every dialog shares: its catalogue texts, the window-size rule when it loads,
// Escape as Cancel, and helpers to lay out labelled fields and the button row.
#include <QDialog>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/app/files.h"

#include "ui/app/formtexts.h"

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QVBoxLayout;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace plumet::ui {

// The register dialogs open for one of three actions, each a form of its own in the catalogue.
enum class RegisterMode { Add, Alter, Delete };
// `base` + "Add", "Alter" or "Delete", as frmClub gives frmClubAdd.
QString RegisterFormName(const QString& base, RegisterMode mode);

class DialogBase : public QDialog {
    Q_OBJECT
public:
    // `prefix` is the catalogue prefix when it differs from the object name.
    DialogBase(const QString& objectName, QWidget* parent, const QString& prefix = {});

    const FormTexts& Texts() const { return texts_; }

protected:
    // Return presses the focused button, else the default (confirming) one, once the field's
    // leave rule has run as it would on a click.
    void keyPressEvent(QKeyEvent* event) override;

    // Applies the catalogue texts and the window-size rule; call at the end of construction.
    void Load(const QString& mode = {});

    // A label named `labelName` in column 0 and `field` in column 1 of `row`.
    QLabel* AddLabelled(QGridLayout* grid, int row, const QString& labelName, const QString& caption, QWidget* field);
    // A button row; the buttons keep their names (Command1, Command2, CancelButton …). The
    // confirming button is made the default with setDefault(true).
    QPushButton* AddButton(QHBoxLayout* row, const QString& name, const QString& caption);
    // The window's own status line, taking the free room of a button row, where TellWritten
    // says what was written: the main window's status bar lies behind this window.
    QLabel* AddStatusLine(QHBoxLayout* row);

    // The row of a window that keeps named lists (seasons, combined lists): the caption Label1,
    // the chooser Combo1 and New…, Alter…, Delete (Command4 to Command6).
    struct ChooserRow {
        QComboBox* chooser;
        QPushButton *add, *alter, *remove;
    };
    ChooserRow AddChooserRow(QVBoxLayout* layout, const QString& caption);
    // The head of a list: `lines` rows of label and value pairs, two pairs a row, named Label2 on.
    struct HeadGrid {
        QGridLayout* grid; // further rows go below `lines`
        std::vector<QLabel*> labels;
    };
    HeadGrid AddHeadGrid(QVBoxLayout* layout, int lines);
    // Fills a chooser of AddChooserRow without a signal: one item a file, a file that cannot be
    // read as DamagedItem with its file name (`names` holds "" there), NoneItem when there are
    // none; chooses `select`, else the first.
    void FillChooser(QComboBox* chooser, const std::vector<std::pair<std::string, Path>>& names, const QString& noneItem,
                     const QString& select) const;
    // Asks with message 1 whether `name` goes, then removes it under the write lock, saying why not.
    void AskAndRemove(const std::string& name, const std::function<SaveResult()>& remove);

    FormTexts texts_;
};

} // namespace plumet::ui
