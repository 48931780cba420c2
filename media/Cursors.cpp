#include "Cursors.h"

#include <QColor>

namespace horomine::media {

namespace {

bool bit(const std::array<std::uint16_t, 16>& rows, int x, int y)
{
    return (rows[static_cast<std::size_t>(y)] >> (15 - x)) & 1u;
}

void setBit(std::array<std::uint16_t, 16>& rows, int x, int y)
{
    rows[static_cast<std::size_t>(y)] |= static_cast<std::uint16_t>(1u << (15 - x));
}

// '#' black, '.' white, ' ' see-through.
Cursor fromArt(const char* const (&art)[16])
{
    Cursor c;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const char ch = art[y][x];
            if (ch == '#')
                setBit(c.image, x, y);
            if (ch == '#' || ch == '.')
                setBit(c.mask, x, y);
        }
    }
    return c;
}

} // namespace

QByteArray Cursor::toResource() const
{
    QByteArray out;
    auto put16 = [&out](std::uint16_t v) {
        out.append(static_cast<char>(v >> 8));
        out.append(static_cast<char>(v & 0xFF));
    };
    for (std::uint16_t row : image)
        put16(row);
    for (std::uint16_t row : mask)
        put16(row);
    put16(static_cast<std::uint16_t>(hotV));
    put16(static_cast<std::uint16_t>(hotH));
    return out;
}

QImage Cursor::render(QColor background) const
{
    QImage img(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            QColor c = background;
            if (bit(image, x, y))
                c = Qt::black;
            else if (bit(mask, x, y))
                c = Qt::white;
            img.setPixelColor(x, y, c);
        }
    }
    return img;
}

Cursor makePointCursor()
{
    // Four arms with a gap around a centre dot, so the exact aim point
    // stays visible; the mask adds a one-pixel white halo all round.
    constexpr int kCentre = 7;
    Cursor c;
    for (int d = 3; d <= 6; ++d) {
        setBit(c.image, kCentre - d, kCentre);
        setBit(c.image, kCentre + d, kCentre);
        setBit(c.image, kCentre, kCentre - d);
        setBit(c.image, kCentre, kCentre + d);
    }
    setBit(c.image, kCentre, kCentre);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy) {
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int sx = x + dx;
                    const int sy = y + dy;
                    near = sx >= 0 && sx < 16 && sy >= 0 && sy < 16 && bit(c.image, sx, sy);
                }
            }
            if (near)
                setBit(c.mask, x, y);
        }
    }
    c.hotV = kCentre;
    c.hotH = kCentre;
    return c;
}

Cursor makeStartCursor()
{
    static const char* const kHand[16] = {
        "     ##         ",
        "    #..#        ",
        "    #..#        ",
        "    #..#        ",
        "    #..###      ",
        "    #..#..###   ",
        "    #..#..#..## ",
        " ## #..#..#..#.#",
        "#..##..........#",
        "#...#..........#",
        " #.............#",
        "  #............#",
        "  #...........# ",
        "   #..........# ",
        "    #........#  ",
        "    ##########  ",
    };
    Cursor c = fromArt(kHand);
    c.hotV = 0;
    c.hotH = 5;
    return c;
}

} // namespace horomine::media
