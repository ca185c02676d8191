#include "ui/widgets/signfield.h"

namespace plumet::ui {

SignField::SignField(KeyFilter keys, SignRule onLeave, bool trimOnEnter, QWidget* parent)
    : FixedField(Rules{1, keys, nullptr, trimOnEnter}, parent), onLeave_(onLeave) {}

std::string SignField::Left(const std::string& bytes) const { return onLeave_ ? onLeave_(bytes) : bytes; }

} // namespace plumet::ui
