#pragma once
// What a dialog's confirming button hands back from core: a message to show, the field to
// put the focus on, and the outcome of writing the file.
#include <string>
#include <utility>

#include "core/app/files.h"

namespace plumet {

struct ActionResult {
    int message = 0;        // the dialog's message number to show; 0 when nothing was refused
    std::string focusField; // object name of the field to focus with its text selected, or ""
    SaveResult saved;       // when !saved.ok the file was left as it was: show saved.error

    bool Done() const { return message == 0 && saved.ok; }
};

inline ActionResult Refused(int message, std::string focusField = {}) {
    return ActionResult{message, std::move(focusField), {}};
}

} // namespace plumet
