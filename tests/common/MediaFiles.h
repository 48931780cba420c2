#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace test {

// The bytes of a real PNG file (8-bit RGB, no compression) whose pixel at
// (x, y) has the colour pixel(x, y) as 0xRRGGBB.
std::string PngBytes(int width, int height, const std::function<uint32_t(int x, int y)>& pixel);
void WritePng(const std::filesystem::path& p, int width, int height,
    const std::function<uint32_t(int x, int y)>& pixel);

// A short 16-bit mono WAV file: a quiet tone of that many samples.
std::string WavBytes(int samples = 800, int rate = 8000);

struct Resource {
    std::string type; // four characters
    int16_t id = 0;
    std::string data;
};
// The bytes of a file in the classic resource-file layout holding these
// resources, one reference list per type in the order given.
std::string ResourceFileBytes(const std::vector<Resource>& resources);
// A 'CURS' resource body: image rows, mask rows, hot spot (vertical first).
std::string CursorData(const uint16_t (&image)[16], const uint16_t (&mask)[16], int16_t hotV, int16_t hotH);

} // namespace test
