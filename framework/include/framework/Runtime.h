#pragma once

#include <cstdint>
#include <exception>

namespace fw {

// Brings up the toolkit: call once, before any window, picture or sound.
void RuntimeInit(int argc, char** argv);
bool RuntimeIsInitialized();

// Registers the framework's own classes, in the order their records build
// on one another; the program registers its own after them.
void RegisterFrameworkClasses();

// Calls function(argument) and answers the exception it raised, or nil.
std::exception_ptr CallFunctionWithExceptionHandling(void (*function)(void*), void* argument);
// How the framework calls the program's start-up routine; the program hands
// it CallFunctionWithExceptionHandling before anything else.
using ExceptionHelper = std::exception_ptr (*)(void (*function)(void*), void* argument);
void RuntimeSetExceptionHelper(ExceptionHelper helper);
// Runs the program's start-up routine inside the framework's
// initialisation, through the exception helper. An exception it raises
// leaves here, and the run has failed: RuntimeExit answers 1.
void RunFrameworkInitialization(void (*startup)());
// The classes of plug-ins: this program loads none.
void RuntimeInitExternalClasses();
// The table of plug-in entry points: empty in this program.
void InitPluginEntrypoints();
// Opens the application if no window has, then runs the event loop until
// the application quits; answers its exit code. An exception from the
// application's Open leaves here before the loop runs, and the run has
// failed. While it runs, SIGTERM, SIGHUP and SIGINT, and a quit the toolkit
// asks of the whole application (the session manager's Die at logout),
// quit the application as its Quit item does. A signal that comes while a
// signal's quit is under way is part of it; one 2 s or more after the
// first, with the process not yet ended, ends it at once as the signal
// would. Should the toolkit end the process from inside the loop (its
// display connection broke), the process ends at once with status 1,
// letting go of nothing.
int32_t RuntimeRun();
// Ends the loop started by RuntimeRun; code becomes the exit code. Asked
// before the loop runs, it makes the next RuntimeRun return without
// running the loop, once it has opened the application (raising its Open
// if nothing has).
void RuntimeQuit(int32_t code = 0);
// Lets go of every window the framework keeps: the open windows, which are
// also the single instances that GetImplicitWindow finds. At exit, after the
// event loop.
void RuntimeReleaseWindows();
// Tears the toolkit down; answers the process exit status: the loop's exit
// code (1 when the application's Close failed), or 1 when start-up or the
// application's Open failed.
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
