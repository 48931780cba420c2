#include "MenuItemImpl.h"
#include "MenuView.h"

#include <framework/MenuHandler.h>

#include <algorithm>

namespace fw {

MenuItem::MenuItem()
    : impl_(std::make_unique<Impl>())
{
}

MenuItem::~MenuItem()
{
    for (auto& child : impl_->children)
        child->impl().parent = nullptr;
}

const ClassRecord& MenuItem::Record()
{
    static const ClassRecord record { "MenuItem", &Object::Record(),
        { Property<MenuItem>("Name", &MenuItem::Name), Property<MenuItem>("AutoEnable", &MenuItem::AutoEnable),
            Property<MenuItem>("Index", &MenuItem::Index), Property<MenuItem>("Text", &MenuItem::Text),
            Property<MenuItem>("KeyboardShortcut", &MenuItem::KeyboardShortcut),
            Property<MenuItem>("Checked", &MenuItem::Checked), Property<MenuItem>("Enabled", &MenuItem::Enabled) },
        { Method("Enable", &MenuItem::Enable), Method("Child", &MenuItem::Child), Method("Append", &MenuItem::Append),
            Method("Count", &MenuItem::Count), Method("Item", &MenuItem::Item), Method("Parent", &MenuItem::Parent),
            Method<Ref<MenuItem>(const std::string&) const>("Lookup", &MenuItem::Lookup, Scope::Hidden),
            Method<Ref<MenuItem>(const std::string&, int32_t) const>("Lookup", &MenuItem::Lookup, Scope::Hidden),
            Method("Action", &MenuItem::Action) },
        { "Action" } };
    return record;
}

const ClassRecord& MenuItem::ClassInfo() const { return Record(); }

std::string MenuItem::Name() const { return impl_->name; }
void MenuItem::Name(const std::string& name) { impl_->name = name; }
bool MenuItem::AutoEnable() const { return impl_->autoEnable; }
void MenuItem::AutoEnable(bool v) { impl_->autoEnable = v; }
int32_t MenuItem::Index() const { return impl_->index; }
void MenuItem::Index(int32_t index) { impl_->index = index; }

std::string MenuItem::Text() const { return impl_->text; }
void MenuItem::Text(const std::string& text)
{
    bool wasSeparator = impl_->text == "-";
    impl_->text = text;
    // A separator is another kind of entry in the toolkit's menu.
    if (wasSeparator != (text == "-"))
        detail::TreeChanged(*this);
    else
        detail::SyncItem(*this);
}

std::string MenuItem::KeyboardShortcut() const { return impl_->shortcut; }
void MenuItem::KeyboardShortcut(const std::string& shortcut)
{
    impl_->shortcut = shortcut;
    // The window's key bindings follow the tree's shortcuts.
    detail::TreeChanged(*this);
}

bool MenuItem::Checked() const { return impl_->checked; }
void MenuItem::Checked(bool v)
{
    impl_->checked = v;
    detail::SyncItem(*this);
}

bool MenuItem::Enabled() const { return impl_->enabled; }
void MenuItem::Enabled(bool v)
{
    impl_->enabled = v;
    detail::SyncItem(*this);
}

void MenuItem::Enable() { Enabled(true); }

Ref<MenuItem> MenuItem::Child(const std::string& name) const
{
    for (const auto& child : impl_->children)
        if (child->impl().name == name)
            return child;
    return nullptr;
}

void MenuItem::Append(const Ref<MenuItem>& item)
{
    MenuItem& node = *item; // nil raises
    for (const MenuItem* p = this; p; p = p->impl().parent)
        if (p == &node)
            throw RuntimeException("a menu item cannot be appended below itself");
    Ref<MenuItem> keep = item;
    if (MenuItem* old = node.impl().parent) {
        auto& siblings = old->impl().children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), keep), siblings.end());
        detail::TreeChanged(*old);
    }
    impl_->children.push_back(keep);
    node.impl().parent = this;
    detail::TreeChanged(*this);
}

int32_t MenuItem::Count() const { return static_cast<int32_t>(impl_->children.size()); }

Ref<MenuItem> MenuItem::Item(int32_t i) const
{
    if (i < 0 || i >= Count())
        return nullptr;
    return impl_->children[static_cast<size_t>(i)];
}

Ref<MenuItem> MenuItem::Parent() const
{
    MenuItem* p = impl_->parent;
    if (!p)
        return nullptr;
    return Ref<MenuItem>(std::static_pointer_cast<MenuItem>(p->weak_from_this().lock()));
}

namespace {
template <class Match>
Ref<MenuItem> Find(const MenuItem& node, const Match& match)
{
    for (const auto& child : node.impl().children) {
        if (match(*child))
            return child;
        if (Ref<MenuItem> below = Find(*child, match))
            return below;
    }
    return nullptr;
}
} // namespace

Ref<MenuItem> MenuItem::Lookup(const std::string& name) const
{
    return Find(*this, [&](const MenuItem& m) { return m.impl().name == name; });
}

Ref<MenuItem> MenuItem::Lookup(const std::string& name, int32_t index) const
{
    return Find(*this, [&](const MenuItem& m) { return m.impl().name == name && m.impl().index == index; });
}

bool MenuItem::Action() { return false; }

bool MenuHandler::Invoke(const MenuItem& item) const
{
    if (indexed_)
        return indexed_(item.Index());
    if (plain_)
        return plain_();
    return false;
}

} // namespace fw
