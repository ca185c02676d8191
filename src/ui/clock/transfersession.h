#pragma once
// One clock transfer off the user-interface thread: a worker thread owns the clock link,
// opens the port, and runs the transfer as a plain core function. The dialog never blocks;
// what the transfer reports reaches it queued.
#include <QObject>
#include <functional>
#include <memory>
#include <stop_token>

#include "core/clock/clocklink.h"

class QThread;

namespace plumet::ui {

using ClockLinkFactory = std::function<std::unique_ptr<ClockLink>()>;

// Tests plug in an in-memory link; nullptr restores the serial port.
void SetClockLinkFactoryForTests(ClockLinkFactory factory);

class TransferSession : public QObject {
    Q_OBJECT
public:
    using Job = std::function<void(ClockLink& link, std::stop_token cancel)>;

    explicit TransferSession(QObject* parent = nullptr);
    // Cancels a running job, waits for it and closes the port.
    ~TransferSession() override;

    // Opens the port on the worker thread and returns its answer.
    LinkStatus Open(const PortSettings& settings);
    // Starts `job` on the worker thread; `finished` follows on this object's thread.
    void Run(Job job);
    void Cancel() { stop_.request_stop(); }
    bool CancelRequested() const { return stop_.stop_requested(); }
    bool Running() const { return running_; }

    // For the job: runs `fn` on the user-interface thread, in the order posted. A job holds the
    // session itself, not the dialog: a cancelled job still reports while the dialog's own part
    // is already destroyed and only the session waits for it.
    void Post(std::function<void()> fn);

signals:
    void finished();

private:
    QThread* thread_;
    QObject* worker_;
    std::unique_ptr<ClockLink> link_;
    std::stop_source stop_;
    bool running_ = false;
};

} // namespace plumet::ui
