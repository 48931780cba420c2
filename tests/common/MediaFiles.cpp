#include "common/MediaFiles.h"
#include "common/TestSupport.h"

#include <array>
#include <cmath>
#include <map>

namespace test {

namespace {
void Be32(std::string& s, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void Le(std::string& s, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

uint32_t Crc32(const std::string& bytes)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t {};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes)
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void Chunk(std::string& png, const char* type, const std::string& data)
{
    Be32(png, static_cast<uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    png += body;
    Be32(png, Crc32(body));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string Zlib(const std::string& raw)
{
    std::string z = "\x78\x01";
    size_t at = 0;
    do {
        size_t n = std::min<size_t>(raw.size() - at, 65535);
        bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        Le(z, static_cast<uint32_t>(n), 2);
        Le(z, static_cast<uint32_t>(~n & 0xFFFF), 2);
        z.append(raw, at, n);
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Be32(z, (b << 16) | a);
    return z;
}
} // namespace

std::string PngBytes(int width, int height, const std::function<uint32_t(int x, int y)>& pixel)
{
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    Be32(header, static_cast<uint32_t>(width));
    Be32(header, static_cast<uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB, no interlace
    Chunk(png, "IHDR", header);
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < width; ++x) {
            uint32_t c = pixel(x, y);
            raw.push_back(static_cast<char>((c >> 16) & 0xFF));
            raw.push_back(static_cast<char>((c >> 8) & 0xFF));
            raw.push_back(static_cast<char>(c & 0xFF));
        }
    }
    Chunk(png, "IDAT", Zlib(raw));
    Chunk(png, "IEND", "");
    return png;
}

void WritePng(const std::filesystem::path& p, int width, int height,
    const std::function<uint32_t(int x, int y)>& pixel)
{
    WriteFile(p, PngBytes(width, height, pixel));
}

std::string WavBytes(int samples, int rate)
{
    std::string data;
    for (int i = 0; i < samples; ++i)
        Le(data, static_cast<uint32_t>(static_cast<int16_t>(3000 * std::sin(i * 0.2))), 2);
    std::string wav = "RIFF";
    Le(wav, static_cast<uint32_t>(36 + data.size()), 4);
    wav += "WAVEfmt ";
    Le(wav, 16, 4);
    Le(wav, 1, 2); // PCM
    Le(wav, 1, 2); // mono
    Le(wav, static_cast<uint32_t>(rate), 4);
    Le(wav, static_cast<uint32_t>(rate * 2), 4);
    Le(wav, 2, 2);
    Le(wav, 16, 2);
    wav += "data";
    Le(wav, static_cast<uint32_t>(data.size()), 4);
    return wav + data;
}

namespace {
void Be16(std::string& s, uint32_t v)
{
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
    s.push_back(static_cast<char>(v & 0xFF));
}
} // namespace

std::string ResourceFileBytes(const std::vector<Resource>& resources)
{
    std::vector<std::string> types;
    std::map<std::string, std::vector<const Resource*>> byType;
    for (const Resource& r : resources) {
        if (!byType.count(r.type))
            types.push_back(r.type);
        byType[r.type].push_back(&r);
    }
    std::string data;
    std::map<const Resource*, uint32_t> offsets;
    for (const Resource& r : resources) {
        offsets[&r] = static_cast<uint32_t>(data.size());
        Be32(data, static_cast<uint32_t>(r.data.size()));
        data += r.data;
    }
    std::string typeList, refLists;
    Be16(typeList, static_cast<uint32_t>(types.size() - 1));
    const uint32_t refStart = 2 + 8 * static_cast<uint32_t>(types.size());
    for (const std::string& t : types) {
        typeList += t;
        Be16(typeList, static_cast<uint32_t>(byType[t].size() - 1));
        Be16(typeList, refStart + static_cast<uint32_t>(refLists.size()));
        for (const Resource* r : byType[t]) {
            Be16(refLists, static_cast<uint16_t>(r->id));
            Be16(refLists, 0xFFFF); // no name
            refLists.push_back(0);
            refLists.push_back(static_cast<char>((offsets[r] >> 16) & 0xFF));
            Be16(refLists, offsets[r] & 0xFFFF);
            Be32(refLists, 0);
        }
    }
    const uint32_t mapLength = 28 + static_cast<uint32_t>(typeList.size() + refLists.size());
    std::string header;
    Be32(header, 256);
    Be32(header, 256 + static_cast<uint32_t>(data.size()));
    Be32(header, static_cast<uint32_t>(data.size()));
    Be32(header, mapLength);
    std::string map = header;
    Be32(map, 0);
    Be16(map, 0);
    Be16(map, 0);
    Be16(map, 28);
    Be16(map, mapLength);
    map += typeList + refLists;
    std::string file = header + std::string(256 - header.size(), '\0') + data + map;
    return file;
}

std::string CursorData(const uint16_t (&image)[16], const uint16_t (&mask)[16], int16_t hotV, int16_t hotH)
{
    std::string d;
    for (uint16_t row : image)
        Be16(d, row);
    for (uint16_t row : mask)
        Be16(d, row);
    Be16(d, static_cast<uint16_t>(hotV));
    Be16(d, static_cast<uint16_t>(hotH));
    return d;
}

} // namespace test
