#include "ui/app/scaleform.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "common/appcontext.h"
#include "core/app/options.h"

namespace plumet::ui {
namespace {

// What a window and its controls were before their first scaling, and the factor asked for since.
constexpr const char* kDesignSize = "plumetDesignSize";
constexpr const char* kDesignMinimum = "plumetDesignMinimum";
constexpr const char* kAskedFactor = "plumetAskedFactor";
constexpr const char* kFittedChoice = "plumetFittedChoice";
constexpr const char* kAskedChoice = "plumetAskedChoice";
constexpr const char* kMainWindow = "plumetMainWindow";
// The scroll area a window gets when even its smallest size does not fit; not a control.
constexpr const char* kScrollFrame = "plumetScrollFrame";

int Pick(const std::string& choice, int one, int two, int three) {
    if (choice == "1") return one;
    if (choice == "2") return two;
    if (choice == "3") return three;
    return 0;
}

int Scaled(int value, float factor) { return static_cast<int>(std::lround(static_cast<float>(value) * factor)); }
QSize Scaled(QSize size, float factor) { return {Scaled(size.width(), factor), Scaled(size.height(), factor)}; }

void SetPointSize(QWidget* widget, int points) {
    if (points <= 0) return;
    QFont font = widget->font();
    font.setPointSize(points);
    widget->setFont(font);
}

// Layouts place the controls, so a control's own geometry is its minimum size, taken from
// its design minimum each time so that a window can be scaled down again.
void ScaleMinimumSize(QWidget* widget, float factor, bool height) {
    if (!widget->property(kDesignMinimum).isValid()) widget->setProperty(kDesignMinimum, widget->minimumSize());
    const QSize design = widget->property(kDesignMinimum).toSize();
    if (design.width() > 0) widget->setMinimumWidth(Scaled(design.width(), factor));
    if (height && design.height() > 0) widget->setMinimumHeight(Scaled(design.height(), factor));
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
    if (control->window() != window || qobject_cast<QMenu*>(control) || qobject_cast<QMenuBar*>(control) ||
        control->property(kScrollFrame).toBool())
        return false;
    // Parts of composite controls (a list's viewport, a calendar's inner table) follow their owner.
    for (QWidget* parent = control->parentWidget(); parent && parent != window; parent = parent->parentWidget())
        if (qobject_cast<QAbstractItemView*>(parent) || qobject_cast<QCalendarWidget*>(parent) ||
            qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent))
            return false;
    return true;
}

void ApplySize(QWidget* window, const WindowSize& size, ScaleKind kind) {
    for (QWidget* control : window->findChildren<QWidget*>())
        if (IsOwnControl(control, window)) ScaleControl(control, size.factor, size.choice, kind);
    if (QLayout* layout = window->layout()) {
        layout->invalidate();
        layout->activate();
    }
}

// The screen a window opens on: its parent's, else its own, else the primary one.
QScreen* ScreenOf(const QWidget* window) {
    if (const QWidget* parent = window->parentWidget(); parent && parent->window()->screen())
        return parent->window()->screen();
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

// The frame the window system puts around a window: the window's own once shown, else that of
// the window it opens from; before any window is shown, room for a title bar and a border.
QMargins FrameOf(const QWidget* window) {
    const auto frame = [](const QWidget* w) {
        const QRect outer = w->frameGeometry(), inner = w->geometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                        outer.bottom() - inner.bottom());
    };
    if (window->isVisible()) return frame(window);
    if (const QWidget* parent = window->parentWidget(); parent && parent->window()->isVisible())
        return frame(parent->window());
    return {4, 30, 4, 4};
}

// Room for the title in the window system's bold type, beside its icon and buttons.
int TitleWidth(const QWidget* window) {
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(window->windowTitle()) + 128;
}

// The least size at which every control keeps its place, wrapped lines, the title and the menus
// included.
QSize LeastSize(QWidget* window) {
    QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    least.rwidth() = std::max(least.width(), TitleWidth(window));
    if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuWidget())
        if (auto* bar = qobject_cast<QMenuBar*>(main->menuWidget())) least.rwidth() = std::max(least.width(), MenuBarFullWidth(bar));
    if (window->hasHeightForWidth()) least.rheight() = std::max(least.height(), window->heightForWidth(least.width()));
    return least;
}

