#pragma once

#include <framework/MenuBar.h>
#include <framework/MenuHandler.h>

#include <string>

namespace fw::detail {

// What windows, menus and the runtime ask of the registered application
// object. Without one: no menu bar, no handlers, and quitting closes the
// windows and ends the loop.

// The application's menu bar, shown by windows that have none of their own.
Ref<MenuBar> ApplicationMenuBar();
// Raises the application's EnableMenuItems.
void RaiseApplicationEnableMenuItems();
// The application's menu handler of that item name, or none.
MenuHandler ApplicationMenuHandler(const std::string& name);
// Quits: the open windows close (they may refuse), then the application's
// Close runs and the event loop ends.
void QuitApplication();
// The last open window has just closed: with AutoQuit, the application quits.
void LastWindowClosed();
// At the end of the run: the application object is withdrawn and let go.
void ReleaseApplication();

} // namespace fw::detail
