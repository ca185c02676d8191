#pragma once
// A number box that must hold a value of its range when it is left (an hour, a day, a week):
// otherwise the focus goes back into it with its text selected. The range is a core check.
#include <functional>
#include <string_view>

#include "ui/widgets/fixedfield.h"

namespace plumet::ui {

class RangeField : public FixedField {
    Q_OBJECT
public:
    using Check = std::function<bool(std::string_view text)>;

    RangeField(const Rules& rules, Check check, QWidget* parent = nullptr);

    // The text, as leaving the box makes it, passes the check.
    bool Acceptable() const;
    // Puts the focus into the box and selects its text.
    void Reclaim();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    Check check_;
};

// The first enabled box among `fields` that does not pass its check gets the focus; false then.
bool AllAcceptable(std::initializer_list<RangeField*> fields);

} // namespace plumet::ui
