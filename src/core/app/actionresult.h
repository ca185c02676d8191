#pragma once
// What a dialog's confirming button hands back from core: a message to show, the field to
// put the focus on, and the outcome of writing the file.
#include <string>
#include <string_view>
#include <utility>

#include "app/catalogue.h"
#include "app/files.h"

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

struct MessageText {
    std::string title;
    std::string text;
};

// Title and text of message n of a dialog: form + ".MsgBoxName" + n and form + ".MsgBoxText" + n.
inline MessageText LookupMessage(const TextCatalogue& catalogue, std::string_view form, int n) {
    const std::string number = std::to_string(n);
    return {catalogue.LookupText(std::string(form) + ".MsgBoxName" + number),
            catalogue.LookupText(std::string(form) + ".MsgBoxText" + number)};
}

} // namespace plumet
