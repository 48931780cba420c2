#include "WindowImpl.h"
#include "ApplicationLink.h"
#include "ControlImpl.h"
#include "InRange.h"
#include "MenuItemImpl.h"
#include "MenuView.h"
#include "PictureImpl.h"
#include "WaitCursorImpl.h"

#include <framework/Application.h>
#include <framework/Control.h>
#include <framework/Dispatch.h>
#include <framework/MenuBar.h>
#include <framework/Runtime.h>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>

namespace fw {

namespace {
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

// The client area gets the window's size within its bounds; the toolkit
// window takes it with the menu bar above. Equal bounds fix the size, for
// the window manager too.
void ApplySize(Window::Impl& d)
{
    QSize size(d.width, d.height);
    QSize lo = d.resizeable ? QSize(d.minWidth, d.minHeight) : size;
    QSize hi = d.resizeable ? QSize(d.maxWidth, d.maxHeight).expandedTo(lo) : size;
    d.client->wanted = size.expandedTo(lo).boundedTo(hi);
    d.client->setMinimumSize(lo);
    d.client->setMaximumSize(hi);
    d.client->updateGeometry();
    QLayout* layout = d.widget->layout();
    layout->invalidate();
    // The menu bar's part of the window.
    QSize bar = layout->totalSizeHint() - d.client->wanted;
    d.widget->setMinimumSize(lo + bar);
    d.widget->setMaximumSize((hi + bar).boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
    d.widget->resize(d.client->wanted + bar);
    layout->activate();
}

// The kind of window and the buttons the window manager offers.
void ApplyFlags(Window::Impl& d)
{
    Qt::WindowFlags f = (d.frame == 2 ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (d.closeButton)
        f |= Qt::WindowCloseButtonHint;
    if (d.minimizeButton)
        f |= Qt::WindowMinimizeButtonHint;
    if (d.maximizeButton)
        f |= Qt::WindowMaximizeButtonHint;
    if (d.closeButton || d.minimizeButton || d.maximizeButton)
        f |= Qt::WindowSystemMenuHint;
    if (d.widget->windowFlags() == f)
        return;
    bool shown = d.widget->isVisible();
    d.widget->setWindowFlags(f); // hides the window
    if (shown)
        d.widget->show();
}

void ApplyBackground(Window::Impl& d)
{
    QColor color = QApplication::palette().color(QPalette::Window);
    if (d.hasBackColor)
        color = QColor(d.backColor.Red(), d.backColor.Green(), d.backColor.Blue());
    QPalette pal = d.client->palette();
    pal.setColor(QPalette::Window, color);
    d.client->setPalette(pal);
}

// Where the window first shows (Placement).
void PlaceOnScreen(Window& window)
{
    Window::Impl& d = window.impl();
    if (d.placement == 0)
        return;
    QWidget* over = nullptr;
    if (d.placement == 1)
        for (const Ref<Window>& w : OpenWindows())
            if (w.Get() != &window && w->impl().widget && w->impl().widget->isVisible()) {
                over = w->impl().widget;
                break;
            }
    QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect area = screen->availableGeometry();
    QRect target = over ? over->frameGeometry() : area;
    QSize size = d.widget->frameGeometry().size();
    QPoint at = target.center() - QPoint(size.width() / 2, size.height() / 2);
    // The title bar stays on the screen.
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    d.widget->move(at);
}

// Closes a window that is not open (never built, or its build failed)
// without asking it: hidden, and no handler holds it.
void AbandonWindow(Window::Impl& d)
{
    d.closed = true;
    d.widget->hide();
    d.menuHandlers.clear();
}

bool IsModifier(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta
        || key == Qt::Key_AltGr || key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_Super_L
        || key == Qt::Key_Super_R;
}
} // namespace

ClientWidget::ClientWidget(Window* w)
    : window(w)
{
    setAutoFillBackground(true);
}

void ClientWidget::mousePressEvent(QMouseEvent* e)
{
    if (!window || window->impl().closed)
        return;
    auto keep = window->weak_from_this().lock();
    QPoint p = e->position().toPoint();
    Dispatch([&] { window->Event_MouseDown(p.x(), p.y()); });
}

void ClientWidget::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    // The user resized the window.
    if (window && isVisible() && size() != wanted) {
        wanted = size();
        window->impl().width = width();
        window->impl().height = height();
    }
}

WindowWidget::WindowWidget(Window* w)
    : window(w)
{
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
    if (!window || window->impl().closed || IsModifier(e->key()))
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
    impl_->widget->setCentralWidget(impl_->client);
    ApplySize(*impl_);
    ApplyFlags(*impl_);
    ApplyBackground(*impl_);
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
        { Property<Window>("Placement", &Window::Placement), Property<Window>("Width", &Window::Width),
            Property<Window>("Height", &Window::Height), Property<Window>("MinWidth", &Window::MinWidth),
            Property<Window>("MinHeight", &Window::MinHeight), Property<Window>("MaxWidth", &Window::MaxWidth),
            Property<Window>("MaxHeight", &Window::MaxHeight), Property<Window>("Frame", &Window::Frame),
            Kept("Composite", PropertyType::Boolean), Property<Window>("HasBackColor", &Window::HasBackColor),
            Property<Window>("BackColor", &Window::BackColor), Property<Window>("Title", &Window::Title),
            Property<Window>("Visible", &Window::Visible), Kept("FullScreen", PropertyType::Boolean),
            Property<Window>("MenuBarVisible", &Window::MenuBarVisible),
            Property<Window>("CloseButton", &Window::CloseButton),
            Property<Window>("Resizeable", &Window::Resizeable), Kept("LiveResize", PropertyType::Boolean),
            Property<Window>("MaximizeButton", &Window::MaximizeButton),
            Property<Window>("MinimizeButton", &Window::MinimizeButton), Kept("MacProcID", PropertyType::Int32),
            Property<Window>("MenuBar", &Window::MenuBar) },
        { Method("Show", &Window::Show), Method("ShowModal", &Window::ShowModal), Method("Close", &Window::Close),
            Method("UpdateNow", &Window::UpdateNow), Method("Refresh", &Window::Refresh),
            Method("AddMenuHandler", &Window::AddMenuHandler, Scope::Hidden) },
        { "Open", "Close", "CancelClose", "KeyDown", "MouseDown", "EnableMenuItems", "Layout", "CreateControls",
            "AddMenuHandlers" } };
    return record;
}

const ClassRecord& Window::ClassInfo() const { return Record(); }

void Window::Constructor()
{
    Impl& d = *impl_;
    if (d.constructed || d.closed)
        return;
    d.constructed = true;
    Ref<Window> self = Self(this);
    try {
        // The application has opened before any window builds; should it
        // fail to open, no window is built.
        RuntimeOpenApplication();
        Layout();
        CreateControls();
        AddMenuHandlers(self);
    } catch (...) {
        // Nothing of a failed build stays: not counted, not shown, no
        // handler holding the window.
        AbandonWindow(d);
        d.controls.clear();
        throw;
    }
    if (d.closed)
        return;
    d.open = true;
    OpenWindows().push_back(self);
    detail::RefreshMenuBar(*this);
    std::vector<Ref<Control>> controls = d.controls;
    for (const Ref<Control>& c : controls)
        Dispatch([&] { c->Event_Open(); });
    Dispatch([&] { Event_Open(); });
    if (d.visible && !d.closed)
        Show();
}

namespace {
void SetBound(Window::Impl& d, int32_t& field, const char* name, int32_t v)
{
    field = detail::InRange(name, v, 1, 32767);
    ApplySize(d);
}
void SetButton(Window::Impl& d, bool& field, bool v)
{
    field = v;
    ApplyFlags(d);
}
} // namespace

int32_t Window::Width() const { return impl_->client->wanted.width(); }
void Window::Width(int32_t v) { SetBound(*impl_, impl_->width, "Width", v); }
int32_t Window::Height() const { return impl_->client->wanted.height(); }
void Window::Height(int32_t v) { SetBound(*impl_, impl_->height, "Height", v); }
int32_t Window::MinWidth() const { return impl_->minWidth; }
void Window::MinWidth(int32_t v) { SetBound(*impl_, impl_->minWidth, "MinWidth", v); }
int32_t Window::MinHeight() const { return impl_->minHeight; }
void Window::MinHeight(int32_t v) { SetBound(*impl_, impl_->minHeight, "MinHeight", v); }
int32_t Window::MaxWidth() const { return impl_->maxWidth; }
void Window::MaxWidth(int32_t v) { SetBound(*impl_, impl_->maxWidth, "MaxWidth", v); }
int32_t Window::MaxHeight() const { return impl_->maxHeight; }
void Window::MaxHeight(int32_t v) { SetBound(*impl_, impl_->maxHeight, "MaxHeight", v); }
bool Window::Resizeable() const { return impl_->resizeable; }
void Window::Resizeable(bool v)
{
    impl_->resizeable = v;
    ApplySize(*impl_);
}

int32_t Window::Frame() const { return impl_->frame; }
void Window::Frame(int32_t v)
{
    if (v != 0 && v != 2)
        throw OutOfBoundsException("Frame " + std::to_string(v) + ": a window is of Frame 0 or 2");
    impl_->frame = v;
    ApplyFlags(*impl_);
}
int32_t Window::Placement() const { return impl_->placement; }
void Window::Placement(int32_t v) { impl_->placement = detail::InRange("Placement", v, 0, 2); }
bool Window::CloseButton() const { return impl_->closeButton; }
void Window::CloseButton(bool v) { SetButton(*impl_, impl_->closeButton, v); }
bool Window::MinimizeButton() const { return impl_->minimizeButton; }
void Window::MinimizeButton(bool v) { SetButton(*impl_, impl_->minimizeButton, v); }
bool Window::MaximizeButton() const { return impl_->maximizeButton; }
void Window::MaximizeButton(bool v) { SetButton(*impl_, impl_->maximizeButton, v); }
bool Window::HasBackColor() const { return impl_->hasBackColor; }
void Window::HasBackColor(bool v)
{
    impl_->hasBackColor = v;
    ApplyBackground(*impl_);
}
Color Window::BackColor() const { return impl_->backColor; }
void Window::BackColor(Color c)
{
    impl_->backColor = c;
    ApplyBackground(*impl_);
}

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
    // While the window is being built (its record sets Visible in Layout)
    // it shows only once its controls stand, at the end of Constructor.
    if (!impl_->open || impl_->closed)
        return;
    if (v)
        Show();
    else
        impl_->widget->hide();
}

