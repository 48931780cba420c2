#include <framework/Application.h>
#include <framework/Runtime.h>

#include "ApplicationLink.h"
#include "DeferredIconStyle.h"
#include "WaitCursorImpl.h"
#include "WindowImpl.h"

#include <QApplication>

#include <fontconfig/fontconfig.h>

#include <memory>
#include <string>
#include <thread>
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
    bool startupFailed = false;
};
RuntimeState& State()
{
    static RuntimeState s;
    return s;
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
        // The toolkit reads the font configuration when the first window
        // measures its text; reading it here, on a thread of its own while
        // the toolkit connects to the display, takes most of that off the
        // start. The toolkit's own call then finds it read (or, should this
        // one have failed, tries again and reports as ever).
        std::jthread fonts([] { FcInit(); });
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
        s.startupFailed = true;
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
    RuntimeOpenApplication();
    if (!s.quitRequested)
        s.exitCode = QApplication::exec();
    s.quitRequested = false;
    return s.exitCode;
}

void RuntimeQuit(int32_t code)
{
    State().exitCode = code;
    State().quitRequested = true;
    QCoreApplication::exit(code);
}

void RuntimeReleaseWindows() { detail::ReleaseAllWindows(); }

int32_t RuntimeExit()
{
    // The application object may own toolkit objects (sounds): it goes first.
    detail::ReleaseApplication();
    detail::ReleaseAllWindows();
    State().app.reset();
    return State().startupFailed ? 1 : State().exitCode;
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
