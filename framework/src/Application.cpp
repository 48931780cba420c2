#include <framework/Application.h>
#include <framework/ApplicationBundle.h>
#include <framework/Dispatch.h>
#include <framework/FolderItem.h>
#include <framework/MenuBar.h>
#include <framework/ResourceFork.h>
#include <framework/Runtime.h>

#include "ApplicationLink.h"
#include "RuntimeLink.h"
#include "WindowImpl.h"

#include <map>

namespace fw {

struct Application::Impl {
    Ref<fw::MenuBar> menuBar;
    bool autoQuit = false;
    std::map<std::string, MenuHandler> menuHandlers;
    bool quitting = false;
    bool closeRaised = false;
};

namespace {
struct AppState {
    Ref<Application> app;
    // Open is raised once per registered object.
    bool opened = false;
};

AppState& State()
{
    static AppState s;
    return s;
}

// Closes the open windows front first; false when one of them stays open.
// A window whose Close is running (it asked to quit, say) is closed
// already, though still on the list until its Close returns.
bool CloseAllWindows()
{
    for (;;) {
        Ref<Window> next;
        for (int32_t i = 0; !next && i < WindowCount(); ++i)
            if (Ref<Window> w = WindowAt(i); w->impl().open)
                next = w;
        if (!next)
            return true;
        if (!detail::CloseWindow(*next, true))
            return false;
    }
}
} // namespace

Application::Application()
    : impl_(std::make_unique<Impl>())
{
}

Application::~Application() = default;

const ClassRecord& Application::Record()
{
    static const ClassRecord record { "Application", &Object::Record(),
        { Property<Application>("MenuBar", &Application::MenuBar),
            Property<Application>("AutoQuit", &Application::AutoQuit) },
        { Method("ResourceFork", &Application::ResourceFork),
            Method("AddMenuHandler", &Application::AddMenuHandler, Scope::Hidden), Method("Quit", &Application::Quit) },
        { "Open", "Close", "EnableMenuItems" } };
    return record;
}

const ClassRecord& Application::ClassInfo() const { return Record(); }

const std::string& Application::ResourceFileName()
{
    static const std::string name = "horomine.rsrc";
    return name;
}

Ref<fw::ResourceFork> Application::ResourceFork() const
{
    // Read on each call: the callers ask only until they have what they
    // need, and a file put in place during the run is found.
    Ref<fw::ResourceFork> fork;
    if (Ref<FolderItem> resources = GetApplicationBundleResources())
        fork = fw::ResourceFork::Open(resources->Child(ResourceFileName()));
    if (!fork)
        fork = New<fw::ResourceFork>(std::vector<fw::ResourceFork::Entry> {}, std::vector<uint8_t> {});
    return fork;
}

Ref<fw::MenuBar> Application::MenuBar() const { return impl_->menuBar; }

void Application::MenuBar(const Ref<fw::MenuBar>& bar)
{
    impl_->menuBar = bar;
    if (State().app.Get() == this)
        detail::RefreshAllMenuBars();
}

bool Application::AutoQuit() const { return impl_->autoQuit; }
void Application::AutoQuit(bool v) { impl_->autoQuit = v; }

void Application::AddMenuHandler(const std::string& itemName, const MenuHandler& handler)
{
    impl_->menuHandlers[itemName] = handler;
}

void Application::Quit()
{
    if (impl_->quitting || impl_->closeRaised)
        return;
    Ref<Application> keep(std::static_pointer_cast<Application>(shared_from_this()));
    impl_->quitting = true;
    bool allClosed = CloseAllWindows();
    impl_->quitting = false;
    if (!allClosed)
        return;
    impl_->closeRaised = true;
    // Close keeps what the run leaves behind (the settings): when it fails,
    // the run has failed, and the exit status says so.
    const bool closed = Dispatch([&] { Event_Close(); });
    RuntimeQuit(closed ? 0 : 1);
}

void Application::Event_Open() {}
void Application::Event_Close() {}
void Application::Event_EnableMenuItems() {}

void RuntimeRegisterAppObject(const Ref<Application>& app)
{
    AppState& s = State();
    if (s.app == app)
        return;
    // The handlers usually hold their object; a withdrawn object must be
    // free to go.
    if (s.app)
        s.app->impl().menuHandlers.clear();
    s.app = app;
    s.opened = false;
    detail::RefreshAllMenuBars();
}

Ref<Application> GetAppObject() { return State().app; }

void RuntimeOpenApplication()
{
    AppState& s = State();
    if (!s.app || s.opened)
        return;
    s.opened = true;
    Ref<Application> app = s.app;
    // Not through Dispatch: an application that could not open (its
    // settings unreadable, say) must not go on to show a window that
    // works on what Open did not make. Wherever it was raised, the run has
    // failed.
    try {
        app->Event_Open();
    } catch (...) {
        detail::RunFailed();
        throw;
    }
}

namespace detail {

Ref<fw::MenuBar> ApplicationMenuBar()
{
    const Ref<Application>& app = State().app;
    return app ? app->MenuBar() : nullptr;
}

void RaiseApplicationEnableMenuItems()
{
    if (Ref<Application> app = State().app)
        app->Event_EnableMenuItems();
}

MenuHandler ApplicationMenuHandler(const std::string& name)
{
    const Ref<Application>& app = State().app;
    if (!app)
        return {};
    const auto& handlers = app->impl().menuHandlers;
    auto it = handlers.find(name);
    return it == handlers.end() ? MenuHandler() : it->second;
}

void QuitApplication()
{
    if (Ref<Application> app = State().app) {
        app->Quit();
        return;
    }
    if (CloseAllWindows())
        RuntimeQuit(0);
}

void LastWindowClosed()
{
    Ref<Application> app = State().app;
    if (app && app->AutoQuit())
        app->Quit();
}

void ReleaseApplication() { RuntimeRegisterAppObject(nullptr); }

} // namespace detail

} // namespace fw
