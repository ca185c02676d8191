#include "cli/cancelinterrupt.h"

#include <chrono>
#include <csignal>

namespace plumet::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) { interrupted = 1; }

} // namespace

// A signal handler may only set a flag; the watcher turns it into the stop request.
InterruptCancel::InterruptCancel() {
    interrupted = 0;
    previousInt_ = std::signal(SIGINT, OnInterrupt);
    previousTerm_ = std::signal(SIGTERM, OnInterrupt);
    watcher_ = std::jthread([this](std::stop_token own) {
        while (!own.stop_requested()) {
            if (interrupted) {
                source_.request_stop();
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
}

InterruptCancel::~InterruptCancel() {
    watcher_.request_stop();
    watcher_.join();
    std::signal(SIGINT, previousInt_ ? previousInt_ : SIG_DFL);
    std::signal(SIGTERM, previousTerm_ ? previousTerm_ : SIG_DFL);
}

} // namespace plumet::cli
