#pragma once

#include <framework/FolderItem.h>

namespace fw {

// The folders that the system keeps for every user.
class SpecialFolder {
public:
    // The user's Preferences folder: $XDG_CONFIG_HOME, else ~/.config; made
    // (private to the user) when missing. Raises IOException when it cannot
    // be made, or reached (a folder above it the user may not search); nil
    // when the user has no home.
    static Ref<FolderItem> Preferences();
};

} // namespace fw
