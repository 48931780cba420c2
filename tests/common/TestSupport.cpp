#include "common/TestSupport.h"

#include <framework/Graphics.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace test {

void EmptyPreferencesAndTemporaryFolders()
{
    for (const std::filesystem::path& p : { Home() / ".config", Home() / "tmp" }) {
        std::filesystem::remove_all(p);
        std::filesystem::create_directories(p);
    }
}

std::string ReadFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

uint32_t PixelAt(const fw::Ref<fw::Picture>& picture, int32_t x, int32_t y)
{
    return picture->Graphics()->Pixel(x, y).Value;
}

int32_t CountColor(const fw::Ref<fw::Picture>& picture, uint32_t rgb, int32_t x, int32_t y, int32_t w, int32_t h)
{
    fw::Ref<fw::Graphics> g = picture->Graphics();
    int32_t n = 0;
    for (int32_t j = y; j < y + h; ++j)
        for (int32_t i = x; i < x + w; ++i)
            if (g->Pixel(i, j).Value == rgb)
                ++n;
    return n;
}

} // namespace test
