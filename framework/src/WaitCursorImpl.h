#pragma once

namespace fw::detail {

// Dispatch marks where each call from the event loop into the program
// begins and ends; nested calls count as the outer one.
void BeginProgramCall();
void EndProgramCall();
// Shows the wait cursor when the current call has run long enough.
void WaitCursorTick();

} // namespace fw::detail
