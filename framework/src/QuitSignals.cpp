#include "QuitSignals.h"

#include "ApplicationLink.h"
#include "RuntimeLink.h"

#include <framework/Dispatch.h>
#include <framework/Exceptions.h>

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

namespace fw::detail {

namespace {

constexpr int kSignals[] = { SIGTERM, SIGHUP, SIGINT };
// A second signal this long after the first no longer belongs to its quit.
constexpr int64_t kInsistNs = 2'000'000'000;

// Made once and kept for the process's life: a handler that runs while a
// loop ends never writes into a descriptor that was closed and reused.
int g_pipe[2] = { -1, -1 };

// When the first signal of the quit under way came (CLOCK_MONOTONIC, in
// nanoseconds, never 0); 0 while none is under way. The handler may run on
// any thread, so it is a lock-free atomic, which a handler may use.
std::atomic<int64_t> g_quitSince { 0 };
static_assert(std::atomic<int64_t>::is_always_lock_free);

extern "C" void OnQuitSignal(int signal)
{
    const int saved = errno;
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const int64_t at = now.tv_sec * int64_t { 1'000'000'000 } + now.tv_nsec + 1;
    int64_t since = 0;
    if (g_quitSince.compare_exchange_strong(since, at)) {
        const char byte = 1;
        // A full pipe already holds a wake-up.
        [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &byte, 1);
    } else if (at - since >= kInsistNs) {
        // The quit has not ended the process in 2 s and someone insists: end
        // now, as the signal would.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
    // Otherwise it came with the first (a pair): that quit answers it.
    errno = saved;
}

bool Ignored(int signal)
{
    struct sigaction old {};
    return sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN;
}

void Drain()
{
    char bytes[16];
    while (read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
}

} // namespace

QuitSignals::QuitSignals()
{
    if (g_pipe[0] < 0 && pipe2(g_pipe, O_NONBLOCK | O_CLOEXEC) != 0)
        throw RuntimeException(std::string("cannot watch for the signals to quit: ") + std::strerror(errno));
    // What came after an earlier loop belongs to it.
    Drain();
    g_quitSince = 0;
    notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
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
    notifier_.reset();
    // A quit that a signal began goes on until the process has ended: the
    // handler stays, so the rest of a pair is still part of it. After any
    // other loop, what comes next (letting go, the exit) is no quit to ask
    // for: a signal then ends the process as it would any other.
    if (g_quitSince != 0)
        return;
    for (int signal : kSignals) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == OnQuitSignal)
            ::signal(signal, SIG_DFL);
    }
}

void QuitSignals::Received()
{
    Drain();
    Dispatch([] { QuitApplication(); });
    // A quit that a window refused leaves the program running: the next signal
    // asks again rather than ending it.
    if (!QuitRequested())
        g_quitSince = 0;
}

} // namespace fw::detail
