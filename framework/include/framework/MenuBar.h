#pragma once

#include <framework/MenuItem.h>

namespace fw {

// The root of a menu tree: its children are the titles of the menus, in
// bar order. A window shows it as its menu bar.
class MenuBar : public MenuItem {
public:
    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;
};

} // namespace fw
