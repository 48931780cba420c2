#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// The settings strings that a saving child writes one after the other: each
// names its writer and its place in the row, and their lengths differ, so a
// file cut short or mixed from two of them shows.
namespace faults {

inline std::string LoopValue(uint32_t seed, uint32_t i)
{
    std::string head = std::to_string(seed) + "." + std::to_string(i) + ":";
    size_t length = (seed * 2654435761u + i * 40503u) % 6000;
    return head + std::string(length, static_cast<char>('a' + i % 26)) + "$";
}

// The writer and place of a string that is exactly one of LoopValue's.
inline bool ParseLoopValue(const std::string& v, uint32_t& seed, uint32_t& i)
{
    unsigned s = 0, n = 0;
    int used = 0;
    if (std::sscanf(v.c_str(), "%u.%u:%n", &s, &n, &used) != 2 || used == 0)
        return false;
    seed = s;
    i = n;
    return v == LoopValue(s, n);
}

} // namespace faults
