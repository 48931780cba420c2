#include "ApplicationLink.h"
#include "WindowImpl.h"

#include <framework/Runtime.h>

namespace fw::detail {

Ref<MenuBar> ApplicationMenuBar() { return nullptr; }

void RaiseApplicationEnableMenuItems() {}

MenuHandler ApplicationMenuHandler(const std::string&) { return {}; }

void QuitApplication()
{
    while (Ref<Window> w = FrontWindow())
        if (!CloseWindow(*w, true))
            return;
    RuntimeQuit(0);
}

void LastWindowClosed() {}

} // namespace fw::detail
