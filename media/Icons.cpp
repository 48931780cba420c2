#include "Icons.h"

#include "Palette.h"
#include "Shapes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace horomine::media {

namespace {

const QPointF kRedAt{8.0, 24.0};
const QPointF kBlueAt{24.0, 8.0};
const QPointF kMidAt = (kRedAt + kBlueAt) / 2.0;

struct Look {
    QColor tileTop;
    QColor tileBottom;
    QColor border;
    bool found;
};

void drawDot(QPainter& p, QPointF at, const QColor& base, const QColor& dark, const QColor& light)
{
    QRadialGradient g(at + QPointF(-1.2, -1.2), 4.6);
    g.setColorAt(0.0, light);
    g.setColorAt(0.35, base);
    g.setColorAt(1.0, dark);
    p.setPen(QPen(dark, 1.0));
    p.setBrush(g);
    p.drawEllipse(at, 3.7, 3.7);
}

// At the game's own size the icon is drawn on key white; a larger one for
// the desktop is drawn at scale on a transparent ground.
QImage draw(const Look& look, int size = kIconSize)
{
    const bool keyed = size == kIconSize;
    QImage img(size, size, keyed ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    img.fill(keyed ? palette::kKeyWhite : 0u);
    QPainter p(&img);
    p.scale(double(size) / kIconSize, double(size) / kIconSize);

    // On key white the tile's silhouette is drawn without anti-aliasing so
    // its corners key out cleanly.
    p.setRenderHint(QPainter::Antialiasing, !keyed);
    QLinearGradient tile(0, 1, 0, 31);
    tile.setColorAt(0.0, look.tileTop);
    tile.setColorAt(1.0, look.tileBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(look.border);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 28, 28), 5, 5);

    p.setRenderHint(QPainter::Antialiasing);
    if (look.found) {
        // A soft glow where the midpoint was found.
        QRadialGradient glow(kMidAt, 13);
        glow.setColorAt(0.0, QColor(255, 255, 210));
        glow.setColorAt(1.0, QColor(255, 255, 210, 0));
        p.setBrush(glow);
        p.drawEllipse(kMidAt, 13, 13);
    }

    p.setPen(QPen(palette::kLineGreen, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(kRedAt, kBlueAt);

    drawDot(p, kRedAt, palette::kRed, palette::kRedDark, palette::kRedLight);
    drawDot(p, kBlueAt, palette::kBlue, palette::kBlueDark, palette::kBlueLight);

    if (look.found) {
        const QPainterPath star = starPath(kMidAt, 7.0, 3.0, 5);
        p.setPen(QPen(QColor(150, 80, 0), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(255, 206, 30));
        p.drawPath(star);
        // Glints in the empty corners: the icon winks back.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(214, 118, 10));
        for (const QPointF at : {QPointF(8.5, 8.5), QPointF(23.5, 23.5)})
            p.drawPath(starPath(at, 3.5, 0.9, 4));
    } else {
        p.setPen(QPen(palette::kGreenDark, 1.6));
        p.setBrush(palette::kGreenPale);
        p.drawEllipse(kMidAt, 4.2, 4.2);
        p.setPen(Qt::NoPen);
        p.setBrush(palette::kGreenDark);
        p.drawEllipse(kMidAt, 1.5, 1.5);
    }
    p.end();
    return img;
}

const Look kPlain{QColor(255, 251, 236), QColor(236, 228, 206), QColor(92, 80, 64), false};

} // namespace

QImage makeIcon()
{
    return draw(kPlain);
}

QImage makeDesktopIcon(int size)
{
    if (size != kIconSize)
        return draw(kPlain, size);
    QImage icon = makeIcon().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < icon.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(icon.scanLine(y));
        for (int x = 0; x < icon.width(); ++x)
            if (row[x] == palette::kKeyWhite)
                row[x] = 0;
    }
    return icon;
}

QImage makeTamberlynIcon()
{
    return draw({QColor(255, 240, 170), QColor(255, 198, 110), QColor(150, 86, 20), true});
}

} // namespace horomine::media
