#pragma once

#include <framework/Object.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class Control;
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
    // right after New.
    void Constructor();

    int32_t Width() const;
    void Width(int32_t v);
    int32_t Height() const;
    void Height(int32_t v);
    std::string Title() const;
    void Title(const std::string& title);
    bool Visible() const;
    void Visible(bool v);

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
    virtual void AddMenuHandlers();

    // Event handlers.
    virtual void Event_Open();
    // Answer True to keep the window open.
    virtual bool Event_CancelClose(bool appQuitting);
    virtual void Event_Close();
    virtual bool Event_KeyDown(const std::string& key);
    virtual bool Event_MouseDown(int32_t x, int32_t y);

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace fw
