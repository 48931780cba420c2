#pragma once

namespace fw {

// The automatic wait cursor: while one call from the event loop into the
// program (an event, a menu command) has run for longer than half a second,
// the pointer shows the wait cursor until that call returns. The framework
// looks at the clock whenever the program yields (YieldToBackground). Time
// that a modal window spends waiting for input is not the call's: the
// calls made from its loop are measured on their own. Switched on at start.
void DisableAutoWaitCursor();
void EnableAutoWaitCursor();
bool AutoWaitCursorEnabled();

// The clock the wait cursor reads, in microseconds: Microseconds unless a
// test drives it (nil restores it).
void SetWaitCursorClock(double (*clock)());

} // namespace fw
