#include "TargetBadges.h"

#include "Palette.h"
#include "PixelFont.h"

namespace horomine::media {

QString buildTargetLabel()
{
#if defined(__x86_64__) || defined(_M_X64)
    return QStringLiteral("x64");
#elif defined(__aarch64__) || defined(_M_ARM64)
    return QStringLiteral("A64");
#else
    return QStringLiteral("LNX");
#endif
}

namespace {

struct Badge {
    QString label;
    QColor body;
};

void drawBadge(QImage& img, int top, const Badge& badge)
{
    const QColor highlight = badge.body.lighter(145);
    const QColor shade = badge.body.darker(150);
    for (int y = 0; y < kBadgeHeight; ++y) {
        for (int x = 0; x < kBadgeWidth; ++x) {
            const bool corner = (x == 0 || x == kBadgeWidth - 1) && (y == 0 || y == kBadgeHeight - 1);
            if (corner)
                continue;
            QColor c = badge.body;
            if (y == 0)
                c = highlight;
            else if (y == kBadgeHeight - 1 || x == kBadgeWidth - 1)
                c = shade;
            img.setPixelColor(x, top + y, c);
        }
    }
    // Centred, leaning left by the odd pixel to balance the shaded right edge.
    const int textX = (kBadgeWidth - 1 - PixelFont::textWidth(badge.label)) / 2;
    PixelFont::draw(img, textX, top + 1, badge.label, QColor(255, 252, 232));
}

} // namespace

QImage makeTargetSystemPicture()
{
    const Badge badges[kBadgeCount] = {
        {QStringLiteral("68K"), QColor(96, 96, 110)},
        {QStringLiteral("PPC"), QColor(28, 110, 92)},
        {QStringLiteral("UB"), QColor(120, 70, 150)},
        {QStringLiteral("W32"), QColor(36, 78, 168)},
        {buildTargetLabel(), QColor(196, 72, 24)},
    };
    QImage img(kBadgeWidth, kBadgeHeight * kBadgeCount, QImage::Format_RGB32);
    img.fill(palette::kKeyWhite);
    for (int i = 0; i < kBadgeCount; ++i)
        drawBadge(img, i * kBadgeHeight, badges[i]);
    return img;
}

} // namespace horomine::media
