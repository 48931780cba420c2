#include "MenuCommands.h"
#include "ApplicationLink.h"
#include "MenuItemImpl.h"
#include "MenuView.h"
#include "WindowImpl.h"

#include <framework/Dispatch.h>

#include <functional>
#include <memory>

namespace fw::detail {

namespace {

void ForEachBelow(MenuItem& node, const std::function<void(MenuItem&)>& visit)
{
    // A copy: a handler may change the tree while we walk it.
    std::vector<Ref<MenuItem>> children = node.impl().children;
    for (const Ref<MenuItem>& child : children) {
        visit(*child);
        ForEachBelow(*child, visit);
    }
}

Ref<MenuItem> FindEnabledCommand(MenuItem& node, const QKeySequence& keys)
{
    for (const Ref<MenuItem>& child : node.impl().children) {
        if (!child->impl().enabled)
            continue; // a disabled menu disables everything in it
        if (!child->impl().children.empty()) {
            if (Ref<MenuItem> found = FindEnabledCommand(*child, keys))
                return found;
        } else if (child->impl().text != "-" && ToKeySequence(child->impl().shortcut) == keys) {
            return child;
        }
    }
    return nullptr;
}

} // namespace

void UpdateMenus(Window& front)
{
    Ref<Window> keep(std::static_pointer_cast<Window>(front.shared_from_this()));
    Ref<MenuItem> bar = front.impl().shownBar;
    if (!bar)
        return;
    ForEachBelow(*bar, [](MenuItem& item) { item.Enabled(item.AutoEnable()); });
    Dispatch([] { RaiseApplicationEnableMenuItems(); });
    Dispatch([&] { front.Event_EnableMenuItems(); });
    ForEachBelow(*bar, [&](MenuItem& item) {
        if (WindowMenuHandler(front, item.Name()))
            item.Enable();
    });
}

void ChooseMenuItem(Window& front, const Ref<MenuItem>& item)
{
    Ref<Window> keep(std::static_pointer_cast<Window>(front.shared_from_this()));
    if (!item || !item->Enabled())
        return;
    // Copies: a handler may close its window, which lets its handlers go.
    MenuHandler own = WindowMenuHandler(front, item->Name());
    if (own && own.Invoke(*item))
        return;
    MenuHandler app = ApplicationMenuHandler(item->Name());
    if (app && app.Invoke(*item))
        return;
    item->Action();
}

void ChooseByShortcut(Window& front, const QKeySequence& keys)
{
    Ref<Window> keep(std::static_pointer_cast<Window>(front.shared_from_this()));
    UpdateMenus(front);
    Ref<MenuItem> bar = front.impl().shownBar;
    if (!bar)
        return;
    if (Ref<MenuItem> item = FindEnabledCommand(*bar, keys))
        ChooseMenuItem(front, item);
}

} // namespace fw::detail
