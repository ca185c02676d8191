#include "ui/clock/storepathselect.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace plumet::ui {
namespace {

// The volumes a user can store on, root first.
QStringList DriveRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && QDir(volume.rootPath()).isReadable()) roots << volume.rootPath();
    const QString root = QDir::rootPath();
    if (!roots.contains(root)) roots << root;
    roots.removeDuplicates();
    roots.sort(Qt::CaseInsensitive);
    return roots;
}

} // namespace

StoreRacedataPathSelect::StoreRacedataPathSelect(QWidget* parent, const QString& startFolder)
    : DialogBase("frmStoreRacedataPathSelect", parent), drives_(new QComboBox(this)), folders_(new QTreeView(this)),
      model_(new QFileSystemModel(this)) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    drives_->setObjectName("Drive1");
    drives_->addItems(DriveRoots());
    AddLabelled(grid, 0, "Label1", "Drive", drives_);

    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    folders_->setObjectName("Dir1");
    folders_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) folders_->hideColumn(column);
    folders_->header()->hide();
    folders_->setMinimumSize(360, 260);
    folders_->viewport()->installEventFilter(this);
    AddLabelled(grid, 1, "Label2", "Folder", folders_)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->setRowStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch();
    auto* ok = AddButton(buttons, "Command1", "OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (!Folder().isEmpty()) accept();
    });
    connect(AddButton(buttons, "Command2", "Cancel"), &QPushButton::clicked, this, &QDialog::reject);
    connect(drives_, &QComboBox::activated, this, &StoreRacedataPathSelect::ChooseDrive);
    // Folders are read in the background: once the way down to the chosen one is there, show it.
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        const QString current = model_->filePath(folders_->currentIndex());
        if (current == loaded || current.startsWith(loaded.endsWith('/') ? loaded : loaded + '/'))
            QTimer::singleShot(0, this, &StoreRacedataPathSelect::ShowCurrent);
    });

    Load();
    SetFolder(startFolder.isEmpty() ? QDir::currentPath() : startFolder);
}

QString StoreRacedataPathSelect::Choose(QWidget* parent, const QString& startFolder) {
    StoreRacedataPathSelect dialog(parent, startFolder);
    return dialog.exec() == QDialog::Accepted ? dialog.Folder() : QString();
}

QString StoreRacedataPathSelect::Folder() const {
    const QModelIndex current = folders_->currentIndex();
    return current.isValid() ? QDir::toNativeSeparators(model_->filePath(current)) : QString();
}

void StoreRacedataPathSelect::SetFolder(const QString& folder) {
    const QString path = QDir(folder).absolutePath();
    const QModelIndex index = model_->index(path);
    if (!index.isValid()) return;
    for (QModelIndex above = index.parent(); above.isValid(); above = above.parent()) folders_->expand(above);
    folders_->setCurrentIndex(index);
    folders_->expand(index);
    folders_->scrollTo(index);
    // The volume that holds the folder: the longest root that starts its path.
    int best = -1;
    for (int i = 0; i < drives_->count(); ++i) {
        const QString root = drives_->itemText(i);
        const QString prefix = root.endsWith('/') ? root : root + '/';
        const bool holds = path.compare(root, Qt::CaseInsensitive) == 0 || path.startsWith(prefix, Qt::CaseInsensitive);
        if (holds && (best < 0 || root.size() > drives_->itemText(best).size())) best = i;
    }
    if (best >= 0) drives_->setCurrentIndex(best);
}

bool StoreRacedataPathSelect::eventFilter(QObject* watched, QEvent* event) {
    // The tree gets its final size only once the window is on the screen.
    if (watched == folders_->viewport() && event->type() == QEvent::Resize)
        QTimer::singleShot(0, this, &StoreRacedataPathSelect::ShowCurrent);
    return DialogBase::eventFilter(watched, event);
}

void StoreRacedataPathSelect::ShowCurrent() {
    if (folders_->currentIndex().isValid()) folders_->scrollTo(folders_->currentIndex(), QAbstractItemView::PositionAtCenter);
}

void StoreRacedataPathSelect::ChooseDrive(int index) {
    if (index >= 0) SetFolder(drives_->itemText(index));
}

} // namespace plumet::ui
