#include "common/TestSupport.h"

#include <framework/Graphics.h>
#include <framework/Picture.h>

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

using namespace fw;
using test::CountColor;
using test::PixelAt;

namespace {
const char* kBoundsMessage = "Width/Height needs to be in the range 1-32767";

void ExpectRefused(int32_t w, int32_t h)
{
    try {
        Picture p(w, h, 32);
        ADD_FAILURE() << w << " x " << h << " was accepted";
    } catch (const OutOfBoundsException& e) {
        EXPECT_EQ(e.Message, kBoundsMessage);
    }
}
} // namespace

TEST(Picture, SizeBoundsAndTheirMessage)
{
    ExpectRefused(0, 10);
    ExpectRefused(10, 0);
    ExpectRefused(-1, 10);
    ExpectRefused(32768, 1);
    ExpectRefused(1, 32767); // a height of 32767 is refused,
    // a width of 32767 is not
    EXPECT_NO_THROW(Picture(32767, 1, 1));
    EXPECT_NO_THROW(Picture(1, 32766, 1));
}

TEST(Picture, DepthIsKeptAndAnyOtherGives32)
{
    for (int32_t d : { 1, 8, 16, 24 })
        EXPECT_EQ(Picture(4, 4, d).Depth(), d);
    for (int32_t d : { 32, 0, 2, 4, 15, 64, -1 })
        EXPECT_EQ(Picture(4, 4, d).Depth(), 32);
}

TEST(Picture, NewPictureIsWhiteAndKeepsOneGraphics)
{
    auto p = New<Picture>(5, 3, 32);
    EXPECT_EQ(p->Width(), 5);
    EXPECT_EQ(p->Height(), 3);
    EXPECT_EQ(CountColor(p, 0xFFFFFF, 0, 0, 5, 3), 15);
    EXPECT_EQ(p->Graphics(), p->Graphics());
    EXPECT_EQ(p->Graphics()->ForeColor(), RGB(0, 0, 0)) << "black at first";
}

TEST(Graphics, FillRectAndLinesArePixelExactWithTheOldRenderer)
{
    auto p = New<Picture>(20, 20, 32);
    auto g = p->Graphics();
    g->UseOldRenderer(true);
    g->ForeColor(RGB(255, 0, 0));
    g->FillRect(2, 3, 4, 5);
    EXPECT_EQ(CountColor(p, 0xFF0000, 0, 0, 20, 20), 20);
    EXPECT_EQ(PixelAt(p, 2, 3), 0xFF0000u);
    EXPECT_EQ(PixelAt(p, 5, 7), 0xFF0000u);
    EXPECT_EQ(PixelAt(p, 6, 7), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(p, 5, 8), 0xFFFFFFu);

    g->ForeColor(RGB(51, 153, 51));
    g->DrawLine(10, 0, 10, 9);
    EXPECT_EQ(CountColor(p, 0x339933, 10, 0, 1, 10), 10);
    EXPECT_EQ(CountColor(p, 0x339933, 0, 0, 20, 20), 10) << "one pixel wide, nothing blended";
    g->DrawLine(0, 19, 19, 0);
    EXPECT_EQ(PixelAt(p, 0, 19), 0x339933u);
    EXPECT_EQ(PixelAt(p, 19, 0), 0x339933u);
}

TEST(Graphics, DrawPictureAtNaturalSizeAndStretched)
{
    auto src = New<Picture>(2, 2, 32);
    auto sg = src->Graphics();
    sg->ForeColor(RGB(0, 0, 255));
    sg->FillRect(0, 0, 1, 1);
    sg->ForeColor(RGB(0, 255, 0));
    sg->FillRect(1, 1, 1, 1);

    auto dst = New<Picture>(10, 10, 32);
    auto g = dst->Graphics();
    g->UseOldRenderer(true);
    g->DrawPicture(src, 3, 4);
    EXPECT_EQ(PixelAt(dst, 3, 4), 0x0000FFu);
    EXPECT_EQ(PixelAt(dst, 4, 5), 0x00FF00u);
    EXPECT_EQ(PixelAt(dst, 5, 6), 0xFFFFFFu);

    // The source's 2 x 2 stretched over 8 x 8: each source pixel covers 4 x 4.
    auto big = New<Picture>(8, 8, 32);
    big->Graphics()->UseOldRenderer(true);
    big->Graphics()->DrawPicture(src, 0, 0, 8, 8, 0, 0, 2, 2);
    EXPECT_EQ(CountColor(big, 0x0000FF, 0, 0, 4, 4), 16);
    EXPECT_EQ(CountColor(big, 0x00FF00, 4, 4, 4, 4), 16);
    // A source cell: the lower right pixel only.
    auto cell = New<Picture>(4, 4, 32);
    cell->Graphics()->DrawPicture(src, 0, 0, 4, 4, 1, 1, 1, 1);
    EXPECT_EQ(CountColor(cell, 0x00FF00, 0, 0, 4, 4), 16);
}

