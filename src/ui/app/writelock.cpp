#include "ui/app/writelock.h"

#include <QApplication>
#include <QWidget>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "ui/app/messages.h"

namespace plumet::ui {

FolderWriteLock LockForSaving(QWidget* parent) {
    const QString title = parent ? parent->window()->windowTitle() : QString();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FolderWriteLock lock(App().programFolder, "Plumet: " + ToBytes(title), App().writeLockWait);
    QApplication::restoreOverrideCursor();
    if (!lock.Held()) ShowMessage(parent, MessageIcon::Critical, title, ToQt(lock.Refusal()));
    return lock;
}

} // namespace plumet::ui
