#pragma once

#include <QColor>
#include <QImage>
#include <QString>

namespace horomine::media {

// A 3 x 5 pixel font for labels too small for any outline font.
class PixelFont {
public:
    static constexpr int kGlyphWidth = 3;
    static constexpr int kGlyphHeight = 5;
    static constexpr int kSpacing = 1;

    static int textWidth(const QString& text);
    // Draws `text` with its top-left at (x, y); unknown characters are gaps.
    static void draw(QImage& image, int x, int y, const QString& text, const QColor& colour);
};

} // namespace horomine::media
