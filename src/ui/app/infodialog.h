#pragma once
// frmInfo: the program's name, date, edition and contact lines.
#include "ui/app/dialogbase.h"

namespace plumet::ui {

class InfoDialog : public DialogBase {
    Q_OBJECT
public:
    explicit InfoDialog(QWidget* parent);
};

} // namespace plumet::ui
