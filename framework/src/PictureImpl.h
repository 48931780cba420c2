#pragma once

#include <framework/Picture.h>

#include <QImage>

#include <cstdint>
#include <memory>

namespace fw {

// The pixels of a picture, shared with the picture's Graphics so that a
// Graphics kept beyond its picture still draws somewhere valid.
struct Surface {
    QImage image;
    uint64_t generation = 0; // bumped by every drawing operation
};

struct Picture::Impl {
    std::shared_ptr<Surface> surface;
    int32_t depth = 32;
    int32_t transparent = 0;

    // What drawing the picture puts on the target: the pixels, or with
    // Transparent 1 a copy whose pure white pixels have no alpha.
    const QImage& Drawable() const;

private:
    mutable QImage masked_;
    mutable uint64_t maskedGeneration_ = UINT64_MAX;
};

// A picture made from an image read elsewhere (files, resources).
Ref<Picture> MakePicture(QImage image);

} // namespace fw
