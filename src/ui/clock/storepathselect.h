#pragma once
// frmStoreRacedataPathSelect: a modal folder chooser with a drive list (the mounted volumes:
// drive letters on Windows, mount points elsewhere) and a folder tree.
#include <QString>

#include "ui/app/dialogbase.h"

class QComboBox;
class QFileSystemModel;
class QTreeView;

namespace plumet::ui {

class StoreRacedataPathSelect : public DialogBase {
    Q_OBJECT
public:
    StoreRacedataPathSelect(QWidget* parent, const QString& startFolder);

    // Opens the chooser on `startFolder`; the chosen folder on OK, "" on Cancel.
    static QString Choose(QWidget* parent, const QString& startFolder);

    // The folder selected in the tree; "" when none is.
    QString Folder() const;
    // Selects `folder` in the tree and its volume in the drive list.
    void SetFolder(const QString& folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ChooseDrive(int index);
    // Scrolls the selected folder into the middle of the tree.
    void ShowCurrent();

    QComboBox* drives_;
    QTreeView* folders_;
    QFileSystemModel* model_;
};

} // namespace plumet::ui
