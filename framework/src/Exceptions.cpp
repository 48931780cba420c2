#include <framework/Exceptions.h>

#include <utility>

namespace fw {

RuntimeException::RuntimeException(std::string message, int32_t errorNumber)
    : Message(std::move(message))
    , ErrorNumber(errorNumber)
{
}

const char* RuntimeException::ClassName() const noexcept { return "RuntimeException"; }
const char* RuntimeException::what() const noexcept { return Message.c_str(); }
const char* NilObjectException::ClassName() const noexcept { return "NilObjectException"; }
const char* IOException::ClassName() const noexcept { return "IOException"; }
const char* OutOfBoundsException::ClassName() const noexcept { return "OutOfBoundsException"; }

void ThrowNil() { throw NilObjectException("a nil object was used"); }

} // namespace fw
