#include "WindowImpl.h"
#include "ApplicationLink.h"
#include "ControlImpl.h"
#include "MenuItemImpl.h"
#include "MenuView.h"
#include "PictureImpl.h"

#include <framework/Application.h>
#include <framework/Control.h>
#include <framework/Dispatch.h>
#include <framework/MenuBar.h>
#include <framework/Runtime.h>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>

#include <algorithm>

namespace fw {

namespace {
constexpr int kDefaultWidth = 300;
constexpr int kDefaultHeight = 300;

// The framework keeps every open window until it closes; front first.
std::vector<Ref<Window>>& OpenWindows()
{
    static std::vector<Ref<Window>> windows;
    return windows;
}

void BringToFront(Window* window)
{
    auto& open = OpenWindows();
    auto it = std::find_if(open.begin(), open.end(), [&](const Ref<Window>& w) { return w.Get() == window; });
    if (it != open.end())
        std::rotate(open.begin(), it, it + 1);
}
} // namespace

ClientWidget::ClientWidget(Window* w)
    : window(w)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void ClientWidget::mousePressEvent(QMouseEvent* e)
{
    if (!window)
        return;
    auto keep = window->weak_from_this().lock();
    QPoint p = e->position().toPoint();
    Dispatch([&] { window->Event_MouseDown(p.x(), p.y()); });
}

WindowWidget::WindowWidget(Window* w)
    : window(w)
{
    // The window takes exactly the size of its client area (plus a menu bar).
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void WindowWidget::closeEvent(QCloseEvent* e)
{
    // The Window decides; it hides this widget itself when it closes.
    e->ignore();
    if (!window)
        return;
    auto keep = window->weak_from_this().lock();
    Dispatch([&] { window->Close(); });
}

void WindowWidget::keyPressEvent(QKeyEvent* e)
{
    if (!window)
        return;
    auto keep = window->weak_from_this().lock();
    std::string key = e->text().toStdString();
    Dispatch([&] { window->Event_KeyDown(key); });
}

void WindowWidget::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && window)
        BringToFront(window);
}

Window::Window()
    : impl_(std::make_unique<Impl>())
{
    impl_->widget = new WindowWidget(this);
    impl_->client = new ClientWidget(this);
    impl_->client->setFixedSize(kDefaultWidth, kDefaultHeight);
    impl_->widget->setCentralWidget(impl_->client);
}

Window::~Window()
{
    // Controls go first: their widgets are children of the client area.
    impl_->controls.clear();
    if (impl_->client)
        impl_->client->window = nullptr;
    if (WindowWidget* w = impl_->widget.data()) {
        w->window = nullptr;
        w->hide();
        w->deleteLater(); // we may be inside one of its own events
    }
}

const ClassRecord& Window::Record()
{
    static const ClassRecord record { "Window", &Object::Record(),
        { Property<Window>("Width", &Window::Width), Property<Window>("Height", &Window::Height),
            Property<Window>("Title", &Window::Title), Property<Window>("Visible", &Window::Visible),
            Property<Window>("MenuBar", &Window::MenuBar),
            Property<Window>("MenuBarVisible", &Window::MenuBarVisible) },
        { Method("Show", &Window::Show), Method("Close", &Window::Close), Method("UpdateNow", &Window::UpdateNow),
            Method("Refresh", &Window::Refresh),
            Method("AddMenuHandler", &Window::AddMenuHandler, Scope::Hidden) },
        { "Open", "Close", "CancelClose", "KeyDown", "MouseDown", "EnableMenuItems", "Layout", "CreateControls",
            "AddMenuHandlers" } };
    return record;
}

const ClassRecord& Window::ClassInfo() const { return Record(); }

void Window::Constructor()
{
    if (impl_->constructed)
        return;
    impl_->constructed = true;
    // The application has opened before any window builds.
    RuntimeOpenApplication();
    Ref<Window> self = Self(this);
    OpenWindows().push_back(self);
    Layout();
    CreateControls();
    AddMenuHandlers(self);
    detail::RefreshMenuBar(*this);
    for (auto& [name, control] : impl_->controls) {
        Ref<Control> c = control;
        Dispatch([&] { c->Event_Open(); });
    }
    Dispatch([&] { Event_Open(); });
    if (impl_->visible && !impl_->closed)
        Show();
}

int32_t Window::Width() const { return impl_->client->width(); }
void Window::Width(int32_t v) { impl_->client->setFixedWidth(std::max(v, 1)); }
int32_t Window::Height() const { return impl_->client->height(); }
void Window::Height(int32_t v) { impl_->client->setFixedHeight(std::max(v, 1)); }

std::string Window::Title() const { return impl_->title; }
void Window::Title(const std::string& title)
{
    impl_->title = title;
    impl_->widget->setWindowTitle(QString::fromStdString(title));
}

bool Window::Visible() const { return impl_->visible; }
void Window::Visible(bool v)
{
    impl_->visible = v;
    if (!impl_->constructed || impl_->closed)
        return;
    if (v)
        Show();
    else
        impl_->widget->hide();
}

void Window::Show()
{
    if (impl_->closed)
        return;
    impl_->visible = true;
    BringToFront(this);
    impl_->widget->show();
    impl_->widget->raise();
    impl_->widget->activateWindow();
}

