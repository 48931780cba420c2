#pragma once

// WAV files made in memory, for tests of the sound code.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

namespace test {

inline void PutLE(std::string& out, uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// One RIFF chunk, padded to an even size.
inline std::string Chunk(const std::string& id, const std::string& body)
{
    std::string out = id;
    PutLE(out, body.size(), 4);
    out += body;
    if (body.size() % 2)
        out.push_back('\0');
    return out;
}

inline std::string Riff(const std::string& chunks)
{
    std::string out = "RIFF";
    PutLE(out, 4 + chunks.size(), 4);
    return out + "WAVE" + chunks;
}

// A "fmt " body: tag 1 PCM, 3 float, 0xFFFE extensible (sub-format in subTag).
inline std::string FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t subTag = 1)
{
    std::string out;
    uint32_t align = channels * (bits / 8);
    PutLE(out, tag, 2);
    PutLE(out, channels, 2);
    PutLE(out, rate, 4);
    PutLE(out, rate * align, 4);
    PutLE(out, align, 2);
    PutLE(out, bits, 2);
    if (tag == 0xFFFE) {
        PutLE(out, 22, 2);
        PutLE(out, bits, 2);
        PutLE(out, channels == 1 ? 4 : 3, 4);
        PutLE(out, subTag, 2);
        const unsigned char tail[14] = { 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };
        out.append(reinterpret_cast<const char*>(tail), sizeof tail);
    } else if (tag != 1) {
        PutLE(out, 0, 2);
    }
    return out;
}

// A sine of the given frequency, length and peak (0..1 of full scale), as
// samples from -1 to 1.
inline std::vector<double> Sine(double hz, double seconds, double peak, uint32_t rate)
{
    std::vector<double> s(static_cast<size_t>(seconds * rate));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = peak * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate);
    return s;
}

// Samples in one of the WAV encodings: tag 1 with 8, 16, 24 or 32 bits,
// tag 3 with 32 or 64 bits. Every channel carries the same signal.
inline std::string Encode(const std::vector<double>& samples, uint16_t tag, uint16_t bits, uint16_t channels)
{
    std::string out;
    for (double v : samples) {
        for (uint16_t c = 0; c < channels; ++c) {
            if (tag == 3 && bits == 32) {
                float f = static_cast<float>(v);
                uint32_t u;
                std::memcpy(&u, &f, 4);
                PutLE(out, u, 4);
            } else if (tag == 3) {
                uint64_t u;
                std::memcpy(&u, &v, 8);
                PutLE(out, u, 8);
            } else if (bits == 8) {
                out.push_back(static_cast<char>(std::lround(128 + v * 127)));
            } else {
                double scale = std::ldexp(1.0, bits - 1) - 1;
                PutLE(out, static_cast<uint64_t>(std::llround(v * scale)), bits / 8);
            }
        }
    }
    return out;
}

// A whole WAV file of those samples.
inline std::string Wave(const std::vector<double>& samples, uint32_t rate, uint16_t tag = 1, uint16_t bits = 16,
    uint16_t channels = 1)
{
    uint16_t base = tag == 0xFFFE ? 1 : tag;
    return Riff(Chunk("fmt ", FormatBody(tag, channels, rate, bits)) + Chunk("data", Encode(samples, base, bits, channels)));
}

} // namespace test
