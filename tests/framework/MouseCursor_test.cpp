#include <framework/Canvas.h>
#include <framework/MouseCursor.h>
#include <framework/Window.h>

#include <gtest/gtest.h>

// The cursor a control shows lives in the toolkit only; look at it there.
#include <QApplication>
#include <QBitmap>
#include <QWidget>

using namespace fw;

namespace {

MouseCursor::Rows Rows(uint16_t first, uint16_t rest)
{
    MouseCursor::Rows r {};
    r.fill(rest);
    r[0] = first;
    return r;
}

// The one widget that has a cursor of its own, or none.
QWidget* WidgetWithCursor()
{
    QWidget* found = nullptr;
    for (QWidget* w : QApplication::allWidgets())
        if (w->testAttribute(Qt::WA_SetCursor)) {
            EXPECT_EQ(found, nullptr) << "only one control was given a cursor";
            found = w;
        }
    return found;
}

class OneCanvas : public Window {
public:
    Ref<Canvas> canvas = New<Canvas>();
    void Layout() override
    {
        Width(40);
        Height(30);
        Visible(false);
    }
    void CreateControls() override
    {
        canvas->Width(20);
        canvas->Height(10);
        AddControl("Canvas1", canvas);
    }
};

} // namespace

TEST(MouseCursor, PixelsAndHotSpot)
{
    MouseCursor c(Rows(0x8001, 0x0000), Rows(0xC003, 0x0100), 15, 3);
    EXPECT_EQ(c.Width(), 16);
    EXPECT_EQ(c.Height(), 16);
    EXPECT_EQ(c.HotSpotX(), 15);
    EXPECT_EQ(c.HotSpotY(), 3);
    EXPECT_TRUE(c.ImagePixel(0, 0)) << "the highest bit is the leftmost pixel";
    EXPECT_TRUE(c.ImagePixel(15, 0));
    EXPECT_FALSE(c.ImagePixel(1, 0));
    EXPECT_TRUE(c.MaskPixel(1, 0));
    EXPECT_TRUE(c.MaskPixel(7, 9));
    EXPECT_FALSE(c.MaskPixel(8, 9));
    EXPECT_FALSE(c.ImagePixel(16, 0)) << "nothing outside";
    EXPECT_FALSE(c.MaskPixel(-1, 0));
    EXPECT_THROW(MouseCursor(Rows(0, 0), Rows(0, 0), 16, 0), OutOfBoundsException);
    EXPECT_THROW(MouseCursor(Rows(0, 0), Rows(0, 0), 0, -1), OutOfBoundsException);
}

TEST(MouseCursor, AControlShowsItsCursorAndNilRestoresTheDefault)
{
    auto window = New<OneCanvas>();
    window->Constructor();
    Ref<Canvas> canvas = window->canvas;
    EXPECT_FALSE(canvas->MouseCursor());
    EXPECT_EQ(WidgetWithCursor(), nullptr);

    // Black top row, white everywhere else in the mask, transparent beyond.
    auto cursor = New<MouseCursor>(Rows(0xFFFF, 0x0000), Rows(0xFFFF, 0xFF00), 7, 5);
    canvas->MouseCursor(cursor);
    EXPECT_EQ(canvas->MouseCursor(), cursor);
    QWidget* w = WidgetWithCursor();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->size(), QSize(20, 10)) << "on the control, not its window";
    QCursor shown = w->cursor();
    EXPECT_EQ(shown.shape(), Qt::BitmapCursor);
    EXPECT_EQ(shown.hotSpot(), QPoint(7, 5));
    // A set bit is the bitmap's colour 1, black.
    QImage image = shown.bitmap().toImage();
    QImage mask = shown.mask().toImage();
    ASSERT_EQ(image.size(), QSize(16, 16));
    auto set = [](const QImage& img, int x, int y) { return img.pixel(x, y) == qRgb(0, 0, 0); };
    EXPECT_TRUE(set(image, 3, 0));
    EXPECT_FALSE(set(image, 3, 1));
    EXPECT_TRUE(set(mask, 3, 1));
    EXPECT_FALSE(set(mask, 12, 1));

    canvas->MouseCursor(nullptr);
    EXPECT_FALSE(canvas->MouseCursor());
    EXPECT_EQ(WidgetWithCursor(), nullptr);
    window->Close();
}