void Window::Show()
{
    Impl& d = *impl_;
    if (d.closed)
        return;
    d.visible = true;
    if (!d.placed) {
        d.placed = true;
        PlaceOnScreen(*this);
    }
    BringToFront(this);
    d.widget->show();
    d.widget->raise();
    d.widget->activateWindow();
}

void Window::ShowModal()
{
    Impl& d = *impl_;
    if (d.closed)
        return;
    Ref<Window> keep = Self(this);
    if (d.widget->windowModality() != Qt::ApplicationModal) {
        // The toolkit takes a new modality only when the window shows anew.
        d.widget->hide();
        d.widget->setWindowModality(Qt::ApplicationModal);
    }
    QEventLoop loop;
    QPointer<QEventLoop> outer = d.modalLoop;
    d.modalLoop = &loop;
    Show();
    if (!d.closed) {
        detail::WaitingForInput idle;
        loop.exec();
    }
    d.modalLoop = outer;
    if (d.closed && outer)
        outer->quit();
}

void Window::Close() { detail::CloseWindow(*this, false); }

bool detail::CloseWindow(Window& window, bool appQuitting)
{
    Window::Impl& d = window.impl();
    if (!d.open) {
        // Never built, or closed already: nothing to ask or tell.
        AbandonWindow(d);
        return true;
    }
    Ref<Window> self(std::static_pointer_cast<Window>(window.shared_from_this()));
    bool cancel = false;
    Dispatch([&] { cancel = window.Event_CancelClose(appQuitting); });
    if (cancel || d.closed)
        return !cancel;
    d.closed = true;
    d.open = false;
    Dispatch([&] { window.Event_Close(); });
    d.widget->hide();
    if (d.modalLoop)
        d.modalLoop->quit();
    // The handlers hold the window; letting them go lets the window go.
    d.menuHandlers.clear();
    auto& open = OpenWindows();
    open.erase(std::remove(open.begin(), open.end(), self), open.end());
    if (open.empty() && !appQuitting)
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
        // Shown now, so that the window's size counts it even before the
        // window first shows.
        d.menuWidget->show();
    } else {
        d.widget->setMenuWidget(nullptr);
    }
    ApplySize(d); // the bar is added above the client area
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
    detail::DeleteDeferred(); // the widgets of the windows let go
}

void detail::DeleteDeferred()
{
    if (!RuntimeIsInitialized())
        return;
    ProcessPendingEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

Ref<Window> GetImplicitWindow(const std::string& className)
{
    for (const Ref<Window>& w : OpenWindows())
        if (w->ClassInfo().Name == className)
            return w;
    return nullptr;
}

void Window::UpdateNow() { impl_->widget->repaint(); }
void Window::Refresh() { impl_->widget->update(); }

void Window::AddControl(const std::string& name, const Ref<Control>& control)
{
    Control::Impl& c = control->impl();
    c.name = name;
    c.window = WeakRef<Window>(Self(this));
    impl_->controls.push_back(control);
    if (c.widget && !c.widget->parentWidget())
        c.widget->setParent(impl_->client);
    detail::ParentControl(*control);
}

Ref<Control> Window::ControlByName(const std::string& name) const
{
    for (const Ref<Control>& c : impl_->controls)
        if (c->impl().name == name)
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
