#include "widgets/fixedfield.h"

#include <QList>
#include <QTimer>
#include <QValidator>

#include "app/cp1252.h"
#include "app/textcodec.h"

namespace plumet::ui {
namespace {

// Runs every character through the key filter, so pasted text obeys the same rule as
// typed text, and a filter that folds (lower to capital letters) folds both.
class KeyFilterValidator : public QValidator {
public:
    KeyFilterValidator(KeyFilter keys, QObject* parent) : QValidator(parent), keys_(keys) {}

    State validate(QString& input, int&) const override {
        QString accepted;
        for (const uint cp : input.toUcs4()) {
            const auto c = static_cast<char32_t>(cp);
            if (keys_) {
                const auto key = keys_(c);
                if (!key || *key == '\b') return Invalid;
                accepted += ToQt(std::string(1, *key));
            } else {
                if (c < 0x20 || !IsCp1252Representable(c)) return Invalid;
                accepted += QString::fromUcs4(&c, 1);
            }
        }
        input = accepted;
        return Acceptable;
    }

private:
    KeyFilter keys_;
};

} // namespace

FixedField::FixedField(const Rules& rules, QWidget* parent) : QLineEdit(parent), rules_(rules) {
    setMaxLength(rules.width);
    setValidator(new KeyFilterValidator(rules.keys, this));
    setMinimumWidth(fontMetrics().horizontalAdvance(QString(qMin(rules.width, 30), QChar('W'))) / 2 + 12);
}

FixedField::Rules FixedField::Digits(int width) { return {width, DigitKey, NumberOnLeave, false}; }

FixedField::Rules FixedField::Text(int width, bool trims) {
    return {width, nullptr, trims ? TextOnLeave : PaddedIfNotEmpty, trims};
}

std::string FixedField::Bytes() const { return Left(ToBytes(text())); }

std::string FixedField::Left(const std::string& bytes) const {
    return rules_.onLeave ? rules_.onLeave(bytes, static_cast<std::size_t>(rules_.width)) : bytes;
}

void FixedField::ShowWholeWidth() {
    // "n" is about as wide as an average letter of a name; the margin is the frame's.
    setMinimumWidth(fontMetrics().horizontalAdvance(QString(rules_.width, QChar('n'))) + 16);
}

void FixedField::SetBytes(const std::string& bytes) { setText(ToQt(bytes)); }

void FixedField::ApplyLeaveRule() {
    const QString after = ToQt(Bytes());
    if (after != text()) setText(after);
}

void FixedField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (rules_.trimOnEnter) setText(ToQt(TextOnEnter(ToBytes(text()))));
    // Deferred, because a mouse click would otherwise undo the selection at once.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

void FixedField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    ApplyLeaveRule();
    emit left();
}

} // namespace plumet::ui
