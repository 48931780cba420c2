#pragma once

#include <framework/Window.h>

#include <string>

namespace fw {
class MenuItem;
class TabPanel;
class TextArea;
} // namespace fw

// The modeless window of six tabs of read-only text about the game. It is
// the one window that answers the File menu's close item: while it is in
// front, "閉じる" is enabled and closes it. It keeps no state of its own; a
// new one starts on the first tab.
class HelpWindow : public fw::Window {
public:
    static const fw::ClassRecord& Record();
    const fw::ClassRecord& ClassInfo() const override;

    // The open Help window, else a new one, built from its records.
    static fw::Ref<HelpWindow> Instance();

    // The property record that the window applies to itself ("") or to its
    // control of that name.
    static const std::string& PropertyRecordOf(const std::string& name);

    void Layout() override;
    void CreateControls() override;
    // Makes the tab panel and then the six text areas, each from its record.
    virtual void CreateControls0();

    virtual fw::Ref<fw::TabPanel> TabPanel1();
    virtual fw::Ref<fw::TextArea> EditField1();
    virtual fw::Ref<fw::TextArea> EditField2();
    virtual fw::Ref<fw::TextArea> EditField3();
    virtual fw::Ref<fw::TextArea> EditField4();
    virtual fw::Ref<fw::TextArea> EditField5();
    virtual fw::Ref<fw::TextArea> EditField6();

    // Registers FileClose_Action for "FileClose", holding the window.
    void AddMenuHandlers(const fw::Ref<fw::Window>& target) override;
    // Enables "閉じる".
    void Event_EnableMenuItems() override;
    // Closes the window. Answers False.
    virtual bool FileClose_Action();
};

// The File menu's close item on the application's menu bar, or nil; looked
// up afresh on every call.
fw::Ref<fw::MenuItem> FileClose();
