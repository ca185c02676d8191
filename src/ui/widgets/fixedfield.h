#pragma once
// The text field every dialog uses for a fixed-width record field: a key filter, a length
// limit, Windows-1252 only, whole text selected on entry, and padding when the user leaves.
#include <QLineEdit>
#include <string>

namespace plumet::ui {

class FixedField : public QLineEdit {
    Q_OBJECT
public:
    enum class Padding { None, LeftZeros, RightBlanks };

    struct Rules {
        int width = 30;
        Padding padding = Padding::None;
        bool digitsOnly = false;
        bool trimOnEnter = false; // also trims before padding on leaving
        QString extraAllowed; // further characters a digit field accepts (e.g. a sign)
    };

    explicit FixedField(const Rules& rules, QWidget* parent = nullptr);

    // Digits, padded to width with zeros on leaving; empty stays empty.
    static Rules Digits(int width, bool trimOnEnter = false);
    // Free text, padded with blanks to width on leaving; empty stays empty.
    static Rules Text(int width, bool trimOnEnter = false);

    // The field as a record byte string (padding applied as on leaving).
    std::string Bytes() const;
    void SetBytes(const std::string& bytes);

    // What leaving the field does; also called by dialogs before they read the fields.
    void ApplyPadding();

signals:
    void left();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    Rules rules_;
};

} // namespace plumet::ui
