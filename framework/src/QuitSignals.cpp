#include "QuitSignals.h"

#include "ApplicationLink.h"
#include "RuntimeLink.h"

#include <framework/Dispatch.h>
#include <framework/Exceptions.h>

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace fw::detail {

namespace {

constexpr int kSignals[] = { SIGTERM, SIGHUP, SIGINT };

// Written by the handler, read by the loop.
int g_wakeFd = -1;
volatile sig_atomic_t g_quitting = 0;

extern "C" void OnQuitSignal(int signal)
{
    if (g_quitting) {
        // The player (or the system) insists: end now, as the signal would.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    g_quitting = 1;
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    // A full pipe already holds a wake-up.
    [[maybe_unused]] ssize_t n = ::write(g_wakeFd, &byte, 1);
    errno = saved;
}

bool Ignored(int signal)
{
    struct sigaction old {};
    return sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN;
}

} // namespace

QuitSignals::QuitSignals()
{
    if (pipe2(pipe_, O_NONBLOCK | O_CLOEXEC) != 0)
        throw RuntimeException(std::string("cannot watch for the signals to quit: ") + std::strerror(errno));
    g_wakeFd = pipe_[1];
    g_quitting = 0;
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Received(); });
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals)
        sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        if (!Ignored(signal))
            sigaction(signal, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    // What comes after the loop (letting go, the exit) is no quit to ask
    // for: a signal then ends the process as it would any other.
    for (int signal : kSignals) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == OnQuitSignal)
            ::signal(signal, SIG_DFL);
    }
    notifier_.reset();
    g_wakeFd = -1;
    close(pipe_[0]);
    close(pipe_[1]);
}

void QuitSignals::Received()
{
    char bytes[16];
    while (read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    Dispatch([] { QuitApplication(); });
    // A quit that a window refused leaves the game running: the next signal
    // asks again rather than ending it at once.
    if (!QuitRequested())
        g_quitting = 0;
}

} // namespace fw::detail
