#pragma once

#include <framework/Exceptions.h>

#include <exception>
#include <functional>
#include <string>

namespace fw {

// Every call from the toolkit into program code (an event, a paint, a menu
// handler) goes through here. An exception ends that call only: it is handed
// to UnhandledException and the event loop goes on. Answers false when the
// call ended with an exception.
bool Dispatch(const std::function<void()>& call) noexcept;

// Writes one line on standard error, after the program's name: how the
// program tells of a failure that it goes on without.
void ReportError(const std::string& message) noexcept;

// Reports an exception that no program code caught: its class and message
// on standard error.
void UnhandledException(const RuntimeException& e) noexcept;
// The same for an exception of any type, as caught.
void UnhandledException(std::exception_ptr raised) noexcept;

} // namespace fw
