#pragma once

#include <cstdint>

namespace fw {

// Brings up the toolkit: call once, before any window, picture or sound.
void RuntimeInit(int argc, char** argv);
bool RuntimeIsInitialized();
// Runs the event loop until the application quits; answers its exit code.
int32_t RuntimeRun();
// Ends the loop started by RuntimeRun.
void RuntimeQuit(int32_t code = 0);
// Tears the toolkit down; answers the process exit status.
int32_t RuntimeExit();

// Hands any pending toolkit work (repaints, posted events) its turn. Tests
// use it to let a requested repaint happen.
void ProcessPendingEvents();

// The cooperative yield that every long loop of the program makes once per
// pass. All program code runs on the one event thread and there are no
// other framework threads to hand over to; the framework only shows the
// wait cursor here when the current call has run long (see WaitCursor.h).
void YieldToBackground();

} // namespace fw
