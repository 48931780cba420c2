#pragma once

#include <framework/MouseCursor.h>

#include <QCursor>

namespace fw {

// The toolkit cursor that shows a framework cursor.
QCursor ToQCursor(const MouseCursor& cursor);

} // namespace fw