// Moves the window's controls into a scroll area that fills it, so each stays reachable on a
// screen too small for the window.
void MakeScrollable(QWidget* window) {
    auto* scroll = new QScrollArea(window);
    scroll->setProperty(kScrollFrame, true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->viewport()->setProperty(kScrollFrame, true);
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        QWidget* central = main->takeCentralWidget();
        central->setProperty(kScrollFrame, true);
        scroll->setWidget(central);
        main->setCentralWidget(scroll);
        return;
    }
    auto* content = new QWidget;
    content->setProperty(kScrollFrame, true);
    content->setLayout(window->layout()); // takes the layout and its controls from the window
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    window->setMinimumSize(0, 0); // the minimum the old layout gave the window no longer holds
    outer->activate();
}

bool IsScrollable(const QWidget* window) {
    for (const QScrollArea* area : window->findChildren<QScrollArea*>())
        if (area->property(kScrollFrame).toBool()) return true;
    return false;
}

struct ScreenRoom {
    QRect area;     // the screen's free area, in device-independent pixels: its scaling counted
    QMargins frame; // the window system's frame around the window
    QSize room;     // what is left inside the frame
};

ScreenRoom RoomOf(const QWidget* window) {
    const QScreen* screen = ScreenOf(window);
    ScreenRoom r{screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768), FrameOf(window), {}};
    r.room = r.area.size().shrunkBy(r.frame);
    return r;
}

bool Fits(QSize size, QSize room) { return size.width() <= room.width() && size.height() <= room.height(); }

// The main window is at least as wide as its menus, so that none hides behind the extension mark.
void KeepMenusWide(QWidget* window, QSize room) {
    auto* main = qobject_cast<QMainWindow*>(window);
    if (!main || !main->layout() || !qobject_cast<QMenuBar*>(main->menuWidget())) return;
    const int width = std::min(room.width(), std::max(MenuBarFullWidth(main->menuBar()), main->layout()->totalMinimumSize().width()));
    if (main->minimumWidth() != width) main->setMinimumWidth(width);
}

// Grows the window to the least size it needs and moves it wholly onto the free area.
void Place(QWidget* window, const ScreenRoom& r, QSize size, bool centre) {
    size = size.expandedTo(LeastSize(window).boundedTo(r.room)).boundedTo(r.room.expandedTo(LeastSize(window)));
    if (window->hasHeightForWidth())
        size.rheight() = std::min(r.room.height(), std::max(size.height(), window->heightForWidth(size.width())));
    if (size != window->size()) window->resize(size);
    const QSize outer = size.grownBy(r.frame);
    QPoint at = window->pos();
    if (centre)
        at = {r.area.x() + (r.area.width() - outer.width()) / 2, r.area.y() + (r.area.height() - outer.height()) / 2};
    at.rx() = std::max(r.area.left(), std::min(at.x(), r.area.x() + r.area.width() - outer.width()));
    at.ry() = std::max(r.area.top(), std::min(at.y(), r.area.y() + r.area.height() - outer.height()));
    if (at != window->pos()) window->move(at);
}

