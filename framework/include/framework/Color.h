#pragma once

#include <cstdint>

namespace fw {

// A 24-bit colour, red in the high byte.
struct Color {
    uint32_t Value = 0;

    constexpr int32_t Red() const { return (Value >> 16) & 0xFF; }
    constexpr int32_t Green() const { return (Value >> 8) & 0xFF; }
    constexpr int32_t Blue() const { return Value & 0xFF; }
    constexpr bool operator==(const Color&) const = default;
};

constexpr Color RGB(int32_t red, int32_t green, int32_t blue)
{
    return Color { (static_cast<uint32_t>(red & 0xFF) << 16) | (static_cast<uint32_t>(green & 0xFF) << 8)
                   | static_cast<uint32_t>(blue & 0xFF) };
}

} // namespace fw
