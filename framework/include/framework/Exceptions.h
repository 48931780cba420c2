#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace fw {

// The framework's exception family. Program code raises and catches these by
// class; the framework reports any that reach it unhandled.
class RuntimeException : public std::exception {
public:
    explicit RuntimeException(std::string message = {}, int32_t errorNumber = 0);

    virtual const char* ClassName() const noexcept;
    const char* what() const noexcept override;

    std::string Message;
    int32_t ErrorNumber = 0;
};

class NilObjectException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* ClassName() const noexcept override;
};

// Raised by the file streams; ErrorNumber carries the file item's error code.
class IOException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* ClassName() const noexcept override;
};

class OutOfBoundsException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* ClassName() const noexcept override;
};

// Raised by the framework when a nil reference is used.
[[noreturn]] void ThrowNil();

} // namespace fw
