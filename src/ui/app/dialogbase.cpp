#include "ui/app/dialogbase.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/textcodec.h"
#include "ui/app/messages.h"
#include "ui/app/scaleform.h"
#include "ui/app/writelock.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {

DialogBase::DialogBase(const QString& objectName, QWidget* parent, const QString& prefix)
    : QDialog(parent), texts_(this, prefix.isEmpty() ? objectName : prefix) {
    setObjectName(objectName);
    setModal(true);
}

void DialogBase::Load(const QString& mode) {
    texts_.Apply(mode);
    ScaleFormBySettings(this);
}

void DialogBase::keyPressEvent(QKeyEvent* event) {
    const bool isReturn = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                          (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!isReturn) return QDialog::keyPressEvent(event);
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (!button)
        for (QPushButton* candidate : findChildren<QPushButton*>())
            if (candidate->isDefault() && candidate->isVisible() && candidate->window() == this) button = candidate;
    event->accept();
    if (!button || !button->isEnabled()) return;
    if (auto* field = qobject_cast<FixedField*>(focusWidget())) {
        field->ApplyLeaveRule();
        emit field->left();
    }
    button->click();
}

QLabel* DialogBase::AddLabelled(QGridLayout* grid, int row, const QString& labelName, const QString& caption,
                                QWidget* field) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(labelName);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    return label;
}

QPushButton* DialogBase::AddButton(QHBoxLayout* row, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

QLabel* DialogBase::AddStatusLine(QHBoxLayout* row) {
    auto* line = new QLabel(this);
    line->setObjectName(kStatusLineName);
    line->setProperty(kNoCaptionProperty, true);
    line->setTextFormat(Qt::PlainText);
    // A long path is cut rather than widening the window beyond the screen; its tool tip holds it whole.
    line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(line, 1);
    return line;
}

DialogBase::ChooserRow DialogBase::AddChooserRow(QVBoxLayout* layout, const QString& caption) {
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    auto* label = new QLabel(caption, this);
    label->setObjectName("Label1");
    auto* chooser = new QComboBox(this);
    chooser->setObjectName("Combo1");
    chooser->setMinimumContentsLength(30);
    row->addWidget(label);
    row->addWidget(chooser, 1);
    return {chooser, AddButton(row, "Command4", "New..."), AddButton(row, "Command5", "Alter..."),
            AddButton(row, "Command6", "Delete")};
}

DialogBase::HeadGrid DialogBase::AddHeadGrid(QVBoxLayout* layout, int lines) {
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    std::vector<QLabel*> labels;
    for (int i = 0; i < 4 * lines; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName("Label" + QString::number(i + 2));
        label->setProperty(kNoCaptionProperty, true); // filled from the list, not the catalogue
        label->setTextFormat(Qt::PlainText);
        labels.push_back(label);
        grid->addWidget(label, i / 4, i % 4);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return {grid, labels};
}

void DialogBase::FillChooser(QComboBox* chooser, const std::vector<std::pair<std::string, Path>>& names,
                             const QString& noneItem, const QString& select) const {
    const QSignalBlocker block(chooser);
    chooser->clear();
    for (const auto& [name, file] : names)
        chooser->addItem(!name.empty() ? ToQt(name)
                                       : Texts().Text("DamagedItem").replace("%1", QString::fromStdU16String(file.filename().u16string())));
    if (names.empty()) chooser->addItem(noneItem);
    const int index = chooser->findText(select);
    chooser->setCurrentIndex(index < 0 ? 0 : index);
}

void DialogBase::AskAndRemove(const std::string& name, const std::function<SaveResult()>& remove) {
    if (!AskYesNo(this, Texts().Text("MsgBoxName1"), Texts().Text("MsgBoxText1").replace("%1", ToQt(name)))) return;
    const auto removed = UnderWriteLock(this, remove);
    if (removed && !*removed) ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(removed->error));
}

QString RegisterFormName(const QString& base, RegisterMode mode) {
    switch (mode) {
    case RegisterMode::Add: return base + "Add";
    case RegisterMode::Alter: return base + "Alter";
    case RegisterMode::Delete: return base + "Delete";
    }
    return base;
}

} // namespace plumet::ui
