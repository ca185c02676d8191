#include "ui/app/scaleform.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "common/appcontext.h"

namespace plumet::ui {
namespace {

int Pick(const std::string& choice, int one, int two, int three) {
    if (choice == "1") return one;
    if (choice == "2") return two;
    if (choice == "3") return three;
    return 0;
}

int Scaled(int value, float factor) { return static_cast<int>(std::lround(static_cast<float>(value) * factor)); }

void SetPointSize(QWidget* widget, int points) {
    if (points <= 0) return;
    QFont font = widget->font();
    font.setPointSize(points);
    widget->setFont(font);
}

// Layouts place the controls, so a control's own geometry is its minimum size.
void ScaleMinimumSize(QWidget* widget, float factor, bool height) {
    if (widget->minimumWidth() > 0) widget->setMinimumWidth(Scaled(widget->minimumWidth(), factor));
    if (height && widget->minimumHeight() > 0) widget->setMinimumHeight(Scaled(widget->minimumHeight(), factor));
}

void ScaleControl(QWidget* control, float factor, const std::string& choice, ScaleKind kind) {
    if (qobject_cast<QLineEdit*>(control) || qobject_cast<QAbstractSpinBox*>(control)) {
        if (qobject_cast<QDateTimeEdit*>(control)) {
            SetPointSize(control, OtherFontSize(choice));
            ScaleMinimumSize(control, factor, true);
            return;
        }
        SetPointSize(control, TextBoxFontSize(choice));
        ScaleMinimumSize(control, factor, false);
        if (const int twips = TextBoxHeightTwips(choice); twips > 0)
            control->setFixedHeight(static_cast<int>(std::lround(twips * control->logicalDpiY() / 1440.0)));
    } else if (qobject_cast<QComboBox*>(control)) {
        SetPointSize(control, OtherFontSize(choice));
        ScaleMinimumSize(control, factor, false);
    } else if (qobject_cast<QCalendarWidget*>(control)) {
        SetPointSize(control, OtherFontSize(choice));
        ScaleMinimumSize(control, factor, true);
    } else if (qobject_cast<QAbstractItemView*>(control)) {
        SetPointSize(control, ListBoxFontSize(choice, kind));
        ScaleMinimumSize(control, factor, true);
    } else if (qobject_cast<QProgressBar*>(control)) {
        ScaleMinimumSize(control, factor, true);
    } else {
        SetPointSize(control, OtherFontSize(choice));
        ScaleMinimumSize(control, factor, true);
    }
}

bool IsOwnControl(QWidget* control, QWidget* window) {
    if (control->window() != window || qobject_cast<QMenu*>(control)) return false;
    // Parts of composite controls (a list's viewport, a calendar's inner table) follow their owner.
    for (QWidget* parent = control->parentWidget(); parent && parent != window; parent = parent->parentWidget())
        if (qobject_cast<QAbstractItemView*>(parent) || qobject_cast<QCalendarWidget*>(parent) ||
            qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent))
            return false;
    return true;
}

} // namespace

int TextBoxFontSize(const std::string& c) { return Pick(c, 10, 12, 18); }
int ListBoxFontSize(const std::string& c, ScaleKind kind) {
    return kind == ScaleKind::MainWindow ? Pick(c, 10, 12, 18) : Pick(c, 10, 14, 18);
}
int OtherFontSize(const std::string& c) { return Pick(c, 8, 10, 16); }
int TextBoxHeightTwips(const std::string& c) { return Pick(c, 375, 488, 563); }

void ScaleForm(QWidget* window, float factor, const std::string& sizeChoice, ScaleKind kind) {
    for (QWidget* control : window->findChildren<QWidget*>())
        if (IsOwnControl(control, window)) ScaleControl(control, factor, sizeChoice, kind);
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    const QSize base = window->size();
    window->resize(Scaled(base.width(), factor), Scaled(base.height(), factor));
    if (const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window->move(area.x() + (area.width() - window->width()) / 2, area.y() + (area.height() - window->height()) / 2);
    }
}

void ScaleFormBySettings(QWidget* window, ScaleKind kind) {
    ScaleForm(window, App().settings.scaleFactor, App().settings.sizeChoice, kind);
}

} // namespace plumet::ui
