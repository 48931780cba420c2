#include "WaveData.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace fw {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// The GUID of an extensible format is its plain format tag followed by these.
constexpr unsigned char kGuidTail[14] = { 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
    0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };
constexpr uint32_t kMinRate = 1000;
constexpr uint32_t kMaxRate = 384000;
constexpr uint16_t kMaxChannels = 8;

uint16_t U16(std::string_view b, size_t at)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

uint32_t U32(std::string_view b, size_t at)
{
    return static_cast<uint32_t>(U16(b, at)) | static_cast<uint32_t>(U16(b, at + 2)) << 16;
}

void PutU16(std::string& out, uint32_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void PutU32(std::string& out, uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

struct Format {
    uint16_t tag = 0; // kFormatPcm or kFormatFloat once resolved
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t bits = 0;
};

std::optional<Format> ReadFormat(std::string_view chunk)
{
    if (chunk.size() < 16)
        return std::nullopt;
    Format f;
    f.tag = U16(chunk, 0);
    f.channels = U16(chunk, 2);
    f.rate = U32(chunk, 4);
    uint16_t blockAlign = U16(chunk, 12);
    f.bits = U16(chunk, 14);
    if (f.tag == kFormatExtensible) {
        if (chunk.size() < 40 || std::memcmp(chunk.data() + 26, kGuidTail, sizeof kGuidTail) != 0)
            return std::nullopt;
        f.tag = U16(chunk, 24);
    }
    bool pcm = f.tag == kFormatPcm && (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32);
    bool flt = f.tag == kFormatFloat && (f.bits == 32 || f.bits == 64);
    if (!pcm && !flt)
        return std::nullopt;
    if (f.channels < 1 || f.channels > kMaxChannels || f.rate < kMinRate || f.rate > kMaxRate)
        return std::nullopt;
    if (blockAlign != f.channels * (f.bits / 8))
        return std::nullopt;
    return f;
}

int16_t FromFloat(double v)
{
    if (!(v == v))
        return 0; // NaN
    v = std::clamp(v, -1.0, 1.0);
    return static_cast<int16_t>(std::lround(v * 32767.0));
}

// One sample of the file's format as 16-bit PCM.
int16_t Sample16(const Format& f, const char* p)
{
    auto byte = [p](int i) { return static_cast<unsigned char>(p[i]); };
    auto top16 = [&](int low) { return static_cast<int16_t>(static_cast<uint16_t>(byte(low) | byte(low + 1) << 8)); };
    if (f.tag == kFormatFloat) {
        if (f.bits == 32) {
            uint32_t u = static_cast<uint32_t>(byte(0)) | static_cast<uint32_t>(byte(1)) << 8
                | static_cast<uint32_t>(byte(2)) << 16 | static_cast<uint32_t>(byte(3)) << 24;
            float v;
            std::memcpy(&v, &u, sizeof v);
            return FromFloat(v);
        }
        uint64_t u = 0;
        for (int i = 7; i >= 0; --i)
            u = u << 8 | byte(i);
        double v;
        std::memcpy(&v, &u, sizeof v);
        return FromFloat(v);
    }
    switch (f.bits) {
    case 8: return static_cast<int16_t>((byte(0) - 128) * 256);
    case 16: return top16(0);
    case 24: return top16(1);
    default: return top16(2);
    }
}

} // namespace

std::optional<std::string> PlayableWave(std::string_view file)
{
    if (file.size() < 12 || file.substr(0, 4) != "RIFF" || file.substr(8, 4) != "WAVE")
        return std::nullopt;

    // Chunks up to the end of the file: the RIFF size of many writers is
    // wrong, and a data chunk cut short keeps the frames it has.
    std::optional<Format> format;
    std::string_view data;
    bool haveData = false;
    size_t at = 12;
    while (file.size() - at >= 8 && !(format && haveData)) {
        std::string_view id = file.substr(at, 4);
        uint64_t size = U32(file, at + 4);
        at += 8;
        std::string_view body = file.substr(at, static_cast<size_t>(std::min<uint64_t>(size, file.size() - at)));
        if (id == "fmt " && !format) {
            format = ReadFormat(body);
            if (!format)
                return std::nullopt;
        } else if (id == "data" && !haveData) {
            data = body;
            haveData = true;
        }
        uint64_t next = at + size + (size & 1); // chunks are padded to even sizes
        if (next >= file.size())
            break;
        at = static_cast<size_t>(next);
    }
    if (!format || !haveData)
        return std::nullopt;

    const Format& f = *format;
    size_t inFrame = static_cast<size_t>(f.channels) * (f.bits / 8);
    size_t frames = data.size() / inFrame;
    if (frames == 0)
        return std::nullopt;
    size_t silentFrames = f.rate / 4;
    size_t outFrame = static_cast<size_t>(f.channels) * 2;
    uint64_t dataBytes = static_cast<uint64_t>(frames + silentFrames) * outFrame;
    if (dataBytes > UINT32_MAX - 36)
        return std::nullopt;

    std::string out;
    out.reserve(44 + static_cast<size_t>(dataBytes));
    out += "RIFF";
    PutU32(out, static_cast<uint32_t>(36 + dataBytes));
    out += "WAVEfmt ";
    PutU32(out, 16);
    PutU16(out, kFormatPcm);
    PutU16(out, f.channels);
    PutU32(out, f.rate);
    PutU32(out, f.rate * static_cast<uint32_t>(outFrame));
    PutU16(out, static_cast<uint32_t>(outFrame));
    PutU16(out, 16);
    out += "data";
    PutU32(out, static_cast<uint32_t>(dataBytes));
    size_t sampleBytes = f.bits / 8;
    for (size_t i = 0; i < frames * f.channels; ++i)
        PutU16(out, static_cast<uint16_t>(Sample16(f, data.data() + i * sampleBytes)));
    out.append(silentFrames * outFrame, '\0');
    return out;
}

} // namespace fw
