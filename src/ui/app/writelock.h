#pragma once
// A window's save under the program folder's write lock, which it holds only while it saves:
// its earlier reading is covered by the registers' check that nobody changed them meanwhile.
#include <optional>
#include <type_traits>

#include "core/app/folderlock.h"

class QWidget;

namespace plumet::ui {

// The lock for the window `parent` (its title names it to other writers). When another writer
// holds the folder past the wait, the user has been told who, and the lock is not held.
FolderWriteLock LockForSaving(QWidget* parent);

// What `save()` gives, run under the lock; nothing when the lock was refused.
template <typename Save>
auto UnderWriteLock(QWidget* parent, Save save) -> std::optional<std::invoke_result_t<Save>> {
    const FolderWriteLock lock = LockForSaving(parent);
    if (!lock.Held()) return std::nullopt;
    return save();
}

} // namespace plumet::ui
