#pragma once

#include <framework/MenuHandler.h>
#include <framework/Object.h>

#include <memory>
#include <string>

namespace fw {

class MenuBar;
class ResourceFork;

// The program's application object: one per run, registered at start-up and
// reached from anywhere through GetAppObject. It holds the menu bar of
// windows that have none of their own and the application's menu handlers,
// quits the application, and receives the application events.
class Application : public Object {
public:
    Application();
    ~Application() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // The application's own resource file, read afresh on every call from
    // the bundle's Resources folder. An application whose file is missing
    // or damaged has an empty resource fork, never a nil one.
    Ref<fw::ResourceFork> ResourceFork() const;

    // The name of that file in the Resources folder.
    static const std::string& ResourceFileName();

    // The menu bar that windows without a bar of their own show.
    Ref<fw::MenuBar> MenuBar() const;
    void MenuBar(const Ref<fw::MenuBar>& bar);
    // True: the application quits when its last open window closes.
    bool AutoQuit() const;
    void AutoQuit(bool v);

    // Registers what choosing an item of that name runs when the front
    // window has no handler of the name, or its handler answers False; it
    // replaces an earlier handler of the name.
    void AddMenuHandler(const std::string& itemName, const MenuHandler& handler);

    // Closes every open window, front first (a window whose CancelClose
    // answers True stops the quitting), then raises Close, once per object,
    // and ends the event loop. An exception that leaves Close is reported and
    // makes the exit status 1: what Close keeps may not have been kept.
    void Quit();

    // Raised once per registration (RuntimeRegisterAppObject): before the
    // first window built after it, or before the event loop runs. An object
    // registered again is opened again.
    virtual void Event_Open();
    // Raised once per object, when the application quits.
    virtual void Event_Close();
    // Before a menu opens or a shortcut acts, whatever window is in front;
    // before the front window's own EnableMenuItems.
    virtual void Event_EnableMenuItems();

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// Makes the object the application object (nil withdraws it). A withdrawn
// object lets go of its menu handlers.
void RuntimeRegisterAppObject(const Ref<Application>& app);
// The registered application object, or nil before start-up registers one.
Ref<Application> GetAppObject();
// Raises the registered application's Open unless it has been raised since
// the object was registered. The framework does so itself before it builds the first window
// and before the event loop runs. Opening is part of start-up: an exception
// that Open raises leaves here, so the window's build or the loop's start
// fails with it. Wherever Open was raised, its failure fails the run:
// RuntimeExit answers 1, and an event loop that runs ends.
void RuntimeOpenApplication();

} // namespace fw
