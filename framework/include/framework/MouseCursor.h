#pragma once

#include <framework/Object.h>

#include <array>
#include <cstdint>
#include <memory>

namespace fw {

// A 16 x 16 one-bit mouse cursor: an image, a mask and a hot spot. Where the
// mask is set the pixel is black (image set) or white (image clear); where
// it is clear the pixel is transparent. (An image pixel set where the mask
// is clear is left to the window system; under X11 it is transparent too.)
class MouseCursor : public Object {
public:
    static constexpr int32_t kSize = 16;
    // One 16-bit row per line, leftmost pixel in the highest bit.
    using Rows = std::array<uint16_t, kSize>;

    // The hot spot must lie in the cursor: 0 <= x, y < 16.
    MouseCursor(const Rows& image, const Rows& mask, int32_t hotSpotX, int32_t hotSpotY);
    ~MouseCursor() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    int32_t Width() const { return kSize; }
    int32_t Height() const { return kSize; }
    // The pixel of the cursor that points, from its top left corner.
    int32_t HotSpotX() const { return hotX_; }
    int32_t HotSpotY() const { return hotY_; }
    bool ImagePixel(int32_t x, int32_t y) const;
    bool MaskPixel(int32_t x, int32_t y) const;

    // The toolkit's cursor, made once on first use: the rows never change.
    struct Shown;
    const Shown& Toolkit() const;

private:
    Rows image_;
    Rows mask_;
    int32_t hotX_;
    int32_t hotY_;
    mutable std::unique_ptr<Shown> shown_;
};

} // namespace fw