// The largest size, from the one asked for down, at which the window's least size fits its
// screen; at the smallest, a window that still does not fit scrolls.
void Fit(QWidget* window) {
    const ScreenRoom r = RoomOf(window);
    const ScaleKind kind = window->property(kMainWindow).toBool() ? ScaleKind::MainWindow : ScaleKind::Dialog;
    if (auto* main = qobject_cast<QMainWindow*>(window)) main->setMinimumWidth(0); // measured afresh
    const std::vector<WindowSize> sizes =
        WindowSizesToTry(window->property(kAskedFactor).toFloat(), window->property(kAskedChoice).toString().toStdString());
    const WindowSize* chosen = &sizes.back();
    for (const WindowSize& size : sizes) {
        ApplySize(window, size, kind);
        if (Fits(LeastSize(window), r.room)) {
            chosen = &size;
            break;
        }
    }
    if (!Fits(LeastSize(window), r.room) && !IsScrollable(window)) MakeScrollable(window);
    window->setProperty(kFittedChoice, QString::fromStdString(chosen->choice));
    KeepMenusWide(window, r.room);

    const QSize natural = Scaled(window->property(kDesignSize).toSize(), chosen->factor).expandedTo(window->sizeHint());
    const QRect old = window->frameGeometry();
    // A window that keeps its size and lies wholly on the screen stays where the user put it.
    const bool stays = window->isVisible() && old.size() == natural.boundedTo(r.room).grownBy(r.frame) && r.area.contains(old);
    Place(window, r, natural.boundedTo(r.room), !stays);
}

// When a window's contents change after it opened (a longer status line, a wider list), it
// grows as far as its screen allows and stays on it; beyond that it is fitted again.
class ScreenKeeper : public QObject {
public:
    explicit ScreenKeeper(QWidget* window) : QObject(window), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::LayoutRequest && !pending_) {
            pending_ = true;
            QMetaObject::invokeMethod(this, [this] { Keep(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void Keep() {
        pending_ = false;
        const ScreenRoom r = RoomOf(window_);
        KeepMenusWide(window_, r.room);
        if (!Fits(LeastSize(window_), r.room) && !IsScrollable(window_)) Fit(window_);
        else Place(window_, r, window_->size(), false);
    }

    QWidget* window_;
    bool pending_ = false;
};

} // namespace

int TextBoxFontSize(const std::string& c) { return Pick(c, 10, 12, 18); }
int ListBoxFontSize(const std::string& c, ScaleKind kind) {
    return kind == ScaleKind::MainWindow ? Pick(c, 10, 12, 18) : Pick(c, 10, 14, 18);
}
int OtherFontSize(const std::string& c) { return Pick(c, 8, 10, 16); }
int TextBoxHeightTwips(const std::string& c) { return Pick(c, 375, 488, 563); }

int MenuBarFullWidth(const QMenuBar* menuBar) {
    const QStyle* style = menuBar->style();
    const int spacing = style->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, menuBar);
    const QMargins margins = menuBar->contentsMargins();
    int width = margins.left() + margins.right() + spacing +
                2 * (style->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, menuBar) +
                     style->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, menuBar));
    for (QAction* action : menuBar->actions()) {
        if (!action->isVisible() || action->isSeparator()) continue;
        QStyleOptionMenuItem option;
        option.initFrom(menuBar);
        option.menuItemType = QStyleOptionMenuItem::Normal;
        option.text = action->text();
        option.font = menuBar->font();
        const QSize text = menuBar->fontMetrics().size(Qt::TextShowMnemonic, action->text());
        width += style->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, menuBar).width() + spacing;
    }
    return width;
}

void ScaleForm(QWidget* window, float factor, const std::string& sizeChoice, ScaleKind kind) {
    if (!window->property(kDesignSize).isValid()) {
        window->setProperty(kDesignSize, window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint());
        window->installEventFilter(new ScreenKeeper(window));
    }
    const QVariant before = window->property(kAskedFactor);
    window->setProperty(kAskedFactor, (before.isValid() ? before.toFloat() : 1.0F) * factor);
    window->setProperty(kAskedChoice, QString::fromStdString(sizeChoice));
    window->setProperty(kMainWindow, kind == ScaleKind::MainWindow);
    Fit(window);
}

void ScaleFormBySettings(QWidget* window, ScaleKind kind) {
    ScaleForm(window, App().settings.scaleFactor, App().settings.sizeChoice, kind);
}

std::string FittedSizeChoice(const QWidget* window) { return window->property(kFittedChoice).toString().toStdString(); }

} // namespace plumet::ui
