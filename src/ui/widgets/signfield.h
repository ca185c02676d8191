#pragma once
// The one-character hemisphere field of a coordinate: a key filter that admits only its
// sign characters, and a leaving rule that fills the default sign of its dialog.
#include <string>
#include <string_view>

#include "ui/widgets/fixedfield.h"

namespace plumet::ui {

class SignField : public FixedField {
    Q_OBJECT
public:
    using SignRule = std::string (*)(std::string_view text);

    SignField(KeyFilter keys, SignRule onLeave, bool trimOnEnter, QWidget* parent = nullptr);

protected:
    std::string Left(const std::string& bytes) const override;

private:
    SignRule onLeave_;
};

} // namespace plumet::ui
