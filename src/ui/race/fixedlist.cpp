#include "ui/race/fixedlist.h"

#include <QBoxLayout>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>

#include "ui/app/formtexts.h"

namespace plumet::ui {

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
    FixedList fixedList{DataLabel(parent, headsName), new QListWidget(parent)};
    fixedList.heads->setFont(fixed);
    fixedList.list->setObjectName(listName);
    fixedList.list->setFont(fixed);
    fixedList.list->setMinimumSize(QFontMetrics(fixed).horizontalAdvance(QString(columns, 'X')), 240);
    layout->addWidget(fixedList.heads);
    layout->addWidget(fixedList.list, 1);
    return fixedList;
}

void FixedList::Show(const QStringList& headLines, const QStringList& lines) const {
    heads->setFont(list->font()); // the window-size rule may have changed the list's font
    heads->setText(headLines.join('\n'));
    list->clear();
    list->addItems(lines);
}

QStringList FixedList::Lines() const {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

} // namespace plumet::ui
