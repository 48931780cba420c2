#pragma once

#include <framework/MenuItem.h>

namespace fw {

// The application's About command. It behaves as any MenuItem, and no
// framework code treats it otherwise: the class only names the item's kind.
class AppleMenuItem : public MenuItem {
public:
    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;
};

} // namespace fw
