#include "Markers.h"

#include "Palette.h"

#include <algorithm>
#include <cmath>

namespace horomine::media {

namespace {

// Markers are drawn pixel by pixel from distances to the cell centre, so
// every pixel is either fully inside or keyed white: no fringe.
using PixelRule = QColor (*)(double dx, double dy); // invalid colour = background

QColor mixColour(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// A shaded ball: lit from the upper left, dark rim.
QColor ball(double dx, double dy, const QColor& base, const QColor& dark, const QColor& light)
{
    const double d2 = dx * dx + dy * dy;
    if (d2 > 31.0)
        return {};
    if (d2 > 19.0)
        return dark;
    // Light falls off away from the highlight at (-1.5, -1.5).
    const double hx = dx + 1.6;
    const double hy = dy + 1.6;
    const double h2 = hx * hx + hy * hy;
    if (h2 <= 1.2)
        return light;
    if (h2 <= 3.3)
        return mixColour(base, light, 0.45);
    const double shade = std::clamp((dx + dy) / 8.0, 0.0, 1.0) * 0.45;
    return mixColour(base, dark, shade);
}

QColor redPoint(double dx, double dy)
{
    return ball(dx, dy, palette::kRed, palette::kRedDark, palette::kRedLight);
}

QColor bluePoint(double dx, double dy)
{
    return ball(dx, dy, palette::kBlue, palette::kBlueDark, palette::kBlueLight);
}

QColor midpoint(double dx, double dy)
{
    // Target: dark ring, pale-green face, solid bull's-eye.
    const double d2 = dx * dx + dy * dy;
    if (d2 > 42.0)
        return {};
    if (d2 > 26.0)
        return palette::kGreenDark;
    if (d2 > 12.0)
        return palette::kGreenPale;
    if (d2 > 5.0)
        return palette::kLineGreen;
    if (d2 > 0.0)
        return palette::kGreenPale;
    return palette::kGreenDark;
}

bool onCross(double dx, double dy)
{
    const double ax = std::abs(dx);
    const double ay = std::abs(dy);
    return ax <= 5.0 && ay <= 5.0 && std::abs(ax - ay) <= 1.0;
}

QColor guess(double dx, double dy)
{
    // A bold X with a one-pixel light rim so it reads over the other
    // markers and the line too.
    if (onCross(dx, dy))
        return palette::kInk;
    for (int ny = -1; ny <= 1; ++ny) {
        for (int nx = -1; nx <= 1; ++nx) {
            if (onCross(dx + nx, dy + ny))
                return QColor(255, 236, 150);
        }
    }
    return {};
}

} // namespace

QImage makeMarkers()
{
    const PixelRule rules[] = {redPoint, bluePoint, midpoint, guess};
    QImage img(kMarkerCell, kMarkerCell * 4, QImage::Format_RGB32);
    img.fill(palette::kKeyWhite);
    for (int cell = 0; cell < 4; ++cell) {
        for (int y = 0; y < kMarkerCell; ++y) {
            for (int x = 0; x < kMarkerCell; ++x) {
                const QColor c = rules[cell](x - kMarkerCentre, y - kMarkerCentre);
                if (c.isValid())
                    img.setPixelColor(x, y + cell * kMarkerCell, c);
            }
        }
    }
    return img;
}

} // namespace horomine::media
