#pragma once

#include <framework/Control.h>
#include <framework/Window.h>

#include <QPointer>
#include <QWidget>

#include <climits>
#include <string>

namespace fw {

// Every toolkit widget that stands for a control knows its control, until
// the control goes away first.
struct ControlLink {
    Control* control = nullptr;
};

struct Control::Impl {
    QPointer<QWidget> widget;
    std::string name;
    int32_t index = INT_MIN;
    WeakRef<fw::Window> window;
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool enabled = true;
};

// Keeps the control alive while one of its handlers runs, so a handler may
// close its window; nil for a control that was not made with New.
inline std::shared_ptr<Object> KeepAlive(Control* c) { return c ? c->weak_from_this().lock() : nullptr; }

} // namespace fw