void Window::Close() { detail::CloseWindow(*this, false); }

bool detail::CloseWindow(Window& window, bool appQuitting)
{
    Window::Impl& d = window.impl();
    if (d.closed)
        return true;
    Ref<Window> self(std::static_pointer_cast<Window>(window.shared_from_this()));
    bool cancel = false;
    Dispatch([&] { cancel = window.Event_CancelClose(appQuitting); });
    if (cancel)
        return false;
    d.closed = true;
    Dispatch([&] { window.Event_Close(); });
    d.widget->hide();
    // The handlers hold the window; letting them go lets the window go.
    d.menuHandlers.clear();
    auto& open = OpenWindows();
    bool wasOpen = std::find(open.begin(), open.end(), self) != open.end();
    open.erase(std::remove(open.begin(), open.end(), self), open.end());
    if (wasOpen && open.empty() && !appQuitting)
        detail::LastWindowClosed();
    return true;
}

Ref<fw::MenuBar> Window::MenuBar() const { return impl_->menuBar; }

void Window::MenuBar(const Ref<fw::MenuBar>& bar)
{
    impl_->menuBar = bar;
    detail::RefreshMenuBar(*this);
}

bool Window::MenuBarVisible() const { return impl_->menuBarVisible; }

void Window::MenuBarVisible(bool v)
{
    impl_->menuBarVisible = v;
    detail::RefreshMenuBar(*this);
}

void Window::AddMenuHandler(const std::string& itemName, const MenuHandler& handler)
{
    if (impl_->closed)
        return;
    impl_->menuHandlers[itemName] = handler;
}

MenuHandler detail::WindowMenuHandler(const Window& window, const std::string& name)
{
    const auto& handlers = window.impl().menuHandlers;
    auto it = handlers.find(name);
    return it == handlers.end() ? MenuHandler() : it->second;
}

void detail::RefreshMenuBar(Window& window, bool rebuild)
{
    Window::Impl& d = window.impl();
    if (!d.widget)
        return;
    Ref<MenuItem> want;
    if (d.menuBarVisible && !d.closed)
        want = d.menuBar ? Ref<MenuItem>(d.menuBar) : Ref<MenuItem>(ApplicationMenuBar());
    if (!rebuild && want == d.shownBar && (!want || d.menuWidget))
        return;
    if (QMenuBar* old = d.menuWidget.data()) {
        if (d.shownBar) {
            auto& views = d.shownBar->impl().bars;
            views.erase(std::remove(views.begin(), views.end(), d.menuWidget), views.end());
        }
        old->hide();
        old->deleteLater();
    }
    d.menuWidget = nullptr;
    d.shownBar = want;
    if (want) {
        d.menuWidget = BuildMenuBar(*want, window, d.widget);
        d.widget->setMenuWidget(d.menuWidget);
    } else {
        d.widget->setMenuWidget(nullptr);
    }
}

void detail::RefreshAllMenuBars()
{
    std::vector<Ref<Window>> open = OpenWindows();
    for (auto& w : open)
        RefreshMenuBar(*w);
}

void detail::ReleaseAllWindows()
{
    std::vector<Ref<Window>> open;
    open.swap(OpenWindows());
    for (auto& w : open)
        w->impl().menuHandlers.clear();
    open.clear();
    ProcessPendingEvents(); // the widgets' deferred deletion
}

int32_t WindowCount() { return static_cast<int32_t>(OpenWindows().size()); }

Ref<Window> WindowAt(int32_t i)
{
    const auto& open = OpenWindows();
    if (i < 0 || i >= static_cast<int32_t>(open.size()))
        return nullptr;
    return open[static_cast<size_t>(i)];
}

Ref<Window> FrontWindow() { return WindowAt(0); }

void Window::UpdateNow() { impl_->widget->repaint(); }
void Window::Refresh() { impl_->widget->update(); }

void Window::AddControl(const std::string& name, const Ref<Control>& control)
{
    Control::Impl& c = control->impl();
    c.name = name;
    c.window = WeakRef<Window>(Self(this));
    if (c.widget) {
        c.widget->setParent(impl_->client);
        c.widget->setGeometry(c.left, c.top, c.width, c.height);
        c.widget->setVisible(c.visible);
    }
    impl_->controls.emplace_back(name, control);
}

Ref<Control> Window::ControlByName(const std::string& name) const
{
    for (const auto& [n, c] : impl_->controls)
        if (n == name)
            return c;
    return nullptr;
}

int32_t Window::ControlCount() const { return static_cast<int32_t>(impl_->controls.size()); }

Ref<Picture> Window::Snapshot()
{
    QImage image = impl_->client->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return MakePicture(std::move(image));
}

void Window::Layout() {}
void Window::CreateControls() {}
void Window::AddMenuHandlers(const Ref<Window>&) {}
void Window::Event_Open() {}
bool Window::Event_CancelClose(bool) { return false; }
void Window::Event_Close() {}
bool Window::Event_KeyDown(const std::string&) { return false; }
bool Window::Event_MouseDown(int32_t, int32_t) { return false; }
void Window::Event_EnableMenuItems() {}

} // namespace fw
