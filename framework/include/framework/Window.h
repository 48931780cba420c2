#pragma once

#include <framework/Color.h>
#include <framework/MenuHandler.h>
#include <framework/Object.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fw {

class Control;
class MenuBar;
class Picture;

// A top-level window whose client area is exactly Width x Height, with the
// menu bar (when one shows) added above it. A window holds its controls
// under their names and finds them by name.
//
// Building: New<MyWindow>() and then Constructor(), which runs Layout (set
// the window's properties: SetProperties(Self(this), record)),
// CreateControls and AddMenuHandlers. The window counts among the open
// windows (WindowCount, GetImplicitWindow) once built, until it closes.
//
// How the properties show on the desktop:
//   Width, Height        the client area's size; MinWidth ... MaxHeight
//                        bound it while Resizeable. A window whose minimum
//                        and maximum are equal, or that is not Resizeable,
//                        has a fixed size that the user cannot change
//   Title                the title bar
//   Frame                0 a normal window, 2 a dialog (its own kind of
//                        window for the window manager)
//   CloseButton, MinimizeButton, MaximizeButton
//                        whether the window manager offers that button
//   Placement            where the window first shows: 0 where the window
//                        manager puts it, 1 centred over the front window
//                        (on the screen when there is none), 2 centred on
//                        the screen
//   HasBackColor, BackColor
//                        the client area is filled with BackColor; without
//                        HasBackColor, with the desktop's window colour
//   Visible              True shows the window once built
//   MenuBarVisible       False shows no menu bar
// Composite, FullScreen, LiveResize and MacProcID are accepted and kept
// (Object::KeptValue) and change nothing.
class Window : public Object {
public:
    Window();
    ~Window() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // Makes a new object, as fw::New does: in a window class New<Label>()
    // makes a control for AddControl.
    template <class T, class... Args>
    static Ref<T> New(Args&&... args)
    {
        return fw::New<T>(std::forward<Args>(args)...);
    }

    // Builds the window (Layout, CreateControls, AddMenuHandlers), makes it
    // one of the open windows, opens its controls and then the window, and
    // shows it when Visible. Call once, right after New. When building
    // raises, the exception passes on and the window is left closed, never
    // counted among the open ones; a window closed before it is built is
    // never built.
    void Constructor();

    // Sizes from 1 to 32767; other values raise OutOfBoundsException.
    int32_t Width() const;
    void Width(int32_t v);
    int32_t Height() const;
    void Height(int32_t v);
    int32_t MinWidth() const;
    void MinWidth(int32_t v);
    int32_t MinHeight() const;
    void MinHeight(int32_t v);
    int32_t MaxWidth() const;
    void MaxWidth(int32_t v);
    int32_t MaxHeight() const;
    void MaxHeight(int32_t v);
    bool Resizeable() const;
    void Resizeable(bool v);

    std::string Title() const;
    void Title(const std::string& title);
    bool Visible() const;
    void Visible(bool v);
    // 0 or 2; other values raise OutOfBoundsException.
    int32_t Frame() const;
    void Frame(int32_t v);
    // 0, 1 or 2; other values raise OutOfBoundsException.
    int32_t Placement() const;
    void Placement(int32_t v);
    bool CloseButton() const;
    void CloseButton(bool v);
    bool MinimizeButton() const;
    void MinimizeButton(bool v);
    bool MaximizeButton() const;
    void MaximizeButton(bool v);
    bool HasBackColor() const;
    void HasBackColor(bool v);
    Color BackColor() const;
    void BackColor(Color c);

    // The menu bar the window shows; when nil, the window shows the
    // application's menu bar. MenuBarVisible False shows none.
    Ref<fw::MenuBar> MenuBar() const;
    void MenuBar(const Ref<fw::MenuBar>& bar);
    bool MenuBarVisible() const;
    void MenuBarVisible(bool v);

    // Registers what choosing an item of that name runs while this window is
    // in front; it replaces an earlier handler of the name. The window keeps
    // its handlers until it closes.
    void AddMenuHandler(const std::string& itemName, const MenuHandler& handler);

    // Shows the window and brings it to the front.
    void Show();
    // Shows the window in front and application-modal: the other windows
    // take no input until it closes. Returns when the window has closed
    // (or the application quits); at once for a closed window.
    void ShowModal();
    // Closes the window unless its CancelClose answers True.
    void Close();
    // Redraws every pending part of the window now.
    void UpdateNow();
    // Asks for a repaint of the whole window.
    void Refresh();

    // Adds the control under a name (it becomes the control's Name); the
    // window keeps it.
    void AddControl(const std::string& name, const Ref<Control>& control);
    // The first control of that Name, or nil.
    Ref<Control> ControlByName(const std::string& name) const;
    int32_t ControlCount() const;

    // The client area as drawn now, as a 32-bit picture.
    Ref<Picture> Snapshot();

    // Building hooks that the Constructor runs, in this order.
    virtual void Layout();
    virtual void CreateControls();
    // `target` is this window.
    virtual void AddMenuHandlers(const Ref<Window>& target);

    // Event handlers.
    virtual void Event_Open();
    // Answer True to keep the window open.
    virtual bool Event_CancelClose(bool appQuitting);
    virtual void Event_Close();
    // A key pressed while the window is active and no control took it; key
    // is the text the key types ("" for keys that type none).
    virtual bool Event_KeyDown(const std::string& key);
    // A press in the client area, in client coordinates, also one on a
    // control that does not take presses (a Label, a Canvas whose MouseDown
    // answers False).
    virtual bool Event_MouseDown(int32_t x, int32_t y);
    // Before a menu opens or a shortcut acts while this window is in front:
    // check and enable the items this window looks after.
    virtual void Event_EnableMenuItems();

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// The open windows, front first: the window the user last brought forward
// or showed comes first.
int32_t WindowCount();
// The open window at position i (0 is the front one), or nil.
Ref<Window> WindowAt(int32_t i);
Ref<Window> FrontWindow();
// The open window of the class of that name (its class record's Name), the
// frontmost when there are several, or nil.
Ref<Window> GetImplicitWindow(const std::string& className);

} // namespace fw
