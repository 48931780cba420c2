#pragma once

#include <framework/MenuItem.h>

#include <QAction>
#include <QMenuBar>
#include <QPointer>

#include <climits>
#include <string>
#include <vector>

namespace fw {

struct MenuItem::Impl {
    std::string name;
    std::string text;
    std::string shortcut;
    bool autoEnable = true;
    bool checked = false;
    bool enabled = true;
    int32_t index = INT_MIN;
    std::vector<Ref<MenuItem>> children;
    // The parent owns this node; it clears the link when it goes.
    MenuItem* parent = nullptr;
    // This node as shown in each window's menu bar.
    std::vector<QPointer<QAction>> actions;
    // For the root of a tree: the windows' menu bars that show it.
    std::vector<QPointer<QMenuBar>> bars;
};

} // namespace fw
