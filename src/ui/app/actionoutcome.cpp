#include "ui/app/actionoutcome.h"

#include "common/textcodec.h"
#include "ui/app/dialogbase.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {

bool ReportOutcome(DialogBase* dialog, const ActionResult& result) {
    if (result.message != 0) {
        // The focus first, so that it returns to the failing field when the box closes.
        if (auto* field = dialog->findChild<FixedField*>(ToQt(result.focusField));
            field && !result.focusField.empty()) {
            field->setFocus();
            field->selectAll();
        }
        dialog->Texts().ShowNumbered(result.message);
        return false;
    }
    if (!result.saved) {
        ReportSaveError(dialog, result.saved);
        return false;
    }
    return true;
}

void ReportSaveError(DialogBase* dialog, const SaveResult& saved) {
    if (!saved) ShowMessage(dialog, MessageIcon::Critical, dialog->windowTitle(), ToQt(saved.error));
}

} // namespace plumet::ui
