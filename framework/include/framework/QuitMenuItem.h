#pragma once

#include <framework/MenuItem.h>

namespace fw {

// A command that quits the application when chosen and no menu handler
// takes it first.
class QuitMenuItem : public MenuItem {
public:
    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    bool Action() override;
};

} // namespace fw
