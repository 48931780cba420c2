#include "MenuView.h"
#include "MenuCommands.h"
#include "MenuItemImpl.h"
#include "WindowImpl.h"

#include <framework/Dispatch.h>

#include <QMenu>
#include <QShortcut>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <vector>

namespace fw::detail {

namespace {

Ref<Window> Counted(Window& window)
{
    return Ref<Window>(std::static_pointer_cast<Window>(window.weak_from_this().lock()));
}

bool IsSeparator(const MenuItem& item) { return item.impl().text == "-"; }
bool IsMenu(const MenuItem& item) { return !item.impl().children.empty(); }

// The toolkit reads "&" as a mnemonic mark; captions are shown as written.
QString Caption(const MenuItem& item)
{
    QString text = QString::fromStdString(item.impl().text);
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    return text;
}

// A caption followed by a tab and a shortcut shows the shortcut in the
// menu's shortcut column. The key binding itself belongs to the window
// (see Bindings), so that the menu update runs before the shortcut acts.
QString CommandLabel(const MenuItem& item)
{
    QString label = Caption(item);
    QKeySequence keys = ToKeySequence(item.impl().shortcut);
    if (!keys.isEmpty())
        label += QLatin1Char('\t') + keys.toString(QKeySequence::NativeText);
    return label;
}

void Apply(QAction* action, const MenuItem& item)
{
    const MenuItem::Impl& d = item.impl();
    if (action->isSeparator())
        return;
    if (action->menu()) {
        action->setText(Caption(item));
    } else {
        action->setText(CommandLabel(item));
        action->setCheckable(d.checked);
        action->setChecked(d.checked);
    }
    action->setEnabled(d.enabled);
}

void Register(QAction* action, MenuItem& item)
{
    auto& views = item.impl().actions;
    views.erase(std::remove(views.begin(), views.end(), nullptr), views.end());
    views.emplace_back(action);
    Apply(action, item);
}

void ConnectUpdate(QMenu* menu, Window& window)
{
    WeakRef<Window> weak(Counted(window));
    QObject::connect(menu, &QMenu::aboutToShow, menu, [weak] {
        Ref<Window> w = weak.Lock();
        if (w)
            Dispatch([&] { UpdateMenus(*w); });
    });
}

void BuildMenu(QMenu* menu, MenuItem& node, Window& window)
{
    WeakRef<Window> weakWindow(Counted(window));
    for (const Ref<MenuItem>& child : node.impl().children) {
        MenuItem& item = *child;
        if (IsSeparator(item)) {
            Register(menu->addSeparator(), item);
        } else if (IsMenu(item)) {
            QMenu* sub = menu->addMenu(Caption(item));
            Register(sub->menuAction(), item);
            BuildMenu(sub, item, window);
        } else {
            QAction* action = menu->addAction(CommandLabel(item));
            Register(action, item);
            WeakRef<MenuItem> weakItem(child);
            QObject::connect(action, &QAction::triggered, action, [weakWindow, weakItem, action] {
                Ref<Window> w = weakWindow.Lock();
                Ref<MenuItem> m = weakItem.Lock();
                // The toolkit toggles a checkable entry by itself; the tree
                // alone decides the check mark.
                if (m)
                    Apply(action, *m);
                if (w && m)
                    Dispatch([&] { ChooseMenuItem(*w, m); });
            });
        }
    }
}

void CollectShortcuts(const MenuItem& node, std::vector<QKeySequence>& out)
{
    for (const Ref<MenuItem>& child : node.impl().children) {
        if (IsMenu(*child)) {
            CollectShortcuts(*child, out);
            continue;
        }
        QKeySequence keys = ToKeySequence(child->impl().shortcut);
        if (!keys.isEmpty() && !IsSeparator(*child) && std::find(out.begin(), out.end(), keys) == out.end())
            out.push_back(keys);
    }
}

// One binding per distinct shortcut of the tree, live while the window is
// the active one.
void Bindings(QMenuBar* bar, MenuItem& tree, Window& window)
{
    std::vector<QKeySequence> all;
    CollectShortcuts(tree, all);
    WeakRef<Window> weak(Counted(window));
    for (const QKeySequence& keys : all) {
        auto* shortcut = new QShortcut(keys, bar);
        shortcut->setContext(Qt::WindowShortcut);
        auto act = [weak, keys] {
            Ref<Window> w = weak.Lock();
            if (w)
                Dispatch([&] { ChooseByShortcut(*w, keys); });
        };
        QObject::connect(shortcut, &QShortcut::activated, shortcut, act);
        QObject::connect(shortcut, &QShortcut::activatedAmbiguously, shortcut, act);
    }
}

} // namespace

QMenuBar* BuildMenuBar(MenuItem& bar, Window& window, QWidget* parent)
{
    auto* qbar = new QMenuBar(parent);
    // The menu bar stays inside the window on every desktop.
    qbar->setNativeMenuBar(false);
    for (const Ref<MenuItem>& title : bar.impl().children) {
        QMenu* menu = qbar->addMenu(Caption(*title));
        Register(menu->menuAction(), *title);
        ConnectUpdate(menu, window);
        BuildMenu(menu, *title, window);
    }
    Bindings(qbar, bar, window);
    auto& views = bar.impl().bars;
    views.erase(std::remove(views.begin(), views.end(), nullptr), views.end());
    views.emplace_back(qbar);
    return qbar;
}

void SyncItem(MenuItem& item)
{
    auto& views = item.impl().actions;
    views.erase(std::remove(views.begin(), views.end(), nullptr), views.end());
    for (const QPointer<QAction>& action : views)
        Apply(action.data(), item);
}

void TreeChanged(MenuItem& node)
{
    MenuItem* root = &node;
    while (root->impl().parent)
        root = root->impl().parent;
    std::vector<QPointer<QMenuBar>> views = root->impl().bars;
    for (const QPointer<QMenuBar>& view : views) {
        if (!view)
            continue;
        auto* host = dynamic_cast<WindowWidget*>(view->parentWidget());
        if (host && host->window)
            RefreshMenuBar(*host->window, true);
    }
}

QKeySequence ToKeySequence(const std::string& shortcut)
{
    QString rest = QString::fromStdString(shortcut).trimmed();
    QStringList parts;
    for (;;) {
        qsizetype plus = rest.indexOf(QLatin1Char('+'));
        if (plus <= 0 || plus == rest.size() - 1)
            break;
        QString word = rest.left(plus).trimmed().toLower();
        if (word == QLatin1String("cmd") || word == QLatin1String("command"))
            parts << QStringLiteral("Ctrl");
        else if (word == QLatin1String("shift"))
            parts << QStringLiteral("Shift");
        else if (word == QLatin1String("option") || word == QLatin1String("alt"))
            parts << QStringLiteral("Alt");
        else if (word == QLatin1String("ctrl") || word == QLatin1String("control"))
            parts << QStringLiteral("Meta");
        else
            return {};
        rest = rest.mid(plus + 1);
    }
    if (rest.isEmpty() || parts.isEmpty())
        return {};
    QKeySequence keys = QKeySequence::fromString(parts.join(QLatin1Char('+')) + QLatin1Char('+') + (rest.size() == 1 ? rest.toUpper() : rest),
        QKeySequence::PortableText);
    if (keys.count() != 1 || keys[0].key() == Qt::Key_unknown)
        return {};
    return keys;
}

} // namespace fw::detail
