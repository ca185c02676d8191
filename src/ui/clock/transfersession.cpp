#include "ui/clock/transfersession.h"

#include <QThread>

#include "serial/serialclocklink.h"

namespace plumet::ui {
namespace {

ClockLinkFactory& TestFactory() {
    static ClockLinkFactory factory;
    return factory;
}

} // namespace

void SetClockLinkFactoryForTests(ClockLinkFactory factory) { TestFactory() = std::move(factory); }

TransferSession::TransferSession(QObject* parent) : QObject(parent), thread_(new QThread), worker_(new QObject) {
    worker_->moveToThread(thread_);
    thread_->start();
}

TransferSession::~TransferSession() {
    stop_.request_stop();
    QMetaObject::invokeMethod(
        worker_,
        [this] {
            if (link_) link_->close();
            link_.reset();
        },
        Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
    delete worker_;
    delete thread_;
}

LinkStatus TransferSession::Open(const PortSettings& settings) {
    LinkStatus status = LinkStatus::PortError;
    QMetaObject::invokeMethod(
        worker_,
        [this, &settings, &status] {
            link_ = TestFactory() ? TestFactory()() : std::make_unique<SerialClockLink>();
            status = link_->open(settings);
            if (status != LinkStatus::Ok) link_.reset();
        },
        Qt::BlockingQueuedConnection);
    return status;
}

void TransferSession::Run(Job job) {
    running_ = true;
    QMetaObject::invokeMethod(worker_, [this, job = std::move(job)] {
        if (link_) job(*link_, stop_.get_token());
        QMetaObject::invokeMethod(this, [this] {
            running_ = false;
            emit finished();
        }, Qt::QueuedConnection);
    });
}

void TransferSession::Post(std::function<void()> fn) {
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

} // namespace plumet::ui
