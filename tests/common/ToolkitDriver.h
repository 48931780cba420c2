#pragma once

// Drives the real toolkit widgets of the framework's windows as a user
// would: finds a window by its title, opens its menus with the mouse,
// chooses entries, presses shortcuts.

#include <QList>
#include <QSize>
#include <QString>
#include <Qt>

#include <string>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

namespace test {

// The shown top-level window of that title, or null.
QMainWindow* TopLevel(const std::string& title);
// Checks that the window cannot be resized, that its client area has that
// size with the menu bar (when one shows) above it, and that of the close,
// minimise and maximise buttons it offers exactly `buttons`.
void ExpectFixedWindow(QMainWindow* w, QSize client, Qt::WindowFlags buttons);
// Its menu bar, or null when it shows none.
QMenuBar* MenuBarOf(const std::string& title);
// The entry whose caption (the text before a shortcut) is `caption`.
QAction* Entry(const QList<QAction*>& actions, const QString& caption);
// The menu under a title of the bar, or under a submenu entry of a menu.
QMenu* MenuOf(QMenuBar* bar, const QString& caption);
QMenu* SubmenuOf(QMenu* menu, const QString& caption);

// Makes the window the active one, as a click on it would.
QMainWindow* Activate(const std::string& title);
// Closes whatever menus are open, then clicks a title of the window's menu
// bar; answers the menu that opened.
QMenu* OpenMenu(const std::string& title, const QString& caption);
// Clicks a submenu entry of an open menu; answers the submenu that opened.
QMenu* OpenSubmenu(QMenu* menu, const QString& caption);
// Closes every open menu.
void CloseMenus();
// Clicks an entry of an open menu.
void Click(QMenu* menu, QAction* entry);
// Presses keys such as "Ctrl+0" in the window, which is activated first.
void Press(const std::string& title, const QString& keys);
// Clicks the window at (x, y) of its client area, on whatever widget lies
// there, as the pointer would.
void ClickAt(const std::string& title, int x, int y);

} // namespace test
