#pragma once
// What every clock transfer dialog shares: the port opened on load (message 1 and close when
// it cannot be), the start delay, the transfer on the worker thread, status lines, and
// Cancel/Escape that set the cancel flag and, for most transfers, close at once.
#include <QString>
#include <cstddef>
#include <functional>
#include <initializer_list>

#include "core/clock/clocklink.h"
#include "core/clock/transferface.h"
#include "ui/app/dialogbase.h"
#include "ui/clock/transfersession.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace plumet::ui {

class TransferDialog : public DialogBase {
    Q_OBJECT
public:
    enum class CancelBehaviour { ClosesAtOnce, OnlyFlags };

    TransferDialog(const QString& objectName, QWidget* parent, const TransferConstants& constants,
                   CancelBehaviour cancel, const QString& prefix = {});
    ~TransferDialog() override;

    // Tests change the delays and timeouts of every transfer dialog made while it is set.
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
    // A bar that shows how much of the transfer is done; empty until the first SetProgress.
    QProgressBar* MakeProgressBar(const QString& objectName = QStringLiteral("ProgressBar1"));
    static void SetProgress(QProgressBar* bar, std::size_t done, std::size_t total);
    // The usual face of a transfer: `rows` one under the other, then the Cancel button
    // (named `cancelName`) at the right.
    QPushButton* LayOut(std::initializer_list<QWidget*> rows, const QString& cancelName = QStringLiteral("Command1"));
    // The status line and the message of a send's outcome; a refusal's reason takes the
    // message's place.
    void ShowFace(const TransferFace& face, const Refusal& refusal, QLabel* statusLine);
    // Closes the dialog from code, whatever the cancel behaviour.
    void CloseDialog();

private:
    TransferConstants constants_;
    CancelBehaviour cancelBehaviour_;
    TransferSession session_;
    QTimer* startTimer_;
    bool portOpen_ = false;
    bool closing_ = false;
    bool cancelAsked_ = false; // a transfer that only takes the flag ends, then the dialog closes
};

} // namespace plumet::ui
