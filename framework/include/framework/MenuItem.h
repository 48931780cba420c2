#pragma once

#include <framework/Object.h>

#include <cstdint>
#include <memory>
#include <string>

namespace fw {

// One node of a menu tree: a menu title, a submenu, a command or a
// separator (Text "-"). A node owns its children, in the order appended.
// Changes of Text, KeyboardShortcut, Checked and Enabled show at once in
// every window that shows the tree.
class MenuItem : public Object {
public:
    MenuItem();
    ~MenuItem() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // The key of look-ups and of menu handlers.
    std::string Name() const;
    void Name(const std::string& name);
    // True: the menu update enables the item by itself; False: it starts
    // each update disabled and only the update's handlers enable it.
    bool AutoEnable() const;
    void AutoEnable(bool v);
    // Tells apart the items of a family that share one Name; the smallest
    // Int32 when unset.
    int32_t Index() const;
    void Index(int32_t index);
    std::string Text() const;
    void Text(const std::string& text);
    // "Cmd+" and one key, as in "Cmd+W"; empty for none. The Command key is
    // the Control key here.
    std::string KeyboardShortcut() const;
    void KeyboardShortcut(const std::string& shortcut);
    bool Checked() const;
    void Checked(bool v);
    bool Enabled() const;
    void Enabled(bool v);
    void Enable();

    // The direct child of that Name, or nil.
    Ref<MenuItem> Child(const std::string& name) const;
    // Adds the item as the last child; it leaves its former parent.
    void Append(const Ref<MenuItem>& item);
    int32_t Count() const;
    // The child at 0-based position i, or nil.
    Ref<MenuItem> Item(int32_t i) const;
    // The node that holds this one, or nil.
    Ref<MenuItem> Parent() const;

    // The first node of that Name anywhere below this one (depth first, in
    // menu order), or nil; with an index, the first whose Index matches.
    Ref<MenuItem> Lookup(const std::string& name) const;
    Ref<MenuItem> Lookup(const std::string& name, int32_t index) const;

    // What choosing the item does when no menu handler took it: nothing
    // here. Answers whether it acted.
    virtual bool Action();

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace fw
