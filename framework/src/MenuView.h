#pragma once

#include <framework/MenuItem.h>
#include <framework/Window.h>

#include <QKeySequence>
#include <QMenuBar>
#include <QWidget>

#include <string>

namespace fw::detail {

// A new toolkit menu bar, child of `parent`, that shows the tree below
// `bar` for `window`: a menu per title, submenus, separators, check marks
// and shortcuts, and the window's key bindings for those shortcuts.
QMenuBar* BuildMenuBar(MenuItem& bar, Window& window, QWidget* parent);

// Shows the item's Text, shortcut, Checked and Enabled in every view of it.
void SyncItem(MenuItem& item);

// The shape of the tree that holds `node` changed: every window that shows
// the tree builds its menu bar anew.
void TreeChanged(MenuItem& node);

// "Cmd+W" as the toolkit's key sequence (Control+W); empty when the text
// names no key.
QKeySequence ToKeySequence(const std::string& shortcut);

} // namespace fw::detail
