#include "ui/race/fixedlist.h"

#include <QBoxLayout>
#include <QEvent>
#include <algorithm>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>

#include "ui/app/formtexts.h"

namespace plumet::ui {
namespace {

// A list whose head lines stand in its own frame above the rows and scroll sideways with them,
// so each head stays over its column.
class HeadedList : public QListWidget {
public:
    HeadedList(QWidget* parent, QLabel* heads, int columns)
        : QListWidget(parent), strip_(new QWidget(this)), heads_(heads), columns_(columns) {
        heads_->setParent(strip_);
        connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { PlaceHeads(); });
    }

    // The longest line shown, whose last column must show whole at any font.
    void SetLongest(const QString& line) {
        longest_ = line;
        updateGeometry();
    }

    QSize minimumSizeHint() const override {
        QSize hint = QListWidget::minimumSizeHint();
        const QFontMetrics metrics(font());
        const int text = std::max(metrics.horizontalAdvance(QString(columns_, 'X')), metrics.horizontalAdvance(longest_));
        const int margins = 2 * frameWidth() + verticalScrollBar()->sizeHint().width() + 2 * TextMargin() + 4;
        hint.setWidth(std::max(hint.width(), text + margins));
        return hint;
    }

    // The strip above the rows clips the heads, which start where the items' text starts.
    void PlaceHeads() {
        const int lines = heads_->text().isEmpty() ? 0 : static_cast<int>(heads_->text().count('\n')) + 1;
        const int height = lines == 0 ? 0 : std::max(lines * QFontMetrics(heads_->font()).lineSpacing(), heads_->sizeHint().height());
        setViewportMargins(0, height, 0, 0);
        const QRect rows = viewport()->geometry();
        strip_->setGeometry(rows.left(), rows.top() - height, rows.width(), height);
        heads_->setGeometry(TextMargin() - horizontalScrollBar()->value(), 0,
                            std::max(rows.width(), heads_->sizeHint().width()), height);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QListWidget::resizeEvent(event);
        PlaceHeads();
    }
    void changeEvent(QEvent* event) override {
        QListWidget::changeEvent(event);
        if (event->type() == QEvent::FontChange) {
            heads_->setFont(font());
            PlaceHeads();
        }
    }

private:
    int TextMargin() const { return style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1; }

    QWidget* strip_;
    QLabel* heads_;
    int columns_;
    QString longest_;
};

} // namespace

QFont FixedListFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return font;
}

QLabel* DataLabel(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setProperty(kNoCaptionProperty, true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

FixedList AddFixedList(QBoxLayout* layout, QWidget* parent, const QString& headsName, const QString& listName,
                       int columns) {
    const QFont fixed = FixedListFont();
    QLabel* heads = DataLabel(parent, headsName);
    heads->setFont(fixed);
    FixedList fixedList{heads, new HeadedList(parent, heads, columns)};
    fixedList.list->setObjectName(listName);
    fixedList.list->setFont(fixed);
    fixedList.list->setMinimumHeight(240);
    layout->addWidget(fixedList.list, 1);
    return fixedList;
}

void FixedList::Show(const QStringList& headLines, const QStringList& lines) const {
    heads->setFont(list->font()); // the window-size rule may have changed the list's font
    heads->setText(headLines.join('\n'));
    list->clear();
    list->addItems(lines);
    QString longest;
    for (const QString& line : headLines + lines)
        if (line.size() > longest.size()) longest = line;
    static_cast<HeadedList*>(list)->SetLongest(longest);
    static_cast<HeadedList*>(list)->PlaceHeads();
}

QStringList FixedList::Lines() const {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

} // namespace plumet::ui
