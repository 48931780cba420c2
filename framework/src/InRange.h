#pragma once

#include <framework/Exceptions.h>

#include <cstdint>
#include <string>

namespace fw::detail {

// The value given to a property when it lies in lowest to highest; else
// OutOfBoundsException naming the property, the value and the range.
inline int32_t InRange(const char* name, int32_t v, int32_t lowest, int32_t highest)
{
    if (v < lowest || v > highest)
        throw OutOfBoundsException(std::string(name) + " " + std::to_string(v) + " is outside " + std::to_string(lowest)
            + " to " + std::to_string(highest));
    return v;
}

} // namespace fw::detail
