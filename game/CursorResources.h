#pragma once

#include <framework/MouseCursor.h>

// The game's two cursors from the application's resource file: PointCursor
// (168) while the player aims, StartCursor (169) between turns. Each is read
// on first need and kept; while it is nil every call tries again. Raises
// NilObjectException while there is no application object.
fw::Ref<fw::MouseCursor> PointCursor();
fw::Ref<fw::MouseCursor> StartCursor();

// Empties both caches, PointCursor first.
void ReleaseCursorCaches();
