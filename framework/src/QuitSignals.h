#pragma once

#include <memory>

class QSocketNotifier;

namespace fw::detail {

// While it lives, SIGTERM, SIGHUP and SIGINT (logout, the terminal going
// away, Ctrl+C) make the application quit as its Quit item does: the
// windows close, the application's Close saves what it keeps, the loop
// ends. The signal handler only writes a byte to a pipe that the event loop
// watches; the quit itself runs from the loop.
//
// Signals often come in pairs (systemd ends a session with SIGTERM and then
// SIGHUP; a closing terminal sends SIGHUP twice): one that comes while a
// quit begun by a signal is under way is part of that quit, until the
// process has ended. Only one that comes 2 s or more after the first, with
// the process still not ended (a quit that hangs, and someone insisting),
// takes the signal's default action at once. A quit that a window refuses
// leaves nothing under way. A signal the process was started with ignored
// (nohup) stays ignored. After a loop that no signal ended, the defaults
// are back.
class QuitSignals {
public:
    QuitSignals();
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    void Received();

    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace fw::detail
