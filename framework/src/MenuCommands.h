#pragma once

#include <framework/MenuItem.h>
#include <framework/Window.h>

#include <QKeySequence>

namespace fw::detail {

// The menu update, run before a menu of `front`'s menu bar opens and before
// one of its shortcuts acts: items with AutoEnable start enabled, the others
// disabled; the application's EnableMenuItems runs, then the window's; then
// every item whose name has a handler of the window is enabled.
void UpdateMenus(Window& front);

// The user chose `item` in `front`'s menu bar. A disabled item does nothing;
// otherwise the window's handler of its name, else the application's, else
// the item's own action.
void ChooseMenuItem(Window& front, const Ref<MenuItem>& item);

// A key sequence that some item of `front`'s menu bar carries was pressed:
// the update runs, then the first enabled command with that shortcut is
// chosen. Nothing happens when none is enabled.
void ChooseByShortcut(Window& front, const QKeySequence& keys);

} // namespace fw::detail
