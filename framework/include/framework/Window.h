#pragma once

#include <framework/MenuHandler.h>
#include <framework/Object.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class Control;
class MenuBar;
class Picture;

// A top-level window whose client area is exactly Width x Height. A window
// holds its controls under their names and finds them by name.
class Window : public Object {
public:
    Window();
    ~Window() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // Builds the window (Layout, CreateControls, AddMenuHandlers), opens its
    // controls and then the window, and shows it when Visible. Call once,
    // right after New. The window stays among the open windows until it
    // closes.
    void Constructor();

    int32_t Width() const;
    void Width(int32_t v);
    int32_t Height() const;
    void Height(int32_t v);
    std::string Title() const;
    void Title(const std::string& title);
    bool Visible() const;
    void Visible(bool v);

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

    void Show();
    // Closes the window unless its CancelClose answers True.
    void Close();
    // Redraws every pending part of the window now.
    void UpdateNow();
    // Asks for a repaint of the whole window.
    void Refresh();

    // Adds the control under a name; the window keeps it.
    void AddControl(const std::string& name, const Ref<Control>& control);
    // The control of that name, or nil.
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
    virtual bool Event_KeyDown(const std::string& key);
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

} // namespace fw
