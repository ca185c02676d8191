#pragma once
// What every clock transfer dialog shares: the port opened on load (message 1 and close when
// it cannot be), the start delay, the transfer on the worker thread, status lines, and
// Cancel/Escape that set the cancel flag and, for most transfers, close at once.
#include <QString>
#include <functional>

#include "app/dialogbase.h"
#include "clock/clocklink.h"
#include "clock/transfersession.h"

class QLabel;
class QTimer;

namespace plumet::ui {

class TransferDialog : public DialogBase {
    Q_OBJECT
public:
    enum class CancelBehaviour { ClosesAtOnce, OnlyFlags };

    TransferDialog(const QString& objectName, QWidget* parent, const TransferConstants& constants,
                   CancelBehaviour cancel, const QString& prefix = {});
    ~TransferDialog() override;

    // Tests shorten the delays and timeouts of every transfer dialog made while it is set.
    static void SetTimingForTests(std::function<void(TransferConstants&)> adjust);

    bool PortOpen() const { return portOpen_; }
    const TransferConstants& Constants() const { return constants_; }
    TransferSession& Session() { return session_; }

    void reject() override;

protected:
    // Opens the configured port. When it cannot be opened: message 1, then the dialog closes.
    bool OpenPort();
    // Runs `start` once the start delay of the transfer has passed.
    void StartAfterDelay(std::function<void()> start);
    // A status line: a label that shows catalogue texts set at run time.
    QLabel* MakeStatusLine(const QString& objectName);
    void SetStatus(QLabel* line, const QString& text);
    // Closes the dialog from code, whatever the cancel behaviour.
    void CloseDialog();

private:
    TransferConstants constants_;
    CancelBehaviour cancelBehaviour_;
    TransferSession session_;
    QTimer* startTimer_;
    bool portOpen_ = false;
    bool closing_ = false;
};

} // namespace plumet::ui
