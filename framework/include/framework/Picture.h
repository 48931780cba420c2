#pragma once

#include <framework/Object.h>

#include <cstdint>
#include <memory>

namespace fw {

class Graphics;

// An image in memory of depth 1, 8, 16, 24 or 32 bits, with a Graphics to
// draw into it. A new picture is white.
class Picture : public Object {
public:
    // Raises OutOfBoundsException unless 1 <= width <= 32767 and
    // 1 <= height < 32767.
    Picture(int32_t width, int32_t height, int32_t depth);
    ~Picture() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    int32_t Width() const;
    int32_t Height() const;
    int32_t Depth() const;

    // The same drawing context on every call.
    Ref<fw::Graphics> Graphics();

    // Mode 1 draws the picture's pure white pixels as transparent; 0 draws
    // every pixel.
    int32_t Transparent() const;
    void Transparent(int32_t mode);

    struct Impl;
    explicit Picture(std::unique_ptr<Impl> impl);
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
    Ref<fw::Graphics> graphics_;
};

} // namespace fw
