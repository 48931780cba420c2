#pragma once

#include <framework/Window.h>

#include <cstdint>
#include <string>

namespace fw {
class Canvas;
class Label;
} // namespace fw
class TargetSystemDisplay;

// The small modal window that shows the game's icon, its name and version,
// a one-line notice and the badge. It has no close box: any key or press in
// it closes it. The icon shows TamberlynPict while the pointer is over it.
// It keeps no state; its controls are found by name.
class AboutWindow : public fw::Window {
public:
    static const fw::ClassRecord& Record();
    const fw::ClassRecord& ClassInfo() const override;

    // The open About window, else a new one, built from its records.
    static fw::Ref<AboutWindow> Instance();

    // The property record that the window applies to itself ("") or to its
    // control of that name.
    static const std::string& PropertyRecordOf(const std::string& name);

    void Layout() override;
    void CreateControls() override;
    // Makes the four controls, each from its record.
    virtual void CreateControls0();

    virtual fw::Ref<fw::Label> AppName();
    virtual fw::Ref<fw::Label> AppCopy();
    virtual fw::Ref<fw::Canvas> AppIcon();
    virtual fw::Ref<TargetSystemDisplay> TheTargetSystemDisplay();

    // The icon: IconPict, and TamberlynPict while the pointer is over it.
    virtual void AppIcon_MouseExit(const fw::Ref<fw::Canvas>& sender);
    virtual void AppIcon_MouseEnter(const fw::Ref<fw::Canvas>& sender);

    // Any key and any press close the window; both answer False.
    bool Event_KeyDown(const std::string& key) override;
    bool Event_MouseDown(int32_t x, int32_t y) override;
};
