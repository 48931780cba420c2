#pragma once

namespace fw::detail {

// What the rest of the framework tells the runtime, and asks of it.

// The run has failed (the application could not open): RuntimeExit answers
// 1, and an event loop that runs ends.
void RunFailed();
// A quit has been asked for (RuntimeQuit) and the loop has not yet
// returned.
bool QuitRequested();

} // namespace fw::detail
