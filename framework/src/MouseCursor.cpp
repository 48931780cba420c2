#include <framework/MouseCursor.h>

#include "MouseCursorImpl.h"

#include <QBitmap>

namespace fw {

namespace {
bool Bit(const MouseCursor::Rows& rows, int32_t x, int32_t y)
{
    if (x < 0 || y < 0 || x >= MouseCursor::kSize || y >= MouseCursor::kSize)
        return false;
    return (rows[static_cast<size_t>(y)] >> (MouseCursor::kSize - 1 - x)) & 1u;
}

QBitmap ToBitmap(const MouseCursor::Rows& rows)
{
    // Rows are stored as numbers; the toolkit wants them as bytes, most
    // significant bit first.
    uchar bytes[MouseCursor::kSize * 2];
    for (size_t i = 0; i < rows.size(); ++i) {
        bytes[2 * i] = static_cast<uchar>(rows[i] >> 8);
        bytes[2 * i + 1] = static_cast<uchar>(rows[i] & 0xFF);
    }
    return QBitmap::fromData(QSize(MouseCursor::kSize, MouseCursor::kSize), bytes, QImage::Format_Mono);
}
} // namespace

MouseCursor::MouseCursor(const Rows& image, const Rows& mask, int32_t hotSpotX, int32_t hotSpotY)
    : image_(image)
    , mask_(mask)
    , hotX_(hotSpotX)
    , hotY_(hotSpotY)
{
    if (hotX_ < 0 || hotY_ < 0 || hotX_ >= kSize || hotY_ >= kSize)
        throw OutOfBoundsException("The hot spot must lie in the cursor");
}

MouseCursor::~MouseCursor() = default;

const ClassRecord& MouseCursor::Record()
{
    static const ClassRecord record { "MouseCursor", &Object::Record(), {}, {}, {} };
    return record;
}

const ClassRecord& MouseCursor::ClassInfo() const { return Record(); }

bool MouseCursor::ImagePixel(int32_t x, int32_t y) const { return Bit(image_, x, y); }
bool MouseCursor::MaskPixel(int32_t x, int32_t y) const { return Bit(mask_, x, y); }

const MouseCursor::Shown& MouseCursor::Toolkit() const
{
    // Same convention as the toolkit's bitmap cursors: bitmap 1 with mask 1
    // is black, 0 with 1 white, 0 with 0 transparent; 1 with 0 is the
    // window system's to draw, transparent under X11.
    if (!shown_)
        shown_ = std::make_unique<Shown>(Shown { QCursor(ToBitmap(image_), ToBitmap(mask_), hotX_, hotY_) });
    return *shown_;
}

} // namespace fw
