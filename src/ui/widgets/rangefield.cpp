#include "ui/widgets/rangefield.h"

#include <QFocusEvent>
#include <QPointer>
#include <QTimer>

namespace plumet::ui {
namespace {

// The box that is taking the focus back; the box it takes it from does not ask for it again.
QPointer<RangeField>& Reclaiming() {
    static QPointer<RangeField> field;
    return field;
}

} // namespace

RangeField::RangeField(const Rules& rules, Check check, QWidget* parent) : FixedField(rules, parent), check_(std::move(check)) {}

bool RangeField::Acceptable() const { return !check_ || check_(Bytes()); }

void RangeField::Reclaim() {
    setFocus();
    selectAll();
}

void RangeField::focusOutEvent(QFocusEvent* event) {
    FixedField::focusOutEvent(event);
    // Leaving for another window or a pop-up is no leaving of the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    if (Reclaiming() || !isEnabled() || Acceptable()) return;
    Reclaiming() = this;
    QTimer::singleShot(0, this, [this] {
        Reclaim();
        Reclaiming() = nullptr;
    });
}

bool AllAcceptable(std::initializer_list<RangeField*> fields) {
    for (RangeField* field : fields) {
        if (!field->isEnabled() || field->Acceptable()) continue;
        field->ApplyLeaveRule();
        field->Reclaim();
        return false;
    }
    return true;
}

} // namespace plumet::ui
