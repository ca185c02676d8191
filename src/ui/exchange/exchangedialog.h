#pragma once
// frmFancierdataBuild, frmLoftdataBuild, frmFancierdataRead and frmLoftdataRead: each builds or
// reads its exchange file as it opens and shows the start text followed by the result.
#include "core/exchange/exchangefile.h"
#include "ui/app/dialogbase.h"

class QLabel;

namespace plumet::ui {

class MainWindow;

class ExchangeDialog : public DialogBase {
    Q_OBJECT
public:
    enum class Direction { Build, Read };

    ExchangeDialog(MainWindow* mainWindow, ExchangeKind kind, Direction direction);

    // What the label shows: start text + ready or error text.
    QString Status() const;

private:
    void Run();
    // "txtFancierdata" or "txtLoftdata" followed by `what`.
    QString StatusKey(const char* what) const;

    MainWindow* main_;
    ExchangeKind kind_;
    Direction direction_;
    QLabel* status_ = nullptr;
};

} // namespace plumet::ui
