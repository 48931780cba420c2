#pragma once

namespace fw::detail {

// Dispatch marks where each call from the event loop into the program
// begins and ends; nested calls count as the outer one.
void BeginProgramCall();
void EndProgramCall();
// Shows the wait cursor when the current call has run long enough.
void WaitCursorTick();

// While a nested loop waits for input (a modal window), the calls around it
// are not running: it is idle time, not busy time. Calls made from inside
// the loop are measured on their own; the call around it measures afresh
// once the loop returns.
class WaitingForInput {
public:
    WaitingForInput();
    ~WaitingForInput();
    WaitingForInput(const WaitingForInput&) = delete;
    WaitingForInput& operator=(const WaitingForInput&) = delete;

private:
    int depth_;
};

} // namespace fw::detail
