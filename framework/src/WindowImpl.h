#pragma once

#include <framework/Window.h>

#include <QMainWindow>
#include <QPointer>
#include <QWidget>

#include <string>
#include <utility>
#include <vector>

namespace fw {

class Control;

// The client area: exactly the window's size, parent of every control.
class ClientWidget : public QWidget {
public:
    explicit ClientWidget(Window* window);
    Window* window = nullptr;

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

// The toolkit's top-level window; hands close and key events to the Window.
class WindowWidget : public QMainWindow {
public:
    explicit WindowWidget(Window* window);
    Window* window = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

struct Window::Impl {
    QPointer<WindowWidget> widget;
    QPointer<ClientWidget> client;
    std::vector<std::pair<std::string, Ref<Control>>> controls;
    std::string title;
    bool visible = true;
    bool constructed = false;
    bool closed = false;
};

} // namespace fw
