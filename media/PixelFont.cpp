#include "PixelFont.h"

#include <array>

namespace horomine::media {

namespace {

struct Glyph {
    char ch;
    std::array<const char*, 5> rows;
};

// Lower-case glyphs sit on the baseline with a two-row x-height gap above.
constexpr Glyph kGlyphs[] = {
    {'0', {"###", "#.#", "#.#", "#.#", "###"}},
    {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"##.", "..#", ".#.", "#..", "###"}},
    {'3', {"##.", "..#", ".#.", "..#", "##."}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}},
    {'5', {"###", "#..", "##.", "..#", "##."}},
    {'6', {".##", "#..", "###", "#.#", "###"}},
    {'7', {"###", "..#", ".#.", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}},
    {'9', {"###", "#.#", "###", "..#", "##."}},
    {'A', {".#.", "#.#", "###", "#.#", "#.#"}},
    {'B', {"##.", "#.#", "##.", "#.#", "##."}},
    {'C', {".##", "#..", "#..", "#..", ".##"}},
    {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}},
    {'L', {"#..", "#..", "#..", "#..", "###"}},
    {'N', {"##.", "#.#", "#.#", "#.#", "#.#"}},
    {'P', {"##.", "#.#", "##.", "#..", "#.."}},
    {'U', {"#.#", "#.#", "#.#", "#.#", "###"}},
    {'W', {"#.#", "#.#", "###", "###", "#.#"}},
    {'X', {"#.#", "#.#", ".#.", "#.#", "#.#"}},
    {'x', {"...", "...", "#.#", ".#.", "#.#"}},
};

const Glyph* find(QChar c)
{
    for (const Glyph& g : kGlyphs) {
        if (QChar(g.ch) == c)
            return &g;
    }
    return nullptr;
}

} // namespace

int PixelFont::textWidth(const QString& text)
{
    if (text.isEmpty())
        return 0;
    return static_cast<int>(text.size()) * (kGlyphWidth + kSpacing) - kSpacing;
}

void PixelFont::draw(QImage& image, int x, int y, const QString& text, const QColor& colour)
{
    for (QChar c : text) {
        if (const Glyph* g = find(c)) {
            for (int row = 0; row < kGlyphHeight; ++row) {
                for (int col = 0; col < kGlyphWidth; ++col) {
                    const int px = x + col;
                    const int py = y + row;
                    if (g->rows[static_cast<std::size_t>(row)][col] == '#' && image.rect().contains(px, py))
                        image.setPixelColor(px, py, colour);
                }
            }
        }
        x += kGlyphWidth + kSpacing;
    }
}

} // namespace horomine::media
