#include "widgets/fixedfield.h"

#include <QTimer>
#include <QValidator>

#include "app/fixedwidth.h"
#include "app/textcodec.h"

namespace plumet::ui {
namespace {

class FieldValidator : public QValidator {
public:
    FieldValidator(bool digitsOnly, QString extra, QObject* parent)
        : QValidator(parent), digitsOnly_(digitsOnly), extra_(std::move(extra)) {}

    State validate(QString& input, int&) const override {
        if (!IsCp1252Text(input)) return Invalid;
        if (digitsOnly_)
            for (const QChar c : input)
                if (!c.isDigit() && !extra_.contains(c)) return Invalid;
        for (const QChar c : input)
            if (c.unicode() < 0x20) return Invalid;
        return Acceptable;
    }

private:
    bool digitsOnly_;
    QString extra_;
};

} // namespace

FixedField::FixedField(const Rules& rules, QWidget* parent) : QLineEdit(parent), rules_(rules) {
    setMaxLength(rules.width);
    setValidator(new FieldValidator(rules.digitsOnly, rules.extraAllowed, this));
    setMinimumWidth(fontMetrics().horizontalAdvance(QString(qMin(rules.width, 30), QChar('W'))) / 2 + 12);
}

FixedField::Rules FixedField::Digits(int width, bool trimOnEnter) {
    return {width, Padding::LeftZeros, true, trimOnEnter, {}};
}

FixedField::Rules FixedField::Text(int width, bool trimOnEnter) {
    return {width, Padding::RightBlanks, false, trimOnEnter, {}};
}

std::string FixedField::Bytes() const {
    const std::string bytes = ToBytes(text());
    switch (rules_.padding) {
    case Padding::LeftZeros: {
        const std::string trimmed = TrimBlanks(bytes);
        return trimmed.empty() ? trimmed : PadLeft(trimmed, static_cast<std::size_t>(rules_.width), '0');
    }
    case Padding::RightBlanks: {
        const std::string trimmed = rules_.trimOnEnter ? TrimBlanks(bytes) : bytes;
        return bytes.empty() ? bytes : PadRight(trimmed, static_cast<std::size_t>(rules_.width));
    }
    case Padding::None: break;
    }
    return bytes;
}

void FixedField::SetBytes(const std::string& bytes) { setText(ToQt(bytes)); }

void FixedField::ApplyPadding() {
    const QString padded = ToQt(Bytes());
    if (padded != text()) setText(padded);
}

void FixedField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (rules_.trimOnEnter) setText(ToQt(TrimBlanks(ToBytes(text()))));
    // Deferred, because a mouse click would otherwise undo the selection at once.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

void FixedField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    ApplyPadding();
    emit left();
}

} // namespace plumet::ui
