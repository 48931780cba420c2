#pragma once

#include <framework/Picture.h>

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <memory>

namespace fw {

// The pixels of a picture, shared with the picture's Graphics so that a
// Graphics kept beyond its picture still draws somewhere valid.
//
// Opening a painter costs about as much as a small drawing, so the painter
// of one drawing operation stays open for the next; whoever reads the
// pixels takes them through Pixels(), which ends it first.
struct Surface {
    QImage image;
    uint64_t generation = 0; // bumped by every drawing operation
    uint64_t painterRuns = 0; // bumped by every painter opened
    std::unique_ptr<QPainter> painter; // after image: ended before it goes

    QPainter& Painter()
    {
        if (!painter) {
            painter = std::make_unique<QPainter>(&image);
            ++painterRuns;
        }
        return *painter;
    }
    const QImage& Pixels()
    {
        painter.reset();
        return image;
    }
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
