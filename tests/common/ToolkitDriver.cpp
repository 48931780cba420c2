#include "common/ToolkitDriver.h"

#include <QApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace test {

QMainWindow* TopLevel(const std::string& title)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible() && m->windowTitle().toStdString() == title)
            return m;
    return nullptr;
}

void ExpectFixedWindow(QMainWindow* w, QSize client, Qt::WindowFlags buttons)
{
    ASSERT_NE(w, nullptr);
    const QWidget* bar = w->menuWidget();
    const int barHeight = bar && bar->isVisible() ? bar->height() : 0;
    EXPECT_EQ(w->centralWidget()->size(), client) << "the client area";
    EXPECT_EQ(w->size(), client + QSize(0, barHeight)) << "the menu bar above the client area";
    EXPECT_EQ(w->minimumSize(), w->size()) << "fixed: cannot be resized";
    EXPECT_EQ(w->maximumSize(), w->size());
    const Qt::WindowFlags all = Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    EXPECT_EQ(w->windowFlags() & all, buttons);
}

QMenuBar* MenuBarOf(const std::string& title)
{
    QMainWindow* w = TopLevel(title);
    return w ? qobject_cast<QMenuBar*>(w->menuWidget()) : nullptr;
}

QAction* Entry(const QList<QAction*>& actions, const QString& caption)
{
    for (QAction* a : actions)
        if (!a->isSeparator() && a->text().section(QLatin1Char('\t'), 0, 0) == caption)
            return a;
    return nullptr;
}

QMenu* MenuOf(QMenuBar* bar, const QString& caption)
{
    QAction* a = bar ? Entry(bar->actions(), caption) : nullptr;
    return a ? a->menu() : nullptr;
}

QMenu* SubmenuOf(QMenu* menu, const QString& caption)
{
    QAction* a = menu ? Entry(menu->actions(), caption) : nullptr;
    return a ? a->menu() : nullptr;
}

QMainWindow* Activate(const std::string& title)
{
    QMainWindow* w = TopLevel(title);
    EXPECT_NE(w, nullptr) << title;
    if (w) {
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w, 2000)) << title;
    }
    return w;
}

void CloseMenus()
{
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

QMenu* OpenMenu(const std::string& title, const QString& caption)
{
    CloseMenus();
    QMenuBar* bar = MenuBarOf(title);
    QAction* t = bar ? Entry(bar->actions(), caption) : nullptr;
    EXPECT_NE(t, nullptr) << caption.toStdString();
    if (!t)
        return nullptr;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(t).center());
    QMenu* menu = t->menu();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(menu, 2000));
    return menu;
}

QMenu* OpenSubmenu(QMenu* menu, const QString& caption)
{
    QAction* entry = menu ? Entry(menu->actions(), caption) : nullptr;
    EXPECT_NE(entry, nullptr) << caption.toStdString();
    if (!entry || !entry->menu())
        return nullptr;
    Click(menu, entry);
    // The submenu opens after a short delay of the toolkit's own.
    QMenu* sub = entry->menu();
    EXPECT_TRUE(QTest::qWaitFor([sub] { return sub->isVisible(); }, 2000)) << caption.toStdString();
    return sub;
}

void Click(QMenu* menu, QAction* entry)
{
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
}

void Press(const std::string& title, const QString& keys)
{
    QMainWindow* w = Activate(title);
    QKeySequence seq = QKeySequence::fromString(keys, QKeySequence::PortableText);
    if (w && seq.count() == 1)
        QTest::keyClick(w, seq[0].key(), seq[0].keyboardModifiers());
}

void ClickAt(const std::string& title, int x, int y)
{
    QMainWindow* w = TopLevel(title);
    EXPECT_NE(w, nullptr) << title;
    if (!w)
        return;
    QWidget* client = w->centralWidget();
    QWidget* target = client->childAt(x, y);
    if (!target)
        target = client;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(client, QPoint(x, y)));
}

} // namespace test
