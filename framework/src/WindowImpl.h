#pragma once

#include <framework/MenuHandler.h>
#include <framework/Window.h>

#include <QEventLoop>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fw {

class Control;
class MenuItem;

// The client area: exactly the window's size, parent of every control.
class ClientWidget : public QWidget {
public:
    explicit ClientWidget(Window* window);
    Window* window = nullptr;
    // The size the window asks for; the layout gives it this.
    QSize wanted;
    QSize sizeHint() const override { return wanted; }

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
};

// The toolkit's top-level window; hands close and key events to the Window.
class WindowWidget : public QMainWindow {
public:
    explicit WindowWidget(Window* window);
    Window* window = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;
};

struct Window::Impl {
    QPointer<WindowWidget> widget;
    QPointer<ClientWidget> client;
    std::vector<Ref<Control>> controls;
    std::string title;
    bool visible = true;
    bool constructed = false;
    bool closed = false;
    // Counted among the open windows (built, not closed).
    bool open = false;

    int32_t width = 300, height = 300;
    int32_t minWidth = 64, minHeight = 64, maxWidth = 32000, maxHeight = 32000;
    bool resizeable = true;
    int32_t frame = 0;
    int32_t placement = 0;
    bool placed = false;
    bool closeButton = true, minimizeButton = true, maximizeButton = true;
    bool hasBackColor = false;
    Color backColor { 0xFFFFFF };
    // The nested loop of ShowModal while it runs.
    QPointer<QEventLoop> modalLoop;

    Ref<fw::MenuBar> menuBar;
    bool menuBarVisible = true;
    // The tree the toolkit's menu bar shows now, and that menu bar.
    Ref<MenuItem> shownBar;
    QPointer<QMenuBar> menuWidget;
    std::map<std::string, MenuHandler> menuHandlers;
};

namespace detail {
// Closes the window as Close does; appQuitting tells CancelClose that the
// application is quitting. Answers False when the window stays open.
bool CloseWindow(Window& window, bool appQuitting);
// Makes the window's toolkit menu bar show what it should now: its own bar,
// else the application's, else none. `rebuild` builds it anew even when the
// same tree is shown (the tree's shape changed).
void RefreshMenuBar(Window& window, bool rebuild = false);
// Refreshes the menu bar of every open window.
void RefreshAllMenuBars();
// At the end of the run: the framework lets go of every open window (and
// of the handlers that hold them) while the toolkit still stands.
void ReleaseAllWindows();
// At the end of the run, after the event loop: hands pending toolkit work
// its turn, then deletes every toolkit object given to deferred deletion
// (deleteLater), which outside the event loop the toolkit does only when
// asked. Never from inside an event: it would delete that event's object.
void DeleteDeferred();
// The menu handler of that name registered by the window, or none.
MenuHandler WindowMenuHandler(const Window& window, const std::string& name);
} // namespace detail

} // namespace fw
