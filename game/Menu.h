#pragma once

#include <framework/MenuBar.h>

// The application's one menu bar: File, Edit, Game and help, built in code
// when it is constructed. The application and the main window share it.
class Menu : public fw::MenuBar {
public:
    static const fw::ClassRecord& Record();
    const fw::ClassRecord& ClassInfo() const override;

    // The one instance, built on the first request and kept.
    static fw::Ref<Menu> Instance();
    // Lets the kept instance go, at exit; a later request builds a new one.
    static void ReleaseInstance();

    // Builds the four menus, in bar order.
    virtual void Constructor();
    // File menu.
    virtual void Untitled1();
    // Edit menu.
    virtual void Untitled2();
    // Game menu with its background and sound submenus.
    virtual void Untitled3();
    // help menu.
    virtual void Untitled4();
};
