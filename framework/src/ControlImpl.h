#pragma once

#include <framework/Color.h>
#include <framework/Control.h>
#include <framework/Window.h>

#include <QFont>
#include <QPalette>
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

    int32_t tabIndex = 0;
    bool tabStop = true;
    // Whether the control takes the keyboard focus at all.
    bool acceptFocus = false;
    std::string initialParent;
    int32_t tabPanelIndex = 0;
    std::string helpTag;

    // The text style, and the widget it is set on (none for controls
    // without text).
    QPointer<QWidget> fontTarget;
    std::string textFont = "System";
    float textSize = 0;
    int32_t textUnit = 0;
    bool bold = false, italic = false, underline = false;
};

// Keeps the control alive while one of its handlers runs, so a handler may
// close its window; nil for a control that was not made with New.
inline std::shared_ptr<Object> KeepAlive(Control* c) { return c ? c->weak_from_this().lock() : nullptr; }

namespace detail {
// A new control's parts: its widget, hidden until the control is added to a
// window; `styled` sends the text style to the widget; `acceptFocus` lets
// it take the focus.
std::unique_ptr<Control::Impl> MakeImpl(QWidget* widget, bool styled, bool acceptFocus);
// The control of a toolkit widget, or null.
Control* ControlOf(QWidget* widget);
// Puts the control's widget inside the window's client area, or inside its
// InitialParent (on the page TabPanelIndex of a tab panel), and places it.
void ParentControl(Control& control);
// Sets the widget's geometry from Left, Top, Width and Height (window
// coordinates), and places again every control that lies inside it.
void PlaceControl(Control::Impl& c);
// Every control inside `widget` placed again (its position in the window
// has changed).
void PlaceControlsIn(QWidget* widget);
// Focus policy from AcceptFocus and TabStop, and the window's Tab order
// from the TabIndex of its controls.
void UpdateFocus(Control& control);
// The font of the text style, from the desktop's default font.
QFont StyleFont(const Control::Impl& c);
// Text as the toolkit shows it: CR, CR LF and LF each break the line.
QString DisplayText(const std::string& text);
// Sets one colour of the widget's palette.
void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, Color color);
} // namespace detail

} // namespace fw
