#pragma once

#include <framework/MouseCursor.h>

#include <QCursor>

namespace fw {

struct MouseCursor::Shown {
    QCursor cursor;
};

// The toolkit cursor that shows a framework cursor. The same cursor set
// again is the same toolkit cursor, which the window system need not make
// anew.
inline const QCursor& ToQCursor(const MouseCursor& cursor) { return cursor.Toolkit().cursor; }

} // namespace fw
