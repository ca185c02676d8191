#pragma once
// Catalogue texts of one window: captions by object name, and the window's own texts
// (messages, status lines) by key suffix.
#include <QString>

#include "common/catalogues.h"
#include "ui/app/messages.h"

class QWidget;

namespace plumet::ui {

// Dynamic properties a window may set on its controls:
inline constexpr const char* kCaptionKeyProperty = "captionKey"; // full key, when it is irregular
inline constexpr const char* kNoCaptionProperty = "noCaption";   // the control shows data, not a caption
inline constexpr const char* kStatusLineName = "StatusLine";      // a dialog's line saying what was done

// A caption as plain text: its access-key marks "&" dropped, "&&" kept as one "&".
QString WithoutAccessKey(const QString& caption);

class FormTexts {
public:
    // `prefix` is the catalogue prefix of the window; its object name when empty.
    explicit FormTexts(QWidget* form, QString prefix = {});

    // Reloads the catalogue and sets the window title and every caption. `mode` picks the
    // "(mode)" variant of keys for windows opened in several modes.
    void Apply(const QString& mode = {});

    // prefix + "." + suffix
    QString Text(const QString& suffix) const;
    QString Key(const QString& key) const; // a key as it stands
    const QString& Prefix() const { return prefix_; }

    // Message n: title prefix.MsgBoxName<n>, text prefix.MsgBoxText<n>.
    MessageAnswer ShowNumbered(int n, MessageIcon icon = MessageIcon::Critical, bool withCancel = false) const;
    // Message n's title over `text`, which words this case better than its catalogue text.
    MessageAnswer ShowNumberedAs(int n, const QString& text, MessageIcon icon = MessageIcon::Critical) const;
    // A delete confirmation whose text comes in two keys: MsgBoxText<n>a, a line break, MsgBoxText<n>b.
    MessageAnswer AskInTwoLines(int n) const;

private:
    QWidget* form_;
    QString prefix_;
    TextCatalogue catalogue_;
};

} // namespace plumet::ui
