#pragma once
// The text field every dialog uses for a fixed-width record field. The rules themselves
// (key filter, what entering and leaving do) are core functions; this wires them up,
// limits the length, keeps to Windows-1252 and selects the whole text on entry.
#include <QLineEdit>
#include <string>
#include <string_view>

#include "core/app/fieldrules.h"

namespace plumet::ui {

class FixedField : public QLineEdit {
    Q_OBJECT
public:
    using LeaveRule = std::string (*)(std::string_view text, std::size_t width);

    struct Rules {
        int width = 30;
        KeyFilter keys = nullptr;     // nullptr: any printable Windows-1252 character
        LeaveRule onLeave = nullptr;  // nullptr: the text stays as typed
        bool trimOnEnter = false;
    };

    explicit FixedField(const Rules& rules, QWidget* parent = nullptr);

    // Digits, zero-padded to width on leaving; empty stays empty.
    static Rules Digits(int width);
    // Free text padded with blanks on leaving: trimmed first (and on entry) when `trims`,
    // otherwise only a non-empty text is padded.
    static Rules Text(int width, bool trims = false);

    // The field as a record byte string, with the leaving rule applied.
    std::string Bytes() const;
    void SetBytes(const std::string& bytes);

    // How wide the field is drawn, measured in its font of the moment, so the window-size
    // rule's larger fonts widen it too. Compact: exactly its characters (numbers, signs);
    // Whole: at least every character of a name or note at once.
    enum class Sizing { Default, Compact, Whole };
    void SetSizing(Sizing sizing);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // What leaving the field does; dialogs also call it before reading their fields.
    void ApplyLeaveRule();

signals:
    void left();

protected:
    // The leaving rule on record bytes; fields whose rule has another shape override it.
    virtual std::string Left(const std::string& bytes) const;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QSize SizeForText(const QString& sample) const;

    Rules rules_;
    Sizing sizing_ = Sizing::Default;
};

} // namespace plumet::ui
