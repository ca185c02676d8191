#include "ui/app/formtexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>

#include "common/textcodec.h"

namespace plumet::ui {
namespace {

QString CaptionKeyOf(const QObject* control, const QString& prefix, const QString& mode) {
    const QVariant explicitKey = control->property(kCaptionKeyProperty);
    if (explicitKey.isValid()) return explicitKey.toString();
    QString key = prefix + "." + control->objectName() + ".Caption";
    if (!mode.isEmpty() && control->property("captionByMode").toBool()) key += "(" + mode + ")";
    return key;
}

bool TakesCaption(const QObject* control) {
    const QString name = control->objectName();
    if (name.isEmpty() || name.startsWith("qt_") || control->property(kNoCaptionProperty).toBool()) return false;
    return qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control) ||
           qobject_cast<const QGroupBox*>(control) || qobject_cast<const QAction*>(control) ||
           qobject_cast<const QMenu*>(control);
}

void SetCaption(QObject* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
        box->setTitle(text);
    } else if (auto* menu = qobject_cast<QMenu*>(control)) {
        menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(control)) {
        action->setText(text);
    }
}

} // namespace

QString WithoutAccessKey(const QString& caption) {
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && ++i == caption.size()) break;
        plain += caption[i];
    }
    return plain;
}

FormTexts::FormTexts(QWidget* form, QString prefix)
    : form_(form), prefix_(prefix.isEmpty() ? form->objectName() : std::move(prefix)) {}

void FormTexts::Apply(const QString& mode) {
    catalogue_ = LoadCatalogue();
    QString titleKey = prefix_ + ".Caption";
    if (!mode.isEmpty() && form_->property("captionByMode").toBool()) titleKey += "(" + mode + ")";
    form_->setWindowTitle(Key(titleKey));
    for (QObject* control : form_->findChildren<QObject*>()) {
        if (!TakesCaption(control)) continue;
        if (auto* widget = qobject_cast<QWidget*>(control); widget && !qobject_cast<QMenu*>(widget) && widget->window() != form_)
            continue;
        SetCaption(control, Key(CaptionKeyOf(control, prefix_, mode)));
    }
}

QString FormTexts::Text(const QString& suffix) const { return Key(prefix_ + "." + suffix); }

QString FormTexts::Key(const QString& key) const { return ToQt(catalogue_.LookupText(key.toStdString())); }

MessageAnswer FormTexts::ShowNumbered(int n, MessageIcon icon, bool withCancel) const {
    return ShowMessage(form_, icon, Text("MsgBoxName" + QString::number(n)), Text("MsgBoxText" + QString::number(n)),
                       withCancel);
}

MessageAnswer FormTexts::ShowNumberedAs(int n, const QString& text, MessageIcon icon) const {
    return ShowMessage(form_, icon, Text("MsgBoxName" + QString::number(n)), text);
}

MessageAnswer FormTexts::AskInTwoLines(int n) const {
    const QString text = "MsgBoxText" + QString::number(n);
    return ShowMessage(form_, MessageIcon::Exclamation, Text("MsgBoxName" + QString::number(n)),
                       Text(text + "a") + "\n" + Text(text + "b"), true);
}

} // namespace plumet::ui
