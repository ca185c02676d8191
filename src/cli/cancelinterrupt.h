#pragma once
// Ctrl+C or a termination request ends a long transfer the way Cancel ends its dialog: the
// core function sees the stop, the port is closed, the command reports the end.
#include <stop_token>
#include <thread>

namespace plumet::cli {

class InterruptCancel {
public:
    InterruptCancel();
    ~InterruptCancel();
    InterruptCancel(const InterruptCancel&) = delete;
    InterruptCancel& operator=(const InterruptCancel&) = delete;

    std::stop_token Token() const { return source_.get_token(); }

private:
    std::stop_source source_;
    std::jthread watcher_;
    void (*previousInt_)(int) = nullptr;
    void (*previousTerm_)(int) = nullptr;
};

} // namespace plumet::cli
