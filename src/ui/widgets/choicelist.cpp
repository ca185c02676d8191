#include "ui/widgets/choicelist.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "common/textcodec.h"
#include "core/app/fixedwidth.h"

namespace plumet::ui {

void FillChoices(QComboBox* combo, const std::vector<ListItem>& items) {
    const QSignalBlocker block(combo);
    combo->clear();
    for (const ListItem& item : items) combo->addItem(ToQt(TrimRightBlanks(item.text)), item.number);
    combo->setCurrentIndex(items.empty() ? -1 : 0);
}

} // namespace plumet::ui
