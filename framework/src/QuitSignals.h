#pragma once

#include <memory>

class QSocketNotifier;

namespace fw::detail {

// While it lives, SIGTERM, SIGHUP and SIGINT (logout, the terminal going
// away, Ctrl+C) make the application quit as its Quit item does: the
// windows close, the application's Close saves what it keeps, the loop
// ends. The signal handler only writes a byte to a pipe that the event loop
// watches; the quit itself runs from the loop. A second signal before the
// quit has ended the loop takes the signal's default action at once.
// A signal the process was started with ignored (nohup) stays ignored.
class QuitSignals {
public:
    QuitSignals();
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    void Received();

    int pipe_[2] = { -1, -1 };
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace fw::detail