TEST(Graphics, NilPictureDrawsNothing)
{
    auto dst = New<Picture>(4, 4, 32);
    EXPECT_NO_THROW(dst->Graphics()->DrawPicture(nullptr, 0, 0));
    EXPECT_NO_THROW(dst->Graphics()->DrawPicture(nullptr, 0, 0, 4, 4, 0, 0, 4, 4));
    EXPECT_EQ(CountColor(dst, 0xFFFFFF, 0, 0, 4, 4), 16);
}

TEST(Graphics, TransparentOneDropsPureWhiteOnly)
{
    auto marker = New<Picture>(3, 1, 32);
    marker->Graphics()->ForeColor(RGB(200, 0, 0));
    marker->Graphics()->FillRect(0, 0, 1, 1);
    marker->Graphics()->ForeColor(RGB(254, 255, 255));
    marker->Graphics()->FillRect(1, 0, 1, 1); // nearly white stays

    auto dst = New<Picture>(3, 1, 32);
    dst->Graphics()->ForeColor(RGB(0, 0, 0));
    dst->Graphics()->FillRect(0, 0, 3, 1);
    dst->Graphics()->DrawPicture(marker, 0, 0);
    EXPECT_EQ(PixelAt(dst, 2, 0), 0xFFFFFFu) << "mode 0 draws white";

    marker->Transparent(1);
    EXPECT_EQ(marker->Transparent(), 1);
    dst->Graphics()->FillRect(0, 0, 3, 1);
    dst->Graphics()->DrawPicture(marker, 0, 0);
    EXPECT_EQ(PixelAt(dst, 0, 0), 0xC80000u);
    EXPECT_EQ(PixelAt(dst, 1, 0), 0xFEFFFFu);
    EXPECT_EQ(PixelAt(dst, 2, 0), 0x000000u) << "pure white let the ground through";

    // Drawing into a transparent picture afterwards is seen at its next use.
    marker->Graphics()->ForeColor(RGB(0, 0, 255));
    marker->Graphics()->FillRect(2, 0, 1, 1);
    dst->Graphics()->DrawPicture(marker, 0, 0);
    EXPECT_EQ(PixelAt(dst, 2, 0), 0x0000FFu);
}

TEST(Graphics, TextHasItsBaselineAtYAndAWidth)
{
    auto p = New<Picture>(120, 30, 32);
    auto g = p->Graphics();
    double w = g->StringWidth("誤差＝0");
    EXPECT_GT(w, 20.0);
    EXPECT_LT(w, 120.0);
    EXPECT_GT(g->StringWidth("誤差＝10"), w);
    EXPECT_EQ(g->StringWidth(""), 0.0);

    g->DrawString("ほろみねはどこだ？", 5, 14);
    // Ink above the baseline, none well below it.
    EXPECT_LT(CountColor(p, 0xFFFFFF, 0, 2, 120, 12), 120 * 12);
    EXPECT_EQ(CountColor(p, 0xFFFFFF, 0, 18, 120, 12), 120 * 12);
}

// Texts are laid out once and kept: drawn again, measured first, or laid
// out otherwise by the toolkit (a line separator), they must come out as
// the toolkit draws and measures them, and follow a change of font.
TEST(Graphics, TextIsDrawnAndMeasuredAsTheToolkitDoes)
{
    for (bool old : { true, false })
        for (const char* text : { "誤差＝5", "ほろみね 123", "a\u2028b" }) {
            auto p = New<Picture>(160, 40, 32);
            auto g = p->Graphics();
            g->UseOldRenderer(old);
            QFont f;
            f.setPixelSize(12);
            f.setStyleStrategy(old ? QFont::NoAntialias : QFont::PreferDefault);
            EXPECT_EQ(g->StringWidth(text), QFontMetricsF(f).horizontalAdvance(QString::fromUtf8(text)));
            QImage expected(160, 40, QImage::Format_RGB32);
            expected.fill(Qt::white);
            QPainter q(&expected);
            q.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, !old);
            q.setFont(f);
            for (QPointF at : { QPointF(5, 14), QPointF(40.5, 33.25) }) {
                g->DrawString(text, at.x(), at.y());
                q.drawText(at, QString::fromUtf8(text));
            }
            q.end();
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 160; ++x)
                    ASSERT_EQ(PixelAt(p, x, y), expected.pixel(x, y) & 0xFFFFFFu) << text << " at " << x << ", " << y;
            const double w = g->StringWidth(text);
            g->TextSize(24);
            EXPECT_GT(g->StringWidth(text), w * 1.5) << text;
        }
}

TEST(Graphics, OtherDepthsCanBeDrawnInto)
{
    for (int32_t d : { 1, 8, 16, 24 }) {
        auto p = New<Picture>(4, 4, d);
        p->Graphics()->FillRect(0, 0, 2, 2); // black
        EXPECT_EQ(PixelAt(p, 0, 0), 0x000000u) << "depth " << d;
        EXPECT_EQ(PixelAt(p, 3, 3), 0xFFFFFFu) << "depth " << d;
    }
}
