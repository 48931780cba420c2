#include <framework/Dispatch.h>

#include "WaitCursorImpl.h"

#include <QCoreApplication>

#include <cstdio>
#include <string>

namespace fw {

void ReportError(const std::string& message) noexcept
{
    std::string program = "horomine";
    if (QCoreApplication::instance())
        program = QCoreApplication::applicationName().toStdString();
    std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
    std::fflush(stderr);
}

void UnhandledException(const RuntimeException& e) noexcept
{
    std::string line = std::string("unhandled ") + e.ClassName();
    if (!e.Message.empty())
        line += ": " + e.Message;
    if (e.ErrorNumber != 0)
        line += " (error " + std::to_string(e.ErrorNumber) + ")";
    ReportError(line);
}

void UnhandledException(std::exception_ptr raised) noexcept
{
    try {
        std::rethrow_exception(raised);
    } catch (const RuntimeException& e) {
        UnhandledException(e);
    } catch (const std::exception& e) {
        UnhandledException(RuntimeException(e.what()));
    } catch (...) {
        UnhandledException(RuntimeException("an exception of unknown type"));
    }
}

bool Dispatch(const std::function<void()>& call) noexcept
{
    // The toolkit cannot unwind an exception through its own frames, so
    // nothing may leave here.
    struct ProgramCall {
        ProgramCall() { detail::BeginProgramCall(); }
        ~ProgramCall() { detail::EndProgramCall(); }
    } busy;
    try {
        call();
        return true;
    } catch (...) {
        UnhandledException(std::current_exception());
    }
    return false;
}

} // namespace fw
