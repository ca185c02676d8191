#pragma once
// What the result window and the season window share: lists of fixed-width lines in a fixed
// font under head lines set in the same font that scroll sideways with them, and labels that
// show data rather than captions.
#include <QFont>
#include <QString>
#include <QStringList>

class QBoxLayout;
class QLabel;
class QListWidget;
class QWidget;

namespace plumet::ui {

// "Courier New" where it is installed, else the platform's fixed font.
QFont FixedListFont();

// A plain-text label that takes no caption from the catalogue.
QLabel* DataLabel(QWidget* parent, const QString& name);

struct FixedList {
    QLabel* heads = nullptr;
    QListWidget* list = nullptr;

    // `lines`: the head line(s), then one list item per line.
    void Show(const QStringList& heads, const QStringList& lines) const;
    QStringList Lines() const;
};
// Adds the list to `layout`, its head label standing in it above the rows; the list is wide
// enough for `columns` characters and for the longest line it shows.
FixedList AddFixedList(QBoxLayout* layout, QWidget* parent, const QString& headsName, const QString& listName,
                       int columns);

} // namespace plumet::ui
