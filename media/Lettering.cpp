#include "Lettering.h"

#include "Fonts.h"
#include "Palette.h"
#include "Shapes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cmath>
#include <numbers>
#include <vector>

namespace horomine::media {

namespace {

struct Sparkle {
    QPointF centre;
    double radius;
};

struct Style {
    QString text;
    QSize canvas;
    QRectF textBox; // where the glyph outlines are fitted
    QColor fillTop;
    QColor fillBottom;
    QColor outline;
    QColor shadow;
    double outlineWidth;
    QPointF shadowOffset;
    std::vector<Sparkle> sparkles;
};

QPainterPath fittedText(const Style& style)
{
    QPainterPath path;
    path.addText(0, 0, japaneseFont(100, QFont::Bold), style.text);
    const QRectF bounds = path.boundingRect();
    const double scale = std::min(style.textBox.width() / bounds.width(), style.textBox.height() / bounds.height());
    QTransform t;
    t.translate(style.textBox.center().x(), style.textBox.center().y());
    t.scale(scale, scale);
    t.translate(-bounds.center().x(), -bounds.center().y());
    return t.map(path);
}

// A four-pointed star with concave sides.
QPainterPath sparklePath(const Sparkle& s) { return starPath(s.centre, s.radius, s.radius * 0.28, 4); }

// Pixels at least half covered take the exact colour drawn there; the rest
// become key white. Anti-aliased edges would otherwise leave a whitish halo
// once the game keys out white over a coloured background.
QImage flattenOntoKeyWhite(const QImage& layer)
{
    const QImage straight = layer.convertToFormat(QImage::Format_ARGB32);
    QImage out(straight.size(), QImage::Format_RGB32);
    for (int y = 0; y < straight.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < straight.width(); ++x) {
            if (qAlpha(src[x]) < 128) {
                dst[x] = palette::kKeyWhite;
                continue;
            }
            // Artwork must never contain the key colour itself.
            const QRgb c = src[x] | 0xFF000000u;
            dst[x] = c == palette::kKeyWhite ? qRgb(254, 254, 254) : c;
        }
    }
    return out;
}

// Crops to the artwork plus a small margin, so the picture can be centred
// or corner-aligned without a lopsided blank border.
QImage trimmed(const QImage& img)
{
    constexpr int kMargin = 2;
    QRect used;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (line[x] != palette::kKeyWhite)
                used |= QRect(x, y, 1, 1);
        }
    }
    return img.copy(used.adjusted(-kMargin, -kMargin, kMargin, kMargin).intersected(img.rect()));
}

QImage render(const Style& style)
{
    QImage layer(style.canvas, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);

    const QPainterPath text = fittedText(style);
    const QPen outlinePen(style.outline, style.outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    for (const Sparkle& s : style.sparkles) {
        const QPainterPath star = sparklePath(s);
        p.strokePath(star, QPen(QColor(176, 92, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.fillPath(star, QColor(255, 214, 40));
    }

    // Drop shadow: the outlined shape, offset.
    const QPainterPath shadow = text.translated(style.shadowOffset);
    p.strokePath(shadow, QPen(style.shadow, style.outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(shadow, style.shadow);

    p.strokePath(text, outlinePen);
    const QRectF box = text.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, style.fillTop);
    fill.setColorAt(1.0, style.fillBottom);
    p.fillPath(text, fill);
    p.end();
    return trimmed(flattenOntoKeyWhite(layer));
}

} // namespace

QImage makeHitPicture()
{
    Style s;
    s.text = QString::fromUtf8("あたり");
    s.canvas = {kLetteringMaxWidth, kLetteringMaxHeight};
    s.textBox = QRectF(18, 16, 144, 58);
    s.fillTop = QColor(255, 226, 64);
    s.fillBottom = QColor(236, 56, 24);
    s.outline = QColor(122, 16, 8);
    s.shadow = QColor(70, 10, 4);
    s.outlineWidth = 6.5;
    s.shadowOffset = {2.5, 3.0};
    s.sparkles = {{{11, 16}, 9}, {{168, 14}, 7}, {{170, 70}, 9}, {{14, 74}, 6}, {{92, 8}, 5.5}};
    return render(s);
}

QImage makeNearPicture()
{
    Style s;
    s.text = QString::fromUtf8("おしい");
    s.canvas = {kLetteringMaxWidth, kLetteringMaxHeight};
    s.textBox = QRectF(10, 10, 150, 58);
    s.fillTop = QColor(132, 228, 232);
    s.fillBottom = QColor(22, 120, 188);
    s.outline = QColor(10, 44, 100);
    s.shadow = QColor(6, 26, 60);
    s.outlineWidth = 6.5;
    s.shadowOffset = {2.5, 3.0};
    return render(s);
}

} // namespace horomine::media
