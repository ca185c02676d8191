#include "ui/widgets/fixedfield.h"

#include <QList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QValidator>

#include "common/textcodec.h"
#include "core/app/cp1252.h"

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

void FixedField::SetSizing(Sizing sizing) {
    sizing_ = sizing;
    if (sizing == Sizing::Default) return;
    setMinimumWidth(0); // the hints below take over, in whatever font the field gets
    if (sizing == Sizing::Compact) setSizePolicy(QSizePolicy::Fixed, sizePolicy().verticalPolicy());
    updateGeometry();
}

QSize FixedField::SizeForText(const QString& sample) const {
    // As QLineEdit sizes itself, with the sample instead of its usual seventeen letters.
    const QFontMetrics fm(font());
    const QMargins margins = textMargins();
    const int w = fm.horizontalAdvance(sample) + 4 + margins.left() + margins.right();
    const int h = qMax(fm.height(), 14) + 2 + margins.top() + margins.bottom();
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(w, h), this);
}

QSize FixedField::sizeHint() const {
    switch (sizing_) {
    case Sizing::Default: break;
    case Sizing::Compact: return minimumSizeHint();
    case Sizing::Whole: return QLineEdit::sizeHint().expandedTo(minimumSizeHint());
    }
    return QLineEdit::sizeHint();
}

QSize FixedField::minimumSizeHint() const {
    switch (sizing_) {
    case Sizing::Default: break;
    case Sizing::Compact: {
        const QFontMetrics fm(font());
        const QString digits(rules_.width, QChar('0'));
        // One blank more, so the characters do not touch the frame.
        return SizeForText((fm.horizontalAdvance(digits) >= fm.horizontalAdvance(QChar('W')) ? digits : QString("W")) + ' ');
    }
    // "n" is about as wide as an average letter of a name.
    case Sizing::Whole: return SizeForText(QString(rules_.width, QChar('n')));
    }
    return QLineEdit::minimumSizeHint();
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
