#pragma once

#include <framework/FolderItem.h>

namespace fw {

// The running program's own executable file, by its real path (symbolic
// links resolved); nil when the system cannot tell.
Ref<FolderItem> GetApplicationExecutable();

// The bundle's Resources folder: the executable's folder's parent, and
// there the child "Resources". A nil executable or parent on the way raises
// NilObjectException; the answer is nil while no folder of that name exists.
Ref<FolderItem> GetApplicationBundleResources();

} // namespace fw
