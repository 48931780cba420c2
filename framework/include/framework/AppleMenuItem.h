#pragma once

#include <framework/MenuItem.h>

namespace fw {

// The application's About command. It behaves as any MenuItem; the class
// lets the framework tell it apart.
class AppleMenuItem : public MenuItem {
public:
    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;
};

} // namespace fw
