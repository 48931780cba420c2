#include <framework/Application.h>
#include <framework/Exceptions.h>
#include <framework/Runtime.h>

#include "ApplicationLink.h"
#include "DeferredIconStyle.h"
#include "QuitSignals.h"
#include "RuntimeLink.h"
#include "SoundImpl.h"
#include "ToolkitQuit.h"
#include "WaitCursorImpl.h"
#include "WindowImpl.h"

#include <QApplication>

#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <memory>
#include <string>
#include <vector>

namespace fw {

namespace {
struct RuntimeState {
    std::vector<std::string> args;
    std::vector<char*> argv;
    int argc = 0;
    std::unique_ptr<QApplication> app;
    int32_t exitCode = 0;
    // A quit that came before the loop ran: the loop returns at once.
    bool quitRequested = false;
    ExceptionHelper helper = nullptr;
    // Start-up or the application's Open failed: the exit status is 1.
    bool failed = false;
    // The framework handles the toolkit's events: from RuntimeRun until
    // RuntimeExit has taken the toolkit down.
    bool handlingEvents = false;
    bool loopRuns = false;
};
RuntimeState& State()
{
    static RuntimeState s;
    return s;
}

// The toolkit reads the font configuration when the first window measures
// its text. Read here, on a thread of its own while the toolkit connects to
// the display, most of that leaves the start; the toolkit's own call then
// finds it read (and should this one fail, or no thread start, the toolkit
// reads it as ever). The thread starts on another processor than this
// one, where there is one: the scheduler would otherwise let it share this
// thread's processor for its first milliseconds, slowing both.
class FontConfigReader {
public:
    FontConfigReader()
    {
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        cpu_set_t cpus;
        const int here = sched_getcpu();
        if (here >= 0 && sched_getaffinity(0, sizeof cpus, &cpus) == 0) {
            CPU_CLR(here, &cpus);
            if (CPU_COUNT(&cpus) > 0)
                pthread_attr_setaffinity_np(&attr, sizeof cpus, &cpus);
        }
        started_ = pthread_create(&thread_, &attr, [](void*) -> void* {
            FcInit();
            return nullptr;
        }, nullptr) == 0;
        pthread_attr_destroy(&attr);
    }
    ~FontConfigReader()
    {
        if (started_)
            pthread_join(thread_, nullptr);
    }
    FontConfigReader(const FontConfigReader&) = delete;
    FontConfigReader& operator=(const FontConfigReader&) = delete;

private:
    pthread_t thread_ {};
    bool started_ = false;
};

// The toolkit ends the process with exit(1) when its connection to the
// display breaks (the X server ended, the window killed), from inside its
// event handling. The static objects that exit() would then destroy (the
// application, the windows, the toolkit itself) are in use by the frames
// below: destroying them crashes. Nothing is owed to anyone then (there is
// no display left to quit through), so while the framework handles events
// the process ends at once, with that status. Registered after the
// framework's own statics, so it runs before their destructors.
void EndWhileHandlingEvents()
{
    if (!State().handlingEvents)
        return;
    std::fflush(nullptr);
    _exit(1);
}

void GuardExit()
{
    if (std::atexit(EndWhileHandlingEvents) != 0)
        throw RuntimeException("cannot register the framework's exit guard");
}
} // namespace

void RuntimeInit(int argc, char** argv)
{
    RuntimeState& s = State();
    if (s.app)
        return;
    // The toolkit keeps argc and argv for its whole life; give it our copy.
    for (int i = 0; i < argc; ++i)
        s.args.emplace_back(argv[i]);
    if (s.args.empty())
        s.args.emplace_back("horomine");
    for (auto& a : s.args)
        s.argv.push_back(a.data());
    s.argv.push_back(nullptr);
    s.argc = static_cast<int>(s.args.size());
    {
        FontConfigReader fonts;
        s.app = std::make_unique<QApplication>(s.argc, s.argv.data());
    }
    QApplication::setStyle(new detail::DeferredIconStyle(QApplication::style()));
    QApplication::setApplicationName("horomine");
    // The application object decides when to quit, not the toolkit.
    QApplication::setQuitOnLastWindowClosed(false);
}

bool RuntimeIsInitialized() { return static_cast<bool>(State().app); }

std::exception_ptr CallFunctionWithExceptionHandling(void (*function)(void*), void* argument)
{
    try {
        function(argument);
        return nullptr;
    } catch (...) {
        return std::current_exception();
    }
}

void RuntimeSetExceptionHelper(ExceptionHelper helper) { State().helper = helper; }

void RunFrameworkInitialization(void (*startup)())
{
    RuntimeState& s = State();
    auto call = [](void* routine) { (*static_cast<void (**)()>(routine))(); };
    std::exception_ptr raised
        = s.helper ? s.helper(call, &startup) : CallFunctionWithExceptionHandling(call, &startup);
    if (raised) {
        s.failed = true;
        std::rethrow_exception(raised);
    }
}

void RuntimeInitExternalClasses() {}

void InitPluginEntrypoints() {}

int32_t RuntimeRun()
{
    RuntimeState& s = State();
    if (!s.app)
        return 1;
    // After every static that start-up made, so that it runs before any
    // of their destructors.
    static const bool guarded = (GuardExit(), true);
    (void)guarded;
    s.handlingEvents = true;
    // A signal during the open waits for the loop, which then quits.
    detail::QuitSignals quitSignals;
    detail::ToolkitQuit toolkitQuit;
    RuntimeOpenApplication(); // an exception leaves start-up failed
    if (!s.quitRequested) {
        s.loopRuns = true;
        s.exitCode = QApplication::exec();
        s.loopRuns = false;
    }
    s.quitRequested = false;
    return s.exitCode;
}

void RuntimeQuit(int32_t code)
{
    State().exitCode = code;
    State().quitRequested = true;
    QCoreApplication::exit(code);
}

void detail::RunFailed()
{
    RuntimeState& s = State();
    s.failed = true;
    if (s.loopRuns)
        RuntimeQuit(1);
}

bool detail::QuitRequested() { return State().quitRequested; }

void RuntimeReleaseWindows() { detail::ReleaseAllWindows(); }

int32_t RuntimeExit()
{
    // The application object may own toolkit objects (sounds): it goes first.
    detail::ReleaseApplication();
    detail::ReleaseAllWindows();
    // The toolkit's sample cache goes down after the toolkit; should a sample
    // still load then, the exit hangs.
    detail::SettleSounds();
    detail::DeleteDeferred(); // the sound effects whose samples loaded meanwhile
    State().app.reset();
    State().handlingEvents = false;
    return State().failed ? 1 : State().exitCode;
}

void YieldToBackground() { detail::WaitCursorTick(); }

void ProcessPendingEvents()
{
    if (State().app) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

} // namespace fw
