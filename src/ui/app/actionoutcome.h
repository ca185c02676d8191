#pragma once
// Shows what a dialog's confirming button brought back from core: the refusal message with
// the focus on the failing field, or the reason a file could not be written.
#include "core/app/actionresult.h"

namespace plumet::ui {

class DialogBase;

// True when the action went through; otherwise the user has been told why.
bool ReportOutcome(DialogBase* dialog, const ActionResult& result);

// A save that failed: critical icon, the window title as title, the error text.
void ReportSaveError(DialogBase* dialog, const SaveResult& saved);

} // namespace plumet::ui
